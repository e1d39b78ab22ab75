#pragma once
// One number for "the same position": placement, side to move, castling rights and the en
// passant square, the last only where a legal en passant capture exists (a double step that no
// pawn can take back changes nothing about what may be played next).

#include <cstdint>

#include "Board.h"

namespace tavrel {

// Bits 1, 2: White may still castle king side, queen side; 4, 8: Black the same. A right needs
// the king and that rook at home and neither of them moved.
int CastlingRights(const Position& pos);

// The square a pawn of `side` may take en passant on after the opponent's `opponentLast`, or
// (0, 0) when no such capture is legal.
Square EnPassantTarget(Position& pos, int side, Move opponentLast);

// A 64-bit key of the position (Zobrist style: one random number per piece and square, side,
// right and en passant file, XORed). Equal positions have equal keys; different ones almost
// always differ, so a caller that must be exact compares the boards as well.
std::uint64_t PositionKey(Position& pos, int side, Move opponentLast);

}  // namespace tavrel
