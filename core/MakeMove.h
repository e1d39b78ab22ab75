#pragma once
#include <string_view>

#include "Board.h"
#include "GameState.h"

namespace tavrel {

// Applies one half-move of `side` to the position: captures (en passant included), the castling
// rook, castling rights, the king record, promotion and the piece lists. A None move changes
// nothing.
//
// A pawn that reaches its last row always becomes a piece: the letter "Q", "R", "B" or "N" names
// it, and without one (or with any other letter) it becomes a queen, as other tools read such
// texts. A pawn is never left on its last row, where it would have no square to step to.
void ApplyMove(Position& pos, int side, Move move, std::string_view promotionLetter);

// The replay's form: the side to move, the promotion letter the matcher stored for this move
// number, and the analysis board brought in line with the game afterwards.
void MakeMove(GameState& state, Move move);

}  // namespace tavrel
