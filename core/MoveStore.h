#pragma once
#include <string>
#include <vector>

#include "Board.h"

namespace tavrel {

// One side's half of a move number: the text as the file wrote it, the promotion letter the
// matcher found in it, and the squares once the replay has resolved it (None until then).
struct HalfMove {
    std::string text;
    std::string promotion;
    Move squares;
};

struct MoveRow {
    HalfMove white;
    HalfMove black;

    HalfMove& Of(int side) { return side == White ? white : black; }
    const HalfMove& Of(int side) const { return side == White ? white : black; }
};

// The game's moves by move number, from 1. It grows with the game: long games (over 200 move
// numbers exist) are kept whole.
class MoveStore {
public:
    void Clear() { rows_.clear(); }
    [[nodiscard]] int RowCount() const { return static_cast<int>(rows_.size()); }

    // Row n (1-based), created empty when the game has fewer rows.
    MoveRow& Row(int n);
    // Row n, or nullptr when the game has no such row.
    const MoveRow* Find(int n) const;

    std::string& MoveText(int n, int side) { return Row(n).Of(side).text; }
    std::string& MovePromotion(int n, int side) { return Row(n).Of(side).promotion; }
    Move& MoveSquares(int side, int n) { return Row(n).Of(side).squares; }
    // The resolved squares, or None for a half-move that is unresolved or absent.
    [[nodiscard]] Move ResolvedSquares(int side, int n) const;

private:
    std::vector<MoveRow> rows_;  // move number n at rows_[n - 1]
};

}  // namespace tavrel
