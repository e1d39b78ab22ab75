#include "EngineProgram.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tavrel::engine {
namespace {

// An INI file in the user's configuration folder, the same on every platform, and one that tests
// can move with QSettings::setPath.
QSettings Store() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "Tavrel", "Tavrel"); }

const char* kKey = "engine/program";

}  // namespace

QString EngineProgram(const QStringList& folders) {
    const QString chosen = Store().value(kKey).toString();
    if (!chosen.isEmpty() && QFileInfo(chosen).isExecutable()) return chosen;
    if (!folders.isEmpty()) return QStandardPaths::findExecutable("stockfish", folders);
    QString found = QStandardPaths::findExecutable("stockfish");
    if (found.isEmpty()) found = QStandardPaths::findExecutable("stockfish", {"/usr/games"});
    return found;
}

void RememberEngineProgram(const QString& program) { Store().setValue(kKey, program); }

}  // namespace tavrel::engine
