#pragma once
// The per-piece candidate walk, shared by the full generator and the matcher's targeted search so
// that both see the same candidates in the same order.

#include <algorithm>

#include "Board.h"
#include "MoveGen.h"

namespace tavrel::detail {

// The eight directions of queen moves, as (row step, column step): ranks and files first (0..3),
// then diagonals (4..7).
inline constexpr int kDirections[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

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
inline constexpr EdgeSteps kEdgeSteps{};

// The direction (an index of kDirections) from one square towards another when they share a
// rank, file or diagonal, else -1; for squares on the board, by 8 * (row - 1) + column - 1. A table,
// as the question is asked of most moves and its arithmetic branches unpredictably.
struct LineDirections {
    signed char towards[64][64]{};
    constexpr LineDirections() {
        constexpr int kOfSteps[9] = {7, 1, 6, 3, -1, 2, 5, 0, 4};  // by (row step + 1) * 3 + column step + 1
        for (int a = 0; a < 64; ++a) {
            for (int b = 0; b < 64; ++b) {
                const int rows = b / 8 - a / 8, cols = b % 8 - a % 8;
                const bool line = rows == 0 || cols == 0 || rows == cols || rows == -cols;
                const int step = ((rows > 0) - (rows < 0) + 1) * 3 + (cols > 0) - (cols < 0) + 1;
                towards[a][b] = static_cast<signed char>(line ? kOfSteps[step] : -1);
            }
        }
    }
};
inline constexpr LineDirections kLineDirections{};
inline int DirectionTowards(Square from, Square s) {
    return kLineDirections.towards[(from.row - 1) * 8 + from.col - 1][(s.row - 1) * 8 + s.col - 1];
}

// The cell of the first piece met walking from `from` (on the board, not counted) in direction
// d, or nullptr when the walk leaves the board first.
inline const int16_t* FirstPieceOnRay(const Board& b, Square from, int d) {
    const int offset = kDirections[d][0] * Board::kStride + kDirections[d][1];
    const int16_t* p = b.Cells() + Board::Index(from.row, from.col);
    for (int n = kEdgeSteps.steps[from.row][from.col][d]; n > 0; --n) {
        p += offset;
        if (*p != 0) return p;
    }
    return nullptr;
}

enum class CandidateKind { Plain, Castle, EnPassant };

// Legality of one candidate: the king-safety test each kind needs. `known` is what the caller
// knows of the mover's king standing in check.
bool CandidateIsLegal(Position& pos, int side, Square from, Square to, CandidateKind kind,
                      CheckState known = CheckState::Unknown);

inline bool IsEnemy(int16_t code, int side) { return code != 0 && (code > 0) != (side > 0); }

// How a piece reaches a square in one move, as far as the board's occupation tells (the king's
// safety is CandidateIsLegal's).
enum class Reach : unsigned char { No, Plain, Castle, EnPassant };

// The king of `side` on `from` to `to`: a step onto an empty or enemy square, or castling (the
// two-column move from its home square, rook in the corner, squares between empty, the right
// not lost).
inline Reach KingReaches(const Position& pos, int side, Square from, Square to) {
    const Board& b = pos.GameBoard;
    const int dr = to.row - from.row, dc = to.col - from.col;
    if (dr == 0 && (dc == 2 || dc == -2)) {
        const int home = side == White ? 8 : 1;
        if (from.row != home || from.col != 5) return Reach::No;
        const int16_t flags = pos.KingState[side].CastleFlags;
        const int16_t rook = static_cast<int16_t>(Piece::Rook * side);
        const bool open = dc == 2 ? b(home, 6) == 0 && b(home, 7) == 0 && b(home, 8) == rook &&
                                        !(flags & (Castle::KingSideBarred | Castle::KingMoved))
                                  : b(home, 4) == 0 && b(home, 3) == 0 && b(home, 2) == 0 && b(home, 1) == rook &&
                                        !(flags & (Castle::QueenSideBarred | Castle::KingMoved));
        return open ? Reach::Castle : Reach::No;
    }
    if (dr < -1 || dr > 1 || dc < -1 || dc > 1 || (dr == 0 && dc == 0) || !to.onBoard()) return Reach::No;
    return b[to] == 0 || IsEnemy(b[to], side) ? Reach::Plain : Reach::No;
}

// The pawn of `side` on `from` to `to`: one square ahead onto an empty one, two from its start
// row over two empty ones, a diagonal capture, or en passant (the enemy pawn beside it made its
// double step as `opponentLast`). A pawn never steps off the board, even one a broken position
// left on its last row.
inline Reach PawnReaches(const Board& b, int side, Square from, Square to, Move opponentLast) {
    const int r = from.row, c = from.col;
    const int ahead = r - side;  // White moves towards row 1
    if (to.col == c) {
        if (ahead < 1 || ahead > 8 || b(ahead, c) != 0) return Reach::No;
        if (to.row == ahead) return Reach::Plain;
        const bool fromStart = r == (side == White ? 7 : 2);
        return fromStart && to.row == ahead - side && b[to] == 0 ? Reach::Plain : Reach::No;
    }
    if (to.row != ahead || (to.col != c - 1 && to.col != c + 1)) return Reach::No;
    if (IsEnemy(b[to], side)) return Reach::Plain;
    if (r != (side == White ? 4 : 5)) return Reach::No;
    const auto row = [](int x) { return static_cast<int16_t>(x); };
    const Move doubleStep{{row(side == White ? 2 : 7), to.col}, {row(r), to.col}};
    return b(r, to.col) == -side * Piece::Pawn && opponentLast == doubleStep ? Reach::EnPassant : Reach::No;
}

// Calls visit(to, kind) for each candidate of the piece on `from`, in generator order, until
// visit returns true. Candidates are pseudo-legal; the caller applies CandidateIsLegal.
template <class Visit>
bool VisitPieceCandidates(const Position& pos, int side, Square from, Move opponentLast,
                          Visit&& visit) {
    const Board& b = pos.GameBoard;
    const int r = from.row, c = from.col;
    const auto at = [](int row, int col) {
        return Square{static_cast<int16_t>(row), static_cast<int16_t>(col)};
    };
    const auto onBoard = [](int row, int col) {
        return row >= 1 && row <= 8 && col >= 1 && col <= 8;
    };
    // A ray stops at the first occupied square, which is a candidate only if it is an enemy.
    const auto ray = [&](int dr, int dc) {
        for (int row = r + dr, col = c + dc; onBoard(row, col); row += dr, col += dc) {
            const int16_t code = b(row, col);
            if (code == 0) {
                if (visit(at(row, col), CandidateKind::Plain)) return true;
                continue;
            }
            return IsEnemy(code, side) && visit(at(row, col), CandidateKind::Plain);
        }
        return false;
    };
    const auto step = [&](int row, int col) {
        return onBoard(row, col) && (b(row, col) == 0 || IsEnemy(b(row, col), side)) &&
               visit(at(row, col), CandidateKind::Plain);
    };
    const auto rookRays = [&] { return ray(0, -1) || ray(0, 1) || ray(-1, 0) || ray(1, 0); };
    const auto bishopRays = [&] { return ray(1, 1) || ray(1, -1) || ray(-1, 1) || ray(-1, -1); };

    switch (b[from] * side) {
        case Piece::Rook:
            return rookRays();
        case Piece::Bishop:
            return bishopRays();
        case Piece::Queen:
            return rookRays() || bishopRays();
        case Piece::Knight:
            return step(r - 1, c - 2) || step(r + 1, c - 2) || step(r - 1, c + 2) ||
                   step(r + 1, c + 2) || step(r - 2, c - 1) || step(r + 2, c - 1) ||
                   step(r - 2, c + 1) || step(r + 2, c + 1);
        case Piece::King: {
            if (r == (side == White ? 8 : 1) && c == 5) {
                for (const Square target : {at(r, 7), at(r, 3)}) {
                    if (KingReaches(pos, side, from, target) == Reach::Castle &&
                        visit(target, CandidateKind::Castle)) {
                        return true;
                    }
                }
            }
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    if ((dr || dc) && KingReaches(pos, side, from, at(r + dr, c + dc)) == Reach::Plain &&
                        visit(at(r + dr, c + dc), CandidateKind::Plain)) {
                        return true;
                    }
                }
            }
            return false;
        }
        case Piece::Pawn: {
            // Straight ahead one square and two, the two captures, then the two en passant ones.
            const int ahead = r - side;  // White moves towards row 1
            const Square targets[6] = {at(ahead, c), at(ahead - side, c), at(ahead, c - 1),
                                       at(ahead, c + 1), at(ahead, c - 1), at(ahead, c + 1)};
            for (int k = 0; k < 6; ++k) {
                const Reach wanted = k < 4 ? Reach::Plain : Reach::EnPassant;
                if (PawnReaches(b, side, from, targets[k], opponentLast) == wanted &&
                    visit(targets[k], k < 4 ? CandidateKind::Plain : CandidateKind::EnPassant)) {
                    return true;
                }
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace tavrel::detail
