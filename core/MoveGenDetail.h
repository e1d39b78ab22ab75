#pragma once
// The per-piece candidate walk, shared by the full generator and the matcher's targeted search so
// that both see the same candidates in the same order.

#include "Board.h"

namespace tavrel::detail {

enum class CandidateKind { Plain, Castle, EnPassant };

// Legality of one candidate: the king-safety test each kind needs.
bool CandidateIsLegal(Position& pos, int side, Square from, Square to, CandidateKind kind);

inline bool IsEnemy(int16_t code, int side) { return code != 0 && (code > 0) != (side > 0); }

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
            const int home = side == White ? 8 : 1;
            const int16_t flags = pos.KingState[side].CastleFlags;
            const int16_t rook = static_cast<int16_t>(Piece::Rook * side);
            if (r == home && c == 5) {
                if (b(home, 6) == 0 && b(home, 7) == 0 && b(home, 8) == rook &&
                    !(flags & (Castle::KingSideBarred | Castle::KingMoved)) &&
                    visit(at(home, 7), CandidateKind::Castle)) {
                    return true;
                }
                if (b(home, 4) == 0 && b(home, 3) == 0 && b(home, 2) == 0 && b(home, 1) == rook &&
                    !(flags & (Castle::QueenSideBarred | Castle::KingMoved)) &&
                    visit(at(home, 3), CandidateKind::Castle)) {
                    return true;
                }
            }
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    if ((dr || dc) && step(r + dr, c + dc)) return true;
                }
            }
            return false;
        }
        case Piece::Pawn: {
            const int forward = -side;  // White moves towards row 1
            const int startRow = side == White ? 7 : 2;
            const int passantRow = side == White ? 4 : 5;
            const int ahead = r + forward;
            // A pawn never steps off the board, even one a broken position left on its last row.
            if (onBoard(ahead, c) && b(ahead, c) == 0) {
                if (visit(at(ahead, c), CandidateKind::Plain)) return true;
                if (r == startRow && b(ahead + forward, c) == 0 &&
                    visit(at(ahead + forward, c), CandidateKind::Plain)) {
                    return true;
                }
            }
            for (int col : {c - 1, c + 1}) {
                if (IsEnemy(b(ahead, col), side) && visit(at(ahead, col), CandidateKind::Plain)) {
                    return true;
                }
            }
            if (r == passantRow) {
                const int theirStart = side == White ? 2 : 7;
                const int theirDouble = side == White ? 4 : 5;
                for (int col : {c - 1, c + 1}) {
                    const Move doubleStep{at(theirStart, col), at(theirDouble, col)};
                    if (b(r, col) == -side * Piece::Pawn && opponentLast == doubleStep &&
                        visit(at(ahead, col), CandidateKind::EnPassant)) {
                        return true;
                    }
                }
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace tavrel::detail
