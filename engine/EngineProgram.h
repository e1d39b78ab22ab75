#pragma once
// Which engine program runs: the one the user chose, remembered between runs, or else one found
// on the system.

#include <QString>
#include <QStringList>

namespace tavrel::engine {

// The chosen program when it still exists; else "stockfish" in `folders`, by default on PATH or
// in /usr/games; else "".
QString EngineProgram(const QStringList& folders = {});
void RememberEngineProgram(const QString& program);

}  // namespace tavrel::engine
