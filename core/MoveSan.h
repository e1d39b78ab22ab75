#pragma once
// Writing a legal move as SAN, for lists of moves the program shows itself.

#include <string>
#include <string_view>

#include "Board.h"

namespace tavrel {

// "Nbd7", "exd6", "O-O", "e8=Q+", "Qh7#": the piece letter, the origin's file or rank (or both)
// only where another piece of the kind could go there too, "x" for a capture, the promotion
// piece, and a check or mate mark. `move` must be legal for `side`.
std::string MoveSan(const Position& pos, int side, Move opponentLast, Move move, std::string_view promotionLetter);

// "e2e4", "e7e8q": the move in coordinates, as engines write it.
std::string MoveUci(Move move, std::string_view promotionLetter);

}  // namespace tavrel
