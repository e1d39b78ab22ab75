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
    Move opponentLast;       // the double step that allows en passant, or None
    int fullMoveNumber = 1;  // the number of the first move played from here
    int halfMoveClock = 0;   // half-moves since the last capture or pawn move
};

struct FenResult {
    std::optional<FenSetUp> setUp;
    std::string error;  // why the text could not be used, when setUp is empty
};

// Needs the first four fields (placement, side, castling, en passant); missing move counters
// count as "0 1". Rejects a position the generator cannot hold or that no game can reach: a
// rank that is not eight squares, not eight ranks, an unknown letter, a side without exactly
// one king or with more than 16 pieces, a pawn on its first or last rank, the side not to move
// in check. Castling rights without their king and rook at home, and an en passant square that
// no double step explains, are dropped, as other readers drop them.
FenResult ParseFen(std::string_view fen);

// True when the castling field names rooks by their files (as Chess960 positions do): standard
// castling cannot play such a position.
bool NeedsChess960Castling(std::string_view fen);

}  // namespace tavrel
