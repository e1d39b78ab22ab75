#include "EngineProgram.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "settings/SettingsFile.h"

namespace tavrel::engine {
namespace {

using settings::Store;

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
