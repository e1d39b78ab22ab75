#pragma once
// Setting a position up from FEN, in the generator's own terms: board, piece lists, king records
// with castling bits, and en passant as the opponent's double step it follows from.

#include <optional>
#include <string>
#include <string_view>

#include "Board.h"

namespace tavrel {

struct FenSetUp {
    Position position;
    int16_t side = White;
    Move opponentLast;  // the double step that allows en passant, or None
};

struct FenResult {
    std::optional<FenSetUp> setUp;
    std::string error;  // why the text could not be used, when setUp is empty
};

// Accepts the first four fields (placement, side, castling, en passant); move counters may follow
// and are ignored. Rejects what the generator cannot hold: more than 16 pieces of a side, a side
// without exactly one king, a pawn on its first or last row.
FenResult ParseFen(std::string_view fen);

}  // namespace tavrel
