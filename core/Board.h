#pragma once
// The board model shared by the generator, the matcher, the replay and the window.
// Row 1 is rank 8 (Black's back rank) and column 1 is file a; these conventions decide the
// order in which moves are generated, and so which piece an ambiguous move text names.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel {

struct Square {
    int16_t row = 0;
    int16_t col = 0;

    constexpr bool operator==(const Square&) const = default;
    [[nodiscard]] constexpr bool onBoard() const {
        return row >= 1 && row <= 8 && col >= 1 && col <= 8;
    }
};

// Algebraic "e4" <-> (5, 5). An unreadable text gives the square (0, 0).
Square SquareFromAlgebraic(std::string_view text);
std::string AlgebraicName(Square square);

// Piece codes; White's are stored positive, Black's negative.
namespace Piece {
constexpr int16_t Empty = 0;
constexpr int16_t Pawn = 1;
constexpr int16_t King = 2;
constexpr int16_t Queen = 3;
constexpr int16_t Bishop = 4;
constexpr int16_t Knight = 5;
constexpr int16_t Rook = 6;
}  // namespace Piece

// Sides are the sign of their pieces' codes.
constexpr int16_t White = 1;
constexpr int16_t Black = -1;

// 12 x 12 cells indexed -1..10 both ways. The two-cell border always reads 0 (empty), so probes
// up to two squares away from a playing square (knight jumps, king steps, pawn diagonals) need
// no bounds test. Everything that writes tests 1..8 itself.
class Board {
public:
    int16_t& operator()(int row, int col) { return cells_[Index(row, col)]; }
    int16_t operator()(int row, int col) const { return cells_[Index(row, col)]; }
    int16_t& operator[](Square s) { return (*this)(s.row, s.col); }
    int16_t operator[](Square s) const { return (*this)(s.row, s.col); }

    // The cell array and where (row, col) sits in it, for walks that step through it by offsets
    // (one row is kStride cells) instead of testing both coordinates at each step.
    static constexpr int kStride = 12;
    static constexpr int Index(int row, int col) { return (row + 1) * kStride + (col + 1); }
    [[nodiscard]] const int16_t* Cells() const { return cells_.data(); }

    void Clear() { cells_.fill(0); }
    // Copies the 64 playing squares only; the border of this board is left alone.
    void CopyPlayingSquaresFrom(const Board& other);
    bool operator==(const Board&) const = default;

private:
    std::array<int16_t, 144> cells_{};
};

// One half-move as four 16-bit values. Castling is the king's two-column move, en passant a
// pawn's diagonal move to an empty square; the promotion piece travels separately.
struct Move {
    Square from;
    Square to;

    constexpr bool operator==(const Move&) const = default;
    // Unresolved, or matched nothing: all four values are 0.
    [[nodiscard]] constexpr bool IsNone() const { return from.row == 0; }
};

// Slot k (1..16) holds the square of one piece. The kind is read from the board, so a promoted
// pawn keeps its slot. A row of 0 marks a captured piece. Slot 0 is not used.
using PieceList = std::array<Square, 17>;

namespace Castle {
constexpr int16_t KingSideBarred = 1;   // towards column 8
constexpr int16_t QueenSideBarred = 2;  // towards column 1
constexpr int16_t KingMoved = 4;        // both wings
}  // namespace Castle

struct KingRecord {
    int16_t CastleFlags = 0;
    Square square;
    bool operator==(const KingRecord&) const = default;
};

// Indexed by side (1 White, -1 Black).
class KingStateTable {
public:
    KingRecord& operator[](int side) { return side == White ? white_ : black_; }
    const KingRecord& operator[](int side) const { return side == White ? white_ : black_; }
    bool operator==(const KingStateTable&) const = default;

private:
    KingRecord white_;
    KingRecord black_;
};

// What the generator needs of a position. The game's position and every position perft
// visits have this shape.
struct Position {
    Board GameBoard;
    PieceList WhitePieceList{};
    PieceList BlackPieceList{};
    KingStateTable KingState;

    PieceList& PieceListOf(int side) { return side == White ? WhitePieceList : BlackPieceList; }
    const PieceList& PieceListOf(int side) const {
        return side == White ? WhitePieceList : BlackPieceList;
    }
    bool operator==(const Position&) const = default;
};

// The initial position, slots as a game starts: pawns a..h in 1..8, then a1/a8 rook .. h1/h8 rook.
Position StartPosition();

// The board's 64 squares as a FEN piece placement ("rnbqkbnr/pppppppp/8/...").
std::string FenPlacement(const Board& board);
// The same placement appended to `out`.
void AppendFenPlacement(std::string& out, const Board& board);

}  // namespace tavrel
