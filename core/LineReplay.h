#pragma once
// Playing a line of move texts, such as a variation, from a position the game reaches, without
// touching the game itself.

#include <string>
#include <vector>

#include "Board.h"
#include "GameState.h"

namespace tavrel {

struct LinePosition {
    Position position;
    int16_t sideToMove = White;
    Move last;        // the half-move that led here, which alone decides en passant
    int played = 0;   // how many texts were played; the ones after could not be
};

// The half-move that led to the game's position at slider value v, which decides en passant there
// (before the first one, the FEN's en passant square speaks for the move before).
Move LastMoveAt(const GameState& game, int v);

// The game's position at slider value v (-1 the first position), as a starting point.
LinePosition GamePositionAt(GameState game, int v);

// Plays `texts` in order from `start`, each matched against the legal moves; stops at the first
// that names none. A null move ("--", "Z0", "0000") passes the turn.
LinePosition PlayLine(LinePosition start, const std::vector<std::string>& texts);

// The position as a FEN record: placement, side to move, castling, en passant (after any
// double step), the half-move clock and the move number.
std::string FenText(const LinePosition& at, int halfMoveClock, int moveNumber);

// The FEN record of the game's position at slider value v, its clock counted over the game.
std::string GameFen(GameState game, int v);

}  // namespace tavrel
