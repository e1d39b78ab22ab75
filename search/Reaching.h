#pragma once
// What both searches share, the one over kept plies and the one over text: whether a game stands
// on the position asked about, which moves rule a game out of ever reaching it, and how a game
// that reaches it is counted.

#include <cstdint>

#include "PositionSearch.h"

namespace tavrel::search {

int PieceCount(const Board& b);
inline std::uint64_t Bit(Square s) { return std::uint64_t{1} << SquareIndex(s); }
// The position has a pawn on every square of `mask` that the target has one on (its own second rank).
bool HasHomePawns(const Board& b, std::uint64_t mask);

// The men of each side on `b` and its pawns on or behind each rank, as Target keeps them.
void CountMen(const Board& b, std::array<int, 2>& men, std::array<std::array<int, 8>, 2>& pawnsBehind);
// A game on `b` has every man and every pawn not yet past its rank that the target needs.
bool HasMenFor(const Target& t, const Board& b);

// At least how many half-moves a game on `pos`, `side` to move, must still play to stand on the
// target: each side needs a move onto every square where the target has a man of its own that
// `pos` has not (castling fills two squares at once), and the sides take turns.
int PliesNeeded(const Target& t, const Position& pos, int side);

// A game on `pos` with `pieces` men, `side` to move, after `opponentLast`, stands on the target.
bool StandsOn(const Target& t, const Position& pos, int pieces, int side, Move opponentLast);

// Whether `move`, about to be played on `board`, leaves the game unable ever to stand on the
// target: a capture leaves fewer men than it has (`pieces` counts the capture), or a pawn leaves
// or a piece enters a square where the target keeps a pawn on its second rank.
inline bool RulesOut(const Target& t, const Board& board, Move move, int& pieces) {
    const int16_t piece = board[move.from];
    if (board[move.to] != 0 || ((piece == Piece::Pawn || piece == -Piece::Pawn) && move.from.col != move.to.col)) {
        if (--pieces < t.pieces) return true;
    }
    return (t.homePawns & (Bit(move.from) | Bit(move.to))) != 0;
}

// What counts of a game that reaches the target.
struct GameFacts {
    Outcome outcome = Outcome::Unknown;
    std::uint16_t year = 0, whiteElo = 0, blackElo = 0;
};

// Counts game `game`, which first stands on the target after `ply` half-moves and then plays
// `next` (none when it ends there, or its next move cannot be played).
void CountGame(SearchResult& out, const Target& t, std::int64_t game, int ply, const MoveCode* next,
               const GameFacts& facts, bool wantReach);

}  // namespace tavrel::search
