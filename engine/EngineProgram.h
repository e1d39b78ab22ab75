#pragma once
// Which engine program runs: the one the user chose, remembered between runs, or else one found
// on the system.

#include <QString>

namespace tavrel::engine {

// The chosen program when it still exists; else "stockfish" on PATH or in /usr/games; else "".
QString EngineProgram();
void RememberEngineProgram(const QString& program);

}  // namespace tavrel::engine
