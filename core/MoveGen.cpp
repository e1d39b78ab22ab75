#include "MoveGen.h"

#include "MoveGenDetail.h"

#include <algorithm>

namespace tavrel {
namespace {

using detail::kDirections;
using detail::kEdgeSteps;

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

// A slider of `attacker` that moves along direction d: rooks on ranks and files (0..3),
// bishops on diagonals (4..7), queens on both.
bool SlidesAlong(int16_t code, int attacker, int d) {
    return code == Piece::Queen * attacker || code == (d >= 4 ? Piece::Bishop : Piece::Rook) * attacker;
}

// A slider of `attacker` sees `king` along the line through `s`.
bool SliderSeesThrough(const Board& b, Square king, Square s, int attacker) {
    const int d = detail::DirectionTowards(king, s);
    if (d < 0) return false;
    const int16_t* hit = detail::FirstPieceOnRay(b, king, d);
    return hit && SlidesAlong(*hit, attacker, d);
}

// For a side not in check, a move of a piece other than the king can only uncover its king, along
// the line through the square it leaves; the piece stops the line again if it lands on it.
bool UncoversKing(const Board& b, int side, Square king, Square from, Square to) {
    const int d = detail::DirectionTowards(king, from);
    if (d < 0) return false;
    const int offset = kDirections[d][0] * Board::kStride + kDirections[d][1];
    const int16_t* p = b.Cells() + Board::Index(king.row, king.col);
    const int16_t* left = b.Cells() + Board::Index(from.row, from.col);
    const int16_t* landed = b.Cells() + Board::Index(to.row, to.col);
    for (int n = kEdgeSteps.steps[king.row][king.col][d]; n > 0; --n) {
        p += offset;
        if (p == landed) return false;
        if (*p != 0 && p != left) return SlidesAlong(*p, -side, d);
    }
    return false;
}

}  // namespace

CheckState CheckAfter(const Position& pos, int mover, Move move) {
    const Square king = pos.KingState[-mover].square;
    if (!king.onBoard() || move.IsNone()) return CheckState::Unknown;
    const Board& b = pos.GameBoard;
    const Square from = move.from, to = move.to;
    // The pieces that attack only nearby squares: the moved piece itself.
    const int rows = king.row - to.row, cols = king.col - to.col;
    const int kind = b[to] * mover;
    const bool near = (kind == Piece::Pawn && rows == -mover && (cols == 1 || cols == -1)) ||
                      (kind == Piece::Knight && rows * rows + cols * cols == 5) ||
                      (kind == Piece::King && rows >= -1 && rows <= 1 && cols >= -1 && cols <= 1);
    bool seen = near || SliderSeesThrough(b, king, to, mover) || SliderSeesThrough(b, king, from, mover);
    if (!seen && kind == Piece::King && (to.col - from.col == 2 || from.col - to.col == 2)) {
        // Castling: the rook left its corner and stands beside the king.
        const int16_t row = from.row;
        seen = SliderSeesThrough(b, king, {row, static_cast<int16_t>(to.col == 7 ? 6 : 4)}, mover) ||
               SliderSeesThrough(b, king, {row, static_cast<int16_t>(to.col == 7 ? 8 : 1)}, mover);
    }
    if (!seen && kind == Piece::Pawn && from.col != to.col) {
        // En passant empties the square beside the capturing pawn's start (for any other capture
        // that square's line is looked at to no harm).
        seen = SliderSeesThrough(b, king, {from.row, to.col}, mover);
    }
    return seen ? CheckState::InCheck : CheckState::Clear;
}

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

bool CandidateIsLegal(Position& pos, int side, Square from, Square to, CandidateKind kind, CheckState known) {
    switch (kind) {
        case CandidateKind::Plain: {
            // A king is never taken. Legal play cannot reach such a position, but a half-move
            // that matched nothing lets the other side move twice, and taking the king then
            // would leave a board without one for the rest of the game.
            if (pos.GameBoard[to] == -side * Piece::King) return false;
            const Square king = pos.KingState[side].square;
            if (known == CheckState::Clear && pos.GameBoard[from] != Piece::King * side && king.onBoard()) {
                return !UncoversKing(pos.GameBoard, side, king, from, to);
            }
            return KingSafeAfter(pos, side, from, to);
        }
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
    // One test of the king where it stands spares most candidates the full one.
    const Square king = pos.KingState[side].square;
    const CheckState known = !king.onBoard()                        ? CheckState::Unknown
                             : KingSafeAfter(pos, side, king, king) ? CheckState::Clear
                                                                    : CheckState::InCheck;
    const PieceList& list = pos.PieceListOf(side);
    for (int slot = 1; slot <= 16; ++slot) {
        const Square from = list[static_cast<std::size_t>(slot)];
        if (from.row <= 0) continue;  // captured
        const int code = pos.GameBoard[from] * side;
        if (code < 1 || code > 6) continue;
        detail::VisitPieceCandidates(pos, side, from, opponentLast,
                                     [&](Square to, detail::CandidateKind kind) {
                                         if (detail::CandidateIsLegal(pos, side, from, to, kind, known)) {
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
