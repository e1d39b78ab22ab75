#include "PositionKey.h"

#include <array>

#include "MoveGen.h"

namespace tavrel {
namespace {

constexpr std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// 13 piece codes (-6..6, 0 unused) x 64 squares, then side, 16 castling sets and 8 files.
struct Randoms {
    std::array<std::uint64_t, 13 * 64> piece{};
    std::uint64_t blackToMove = 0;
    std::array<std::uint64_t, 16> castling{};
    std::array<std::uint64_t, 8> enPassantFile{};
    constexpr Randoms() {
        std::uint64_t state = 0x7A5E1C0FFEEULL;
        for (auto& r : piece) r = SplitMix(state);
        blackToMove = SplitMix(state);
        for (auto& r : castling) r = SplitMix(state);
        castling[0] = 0;
        for (auto& r : enPassantFile) r = SplitMix(state);
    }
};
constexpr Randoms kRandoms{};

bool MayCastle(const Position& pos, int side, int16_t wing) {
    const int home = side == White ? 8 : 1;
    const int corner = wing == Castle::KingSideBarred ? 8 : 1;
    const Board& b = pos.GameBoard;
    return b(home, 5) == Piece::King * side && b(home, corner) == Piece::Rook * side &&
           !(pos.KingState[side].CastleFlags & (wing | Castle::KingMoved));
}

}  // namespace

int CastlingRights(const Position& pos) {
    return (MayCastle(pos, White, Castle::KingSideBarred) ? 1 : 0) |
           (MayCastle(pos, White, Castle::QueenSideBarred) ? 2 : 0) |
           (MayCastle(pos, Black, Castle::KingSideBarred) ? 4 : 0) |
           (MayCastle(pos, Black, Castle::QueenSideBarred) ? 8 : 0);
}

Square EnPassantTarget(Position& pos, int side, Move opponentLast) {
    if (opponentLast.IsNone()) return {};
    Board& b = pos.GameBoard;
    const Square to = opponentLast.to;
    const int16_t theirPawn = static_cast<int16_t>(-Piece::Pawn * side);
    const bool doubleStep = b[to] == theirPawn && opponentLast.from.col == to.col &&
                            (opponentLast.from.row - to.row == 2 || to.row - opponentLast.from.row == 2);
    if (!doubleStep) return {};
    const Square target{static_cast<int16_t>((opponentLast.from.row + to.row) / 2), to.col};
    if (b[target] != 0) return {};
    for (const int dc : {-1, 1}) {
        const Square from{to.row, static_cast<int16_t>(to.col + dc)};
        if (!from.onBoard() || b[from] != Piece::Pawn * side) continue;
        // The taken pawn leaves the board too, which may open a line onto the king.
        b[to] = 0;
        const bool safe = KingSafeAfter(pos, side, from, target);
        b[to] = theirPawn;
        if (safe) return target;
    }
    return {};
}

std::uint64_t PositionKey(Position& pos, int side, Move opponentLast) {
    std::uint64_t key = 0;
    const Board& b = pos.GameBoard;
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const int code = b(row, col);
            if (code != 0) key ^= kRandoms.piece[static_cast<std::size_t>((code + 6) * 64 + (row - 1) * 8 + col - 1)];
        }
    }
    if (side == Black) key ^= kRandoms.blackToMove;
    key ^= kRandoms.castling[static_cast<std::size_t>(CastlingRights(pos))];
    const Square ep = EnPassantTarget(pos, side, opponentLast);
    if (ep.onBoard()) key ^= kRandoms.enPassantFile[static_cast<std::size_t>(ep.col - 1)];
    return key;
}

}  // namespace tavrel
