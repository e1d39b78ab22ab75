#pragma once
#include <array>
#include <cstddef>

#include "Board.h"

namespace tavrel {

// The legal moves of one side, in the generator's order. The generator visits at most 16 piece
// slots and no piece has more than 27 targets (a queen in the open), plus two castlings, so 512
// entries can never overflow, whatever position a FEN or a broken game produces.
class MoveList {
public:
    static constexpr std::size_t kCapacity = 512;

    void Clear() { count_ = 0; }
    void Push(Move move) { moves_[count_++] = move; }
    [[nodiscard]] int size() const { return static_cast<int>(count_); }
    const Move& operator[](int i) const { return moves_[static_cast<std::size_t>(i)]; }
    const Move* begin() const { return moves_.data(); }
    const Move* end() const { return moves_.data() + count_; }

private:
    std::array<Move, kCapacity> moves_{};
    std::size_t count_ = 0;
};

}  // namespace tavrel
