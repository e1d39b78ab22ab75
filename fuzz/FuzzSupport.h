#pragma once
// What the fuzz targets share: the input bytes as a file the reader can open, and checks that
// stop the run (so the fuzzer keeps the input) when the program's own invariants break.

#include <string>
#include <vector>

#include "core/GameState.h"
#include "pgn/GameRecord.h"

namespace tavrel::fuzz {

// Aborts with `what` on standard error; the fuzzer then saves the input as a crash.
[[noreturn]] void Fail(const char* what);

// The bytes as a file in memory (a memfd), rewritten for every input; returns a path to open.
const std::string& AsFile(const unsigned char* data, std::size_t size);

// The read buffer for an input: tiny ones (1 to 13 bytes, picked by the first byte) split tokens
// across refills, on small inputs only, where a read per byte is cheap.
std::size_t BufferSizeFor(const unsigned char* data, std::size_t size);

// The board after any sequence of legal moves: one king each, piece lists that point only at
// their own side's pieces, nothing on the border.
void CheckPosition(const GameState& state);

// Plays every half-move of the game from its start (its FEN's position, or the initial one)
// through the matcher the window uses, checking the board after each. Then jumps to the last
// position the way the slider does, checks it arrives at the same board, and that the position's
// FEN as copied reads back as that board.
void ReplayAndCompare(GameState& state, const pgn::GameRecord& game);

}  // namespace tavrel::fuzz
