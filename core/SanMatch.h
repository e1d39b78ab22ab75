#pragma once
// Turning a move text (SAN) into the squares of one legal move.

#include <string>
#include <string_view>

#include "Board.h"
#include "GameState.h"
#include "MoveList.h"

namespace tavrel {

// What a move text asks for: the piece code (already signed for the side), the target, and any
// disambiguation (0 when the text gives none).
struct SanQuery {
    int16_t wanted = 0;
    Square target;
    int16_t fromRow = 0;
    int16_t fromCol = 0;
    bool hasPromotion = false;
    std::string promotion;
};

// Reads the text from its end: suffix annotations ("!", "?") before or after one check mark,
// then a promotion ("=Q", or a bare letter after a last-row square as older files write "e8Q"),
// then the target, then the piece letter and disambiguation from the front. Letters are
// case-sensitive: "b" is a file, "B" a bishop. An "e.p." after an en passant capture is cut
// off. A text that asks for nothing possible gives a query no move fits (wanted 0 or a target
// off the board).
SanQuery ParseSan(std::string_view text, int side);

// A move in coordinates as engines and some annotators write it, the piece's letter left out:
// "g1f3", "g1-f3", "g1xd1", castling as the king's move "e1g1", a promotion with its letter in
// either case "e7e8q". The piece is the one the board holds on the first square; a text of
// another form, or a square without a piece of the side, gives a query no move fits.
SanQuery ParseCoordinates(const Board& board, std::string_view text, int side);

// The null move of annotators ("--", also "Z0" or "0000"): the side to move passes.
bool IsNullMoveText(std::string_view text);

// Whether a generated move fits the query on this board.
bool FitsQuery(const Board& board, Move move, const SanQuery& query);

// The first entry of `moves` that fits, or None.
Move FirstFit(const Board& board, const MoveList& moves, const SanQuery& query);

// The same first fit, found by walking only the pieces the query can mean in the generator's
// order and testing king safety only for moves onto the target. Far cheaper than listing every
// legal move, and by construction the same answer.
Move FirstFitTargeted(Position& pos, int side, Move opponentLast, const SanQuery& query);

// The move `text` names: its SAN reading, or where no legal move fits that, its reading as
// coordinates (a text such as "b1c3" is read as SAN first). `query` is left holding the reading
// that fits, SAN's when neither does.
Move FindTextMove(Position& pos, int side, Move opponentLast, std::string_view text, SanQuery& query);

// The replay's matcher. Matches `text` against state.LegalMoves (generated just before for the
// side to move), stores a promotion letter in the move store even when nothing fits, and on a
// match remembers the squares there. Leaves the result in state.Match (None when nothing fits).
Move MatchSanMove(GameState& state, std::string_view text);

// As MatchSanMove, without needing state.LegalMoves: generates only what the text can mean.
Move FindSanMove(GameState& state, std::string_view text);

}  // namespace tavrel
