#include "MoveGen.h"

#include "MoveGenDetail.h"

namespace tavrel {
namespace {

bool FirstOnRayIs(const Board& b, Square king, int dr, int dc, int16_t a, int16_t q) {
    for (int row = king.row + dr, col = king.col + dc; row >= 1 && row <= 8 && col >= 1 && col <= 8;
         row += dr, col += dc) {
        const int16_t code = b(row, col);
        if (code != 0) return code == a || code == q;
    }
    return false;
}

bool KingAttacked(const Board& b, int side, Square king) {
    const int enemy = -side;
    const int kr = king.row, kc = king.col;
    const int16_t pawn = static_cast<int16_t>(Piece::Pawn * enemy);
    // Enemy pawns attack from the squares in front of the king, as seen from the king's side.
    if (b(kr - side, kc - 1) == pawn || b(kr - side, kc + 1) == pawn) return true;

    const auto rook = static_cast<int16_t>(Piece::Rook * enemy);
    const auto bishop = static_cast<int16_t>(Piece::Bishop * enemy);
    const auto queen = static_cast<int16_t>(Piece::Queen * enemy);
    if (FirstOnRayIs(b, king, 1, 0, rook, queen) || FirstOnRayIs(b, king, -1, 0, rook, queen) ||
        FirstOnRayIs(b, king, 0, 1, rook, queen) || FirstOnRayIs(b, king, 0, -1, rook, queen)) {
        return true;
    }
    if (FirstOnRayIs(b, king, 1, 1, bishop, queen) || FirstOnRayIs(b, king, 1, -1, bishop, queen) ||
        FirstOnRayIs(b, king, -1, 1, bishop, queen) ||
        FirstOnRayIs(b, king, -1, -1, bishop, queen)) {
        return true;
    }
    static constexpr int kKnight[8][2] = {{-1, -2}, {-1, 2}, {-2, -1}, {-2, 1},
                                          {1, -2},  {1, 2},  {2, -1},  {2, 1}};
    const auto knight = static_cast<int16_t>(Piece::Knight * enemy);
    for (const auto& d : kKnight) {
        if (b(kr + d[0], kc + d[1]) == knight) return true;
    }
    const auto enemyKing = static_cast<int16_t>(Piece::King * enemy);
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            if ((dr || dc) && b(kr + dr, kc + dc) == enemyKing) return true;
        }
    }
    return false;
}

}  // namespace

bool KingSafeAfter(Position& pos, int side, Square from, Square to) {
    Board& b = pos.GameBoard;
    // A king the position lacks (a broken set-up) cannot be attacked; probes stay in the array.
    Square king = pos.KingState[side].square;
    if (from == to) return !KingAttacked(b, side, king);
    const int16_t moved = b[from];
    const int16_t captured = b[to];
    b[to] = moved;
    b[from] = 0;
    if (moved == Piece::King * side) king = to;
    const bool safe = !KingAttacked(b, side, king);
    b[from] = moved;
    b[to] = captured;
    return safe;
}

namespace detail {

bool CandidateIsLegal(Position& pos, int side, Square from, Square to, CandidateKind kind) {
    switch (kind) {
        case CandidateKind::Plain:
            // A king is never taken. Legal play cannot reach such a position, but a half-move
            // that matched nothing lets the other side move twice, and taking the king then
            // would leave a board without one for the rest of the game.
            if (pos.GameBoard[to] == -side * Piece::King) return false;
            return KingSafeAfter(pos, side, from, to);
        case CandidateKind::Castle: {
            // Not in check, not through check, not into check.
            const Square passed{from.row, static_cast<int16_t>(to.col == 7 ? 6 : 4)};
            return KingSafeAfter(pos, side, from, from) && KingSafeAfter(pos, side, from, passed) &&
                   KingSafeAfter(pos, side, from, to);
        }
        case CandidateKind::EnPassant: {
            // The captured pawn leaves its file too, which can open a line onto the king.
            const Square victim{from.row, to.col};
            int16_t& cell = pos.GameBoard[victim];
            const int16_t saved = cell;
            cell = 0;
            const bool safe = KingSafeAfter(pos, side, from, to);
            cell = saved;
            return safe;
        }
    }
    return false;
}

}  // namespace detail

void GenerateLegalMoves(Position& pos, int side, Move opponentLast, MoveList& out) {
    out.Clear();
    const PieceList& list = pos.PieceListOf(side);
    for (int slot = 1; slot <= 16; ++slot) {
        const Square from = list[static_cast<std::size_t>(slot)];
        if (from.row <= 0) continue;  // captured
        const int code = pos.GameBoard[from] * side;
        if (code < 1 || code > 6) continue;
        detail::VisitPieceCandidates(pos, side, from, opponentLast,
                                     [&](Square to, detail::CandidateKind kind) {
                                         if (detail::CandidateIsLegal(pos, side, from, to, kind)) {
                                             out.Push({from, to});
                                         }
                                         return false;
                                     });
    }
}

Move OpponentLastMove(const GameState& state, int side) {
    // Before the game's first half-move the FEN's en passant square speaks for the move before.
    const bool first = state.MoveNumber == 1 && (side == White || state.BlackStarts());
    if (first) return state.SetUp ? state.SetUp->opponentLast : Move{};
    return side == Black ? state.Moves.ResolvedSquares(White, state.MoveNumber)
                         : state.Moves.ResolvedSquares(Black, state.MoveNumber - 1);
}

void GenerateLegalMoves(GameState& state, int side) {
    GenerateLegalMoves(state, side, OpponentLastMove(state, side), state.LegalMoves);
}

bool IsPromotionMove(const Position& pos, Move move) {
    const int16_t code = pos.GameBoard[move.from];
    return (code == Piece::Pawn && move.to.row == 1) || (code == -Piece::Pawn && move.to.row == 8);
}

}  // namespace tavrel
