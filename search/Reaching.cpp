#include "Reaching.h"

#include <algorithm>

#include "core/PositionKey.h"

namespace tavrel::search {

int PieceCount(const Board& b) {
    int count = 0;
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) count += b(row, col) != 0;
    }
    return count;
}

bool HasHomePawns(const Board& b, std::uint64_t mask) {
    for (int i = 0; i < 64; ++i) {
        if (!(mask >> i & 1)) continue;
        const Square s = SquareAt(i);
        if (b[s] != (s.row == 7 ? Piece::Pawn : -Piece::Pawn)) return false;
    }
    return true;
}

void CountMen(const Board& b, std::array<int, 2>& men, std::array<std::array<int, 8>, 2>& pawnsBehind) {
    men = {};
    pawnsBehind = {};
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const int16_t piece = b(row, col);
            if (piece == 0) continue;
            const int side = piece > 0 ? 0 : 1;
            ++men[static_cast<std::size_t>(side)];
            if (piece != Piece::Pawn && piece != -Piece::Pawn) continue;
            // Row 1 is Black's first rank, row 8 White's.
            const int rank = side == 0 ? 8 - row : row - 1;
            for (int k = rank; k < 8; ++k) ++pawnsBehind[static_cast<std::size_t>(side)][static_cast<std::size_t>(k)];
        }
    }
}

bool HasMenFor(const Target& t, const Board& b) {
    std::array<int, 2> men;
    std::array<std::array<int, 8>, 2> pawnsBehind;
    CountMen(b, men, pawnsBehind);
    for (std::size_t side = 0; side < 2; ++side) {
        if (men[side] < t.men[side]) return false;
        for (std::size_t k = 0; k < 8; ++k) {
            if (pawnsBehind[side][k] < t.pawnsBehind[side][k]) return false;
        }
    }
    return true;
}

int PliesNeeded(const Target& t, const Position& pos, int side) {
    int moves[2] = {0, 0};  // White's, Black's
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const int16_t man = t.position.GameBoard(row, col);
            if (man != 0 && pos.GameBoard(row, col) != man) ++moves[man > 0 ? 0 : 1];
        }
    }
    // Castling is the one move that fills two of those squares: where the target has the king and
    // rook castled and the game may still castle that way, it saves its side a move.
    const int rights = CastlingRights(pos);
    const auto castles = [&](int right, int16_t side, int kingCol, int rookCol) {
        const int row = side == White ? 8 : 1;
        const auto needed = [&](int col, int16_t man) {
            return t.position.GameBoard(row, col) == man && pos.GameBoard(row, col) != man;
        };
        return (rights & right) != 0 && needed(kingCol, static_cast<int16_t>(side * Piece::King)) &&
               needed(rookCol, static_cast<int16_t>(side * Piece::Rook));
    };
    if (castles(1, White, 7, 6) || castles(2, White, 3, 4)) --moves[0];
    if (castles(4, Black, 7, 6) || castles(8, Black, 3, 4)) --moves[1];
    // With White to move, n White moves take 2n - 1 half-moves and n Black moves 2n.
    const auto plies = [side](int n, int mover) { return n == 0 ? 0 : 2 * n - (side == mover ? 1 : 0); };
    int needed = std::max(plies(moves[0], White), plies(moves[1], Black));
    // The sides take turns, so the count's parity is that of a change of the side to move.
    if ((needed % 2 == 1) != (side != t.side)) ++needed;
    return needed;
}

bool StandsOn(const Target& t, const Position& pos, int pieces, int side, Move opponentLast) {
    if (pieces != t.pieces || side != t.side || !(pos.GameBoard == t.position.GameBoard) ||
        CastlingRights(pos) != t.castling) {
        return false;
    }
    if (opponentLast.IsNone()) return t.enPassant == Square{};
    Position tried = pos;  // the test plays the capture and takes it back
    return EnPassantTarget(tried, side, opponentLast) == t.enPassant;
}

void CountGame(SearchResult& out, const Target& t, std::int64_t game, int ply, const MoveCode* next,
               const GameFacts& facts, bool wantReach) {
    Tally one;
    one.games = 1;
    one.white = facts.outcome == Outcome::WhiteWins;
    one.draws = facts.outcome == Outcome::Draw;
    one.black = facts.outcome == Outcome::BlackWins;
    if (const int elo = t.side == White ? facts.whiteElo : facts.blackElo) {
        one.eloSum = elo;
        one.eloGames = 1;
    }
    one.lastYear = facts.year;
    out.total.Add(one);
    if (next) out.moves[*next].Add(one);
    if (wantReach) out.reach.push_back({game, ply});
}

}  // namespace tavrel::search
