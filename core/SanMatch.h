#pragma once
// Turning a move text (SAN) into the squares of one legal move.

#include <array>
#include <string>
#include <string_view>

#include "Board.h"
#include "GameState.h"
#include "MoveGen.h"
#include "MoveList.h"

namespace tavrel {

// A promotion piece's letter as the text writes it, "" when it names none. Held in place rather
// than in a string, as every half-move of a replay makes a query.
struct PromotionText {
    char letter = 0;
    PromotionText& operator=(char c) {
        letter = c;
        return *this;
    }
    operator std::string_view() const { return {&letter, letter ? 1u : 0u}; }
};

// What a move text asks for: the piece code (already signed for the side), the target, and any
// disambiguation (0 when the text gives none).
struct SanQuery {
    int16_t wanted = 0;
    Square target;
    int16_t fromRow = 0;
    int16_t fromCol = 0;
    bool hasPromotion = false;
    PromotionText promotion;
};

// Reads the text from its end: suffix annotations ("!", "?") before or after one check mark ("+",
// "#", or "++" as some files write a double check),
// then a promotion ("=Q", or a bare letter after a last-row square as older files write "e8Q"),
// then the target, then the piece letter and disambiguation from the front. Letters are
// case-sensitive: "b" is a file, "B" a bishop, but castling may be written "O-O", "0-0" or
// "o-o" (and long). An "e.p." after an en passant capture is cut
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

// What a move text names in a position: one legal move, or none. A text that two or more pieces
// could play (an ambiguous SAN such as "Ne7" with knights on c6 and g8, both free to go) names
// none: taking the first would play a piece the file may not mean. Such a text is a move that
// cannot be read, as one that fits nothing is; `from` says which pieces could have made it, so
// that a window or a report can name them.
struct TextMatch {
    Move move;  // the only legal move that fits; None when none or several fit
    int fits = 0;  // legal moves that fit (a piece reaches a square by one move: pieces that fit)
    std::array<Square, 16> from{};  // their squares, the first `fits`, file by file from a1

    [[nodiscard]] bool Ambiguous() const { return fits > 1; }
};

// The entry of `moves` that fits the query when exactly one does, else None.
Move OnlyFit(const Board& board, const MoveList& moves, const SanQuery& query);

// The same answer without listing every legal move: walks only the pieces the query can mean and
// tests king safety only for moves onto the target. A second fit costs only the walk of the few
// other pieces of the wanted kind that could stand on a line to the target.
// `known` is what the caller knows of the side's king standing in check (MoveGen.h).
TextMatch MatchQuery(Position& pos, int side, Move opponentLast, const SanQuery& query,
                     CheckState known = CheckState::Unknown);

// What `text` names: its SAN reading, or where no legal move fits that, its reading as
// coordinates (a text such as "b1c3" is read as SAN first). `query` is left holding the reading
// that fits, SAN's when neither does. This is the function to call to tell a move text that
// names no legal move (fits == 0) from an ambiguous one (Ambiguous()).
TextMatch MatchText(Position& pos, int side, Move opponentLast, std::string_view text, SanQuery& query,
                    CheckState known = CheckState::Unknown);

// MatchText's move alone: None when the text names no legal move or is ambiguous.
Move FindTextMove(Position& pos, int side, Move opponentLast, std::string_view text, SanQuery& query);

// The replay's matcher. Matches `text` against state.LegalMoves (generated just before for the
// side to move), stores a promotion letter in the move store even when nothing fits, and on a
// match remembers the squares there. Leaves the result in state.Match (None when nothing fits,
// or when the text is ambiguous).
Move MatchSanMove(GameState& state, std::string_view text);

// As MatchSanMove, without needing state.LegalMoves: generates only what the text can mean.
Move FindSanMove(GameState& state, std::string_view text);

}  // namespace tavrel
