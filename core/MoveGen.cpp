#include "MoveGen.h"

#include "MoveGenDetail.h"

#include <algorithm>

namespace tavrel {
namespace {

// The eight directions of queen moves, as (row step, column step).
constexpr int kDirections[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// Squares from (row, col) to the board's edge in each direction, for rows and columns 0..9, so
// that a ray is walked by offsets alone. A square off the board (a king a broken set-up lacks)
// gives as many steps as testing both coordinates at each step would.
struct EdgeSteps {
    unsigned char steps[10][10][8]{};
    constexpr EdgeSteps() {
        const auto room = [](int x, int d) { return d > 0 ? 8 - x : d < 0 ? x - 1 : (x >= 1 && x <= 8 ? 8 : 0); };
        for (int row = 0; row < 10; ++row) {
            for (int col = 0; col < 10; ++col) {
                for (int d = 0; d < 8; ++d) {
                    const int n = std::min(room(row, kDirections[d][0]), room(col, kDirections[d][1]));
                    steps[row][col][d] = static_cast<unsigned char>(n > 0 ? n : 0);
                }
            }
        }
    }
};
constexpr EdgeSteps kEdgeSteps{};

// The first piece from the king in direction d is `a` or `q`.
template <int D>
bool FirstOnRayIs(const int16_t* king, const unsigned char* steps, int16_t a, int16_t q) {
    constexpr int offset = kDirections[D][0] * Board::kStride + kDirections[D][1];
    const int16_t* p = king;
    for (int n = steps[D]; n > 0; --n) {
        p += offset;
        if (*p != 0) return *p == a || *p == q;
    }
    return false;
}

bool KingAttacked(const Board& b, int side, Square king) {
    const int enemy = -side;
    const int kr = king.row, kc = king.col;
    constexpr int S = Board::kStride;
    const int16_t* k = b.Cells() + Board::Index(kr, kc);
    const auto pawn = static_cast<int16_t>(Piece::Pawn * enemy);
    // Enemy pawns attack from the squares in front of the king, as seen from the king's side.
    if (k[-side * S - 1] == pawn || k[-side * S + 1] == pawn) return true;
    const auto knight = static_cast<int16_t>(Piece::Knight * enemy);
    for (const int d : {-S - 2, -S + 2, -2 * S - 1, -2 * S + 1, S - 2, S + 2, 2 * S - 1, 2 * S + 1}) {
        if (k[d] == knight) return true;
    }
    const auto enemyKing = static_cast<int16_t>(Piece::King * enemy);
    for (const int d : {-S - 1, -S, -S + 1, -1, 1, S - 1, S, S + 1}) {
        if (k[d] == enemyKing) return true;
    }
    // A king off the board's rows and columns 0..9 is not a square any code makes.
    if (kr < 0 || kr > 9 || kc < 0 || kc > 9) return false;
    const unsigned char* steps = kEdgeSteps.steps[kr][kc];
    const auto rook = static_cast<int16_t>(Piece::Rook * enemy);
    const auto bishop = static_cast<int16_t>(Piece::Bishop * enemy);
    const auto queen = static_cast<int16_t>(Piece::Queen * enemy);
    return FirstOnRayIs<0>(k, steps, rook, queen) || FirstOnRayIs<1>(k, steps, rook, queen) ||
           FirstOnRayIs<2>(k, steps, rook, queen) || FirstOnRayIs<3>(k, steps, rook, queen) ||
           FirstOnRayIs<4>(k, steps, bishop, queen) || FirstOnRayIs<5>(k, steps, bishop, queen) ||
           FirstOnRayIs<6>(k, steps, bishop, queen) || FirstOnRayIs<7>(k, steps, bishop, queen);
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
