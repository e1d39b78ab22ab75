#pragma once
// The names of chess openings, found by the position a game reaches rather than by its move
// order, so that a game that transposes into a named position gets that position's name.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/Board.h"

namespace tavrel::openings {

struct Opening {
    std::string_view eco;   // "C33"
    std::string_view name;  // "King's Gambit Accepted: Bishop's Gambit, Bryan Countergambit" (UTF-8)
};

// The longest named line is 36 half-moves; a game that reaches a named position by a slower
// order needs a few more. Past this many half-moves no game returns to a named position in
// practice (pawn moves and captures cannot be undone), so the walk stops there and a long game
// costs no more than a short one.
constexpr int kMaxOpeningPlies = 50;

// The name of the position (PositionKey's placement, side, castling rights and en passant
// square); none when the table does not name it.
std::optional<Opening> FindOpening(std::uint64_t positionKey);

// The name of the last named position along the game's main line, from its first position up to
// kMaxOpeningPlies half-moves or its last legal move. A game from a set-up position is named
// only where it stands on a named position; a game of another variant is not named.
std::optional<Opening> GameOpening(std::string_view gameBytes);

}  // namespace tavrel::openings
