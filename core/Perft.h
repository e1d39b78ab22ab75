#pragma once
#include <cstdint>

#include "Board.h"

namespace tavrel {

// Leaf count of the legal move tree to `depth`, a promotion counting once per piece it can
// become. The standard check of a move generator against published counts.
std::uint64_t Perft(const Position& pos, int side, Move opponentLast, int depth);

}  // namespace tavrel
