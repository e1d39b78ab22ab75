#include "MoveStore.h"

namespace tavrel {

MoveRow& MoveStore::Row(int n) {
    if (n < 1) n = 1;  // row 0 does not exist; callers never ask for it
    if (static_cast<std::size_t>(n) > rows_.size()) rows_.resize(static_cast<std::size_t>(n));
    return rows_[static_cast<std::size_t>(n - 1)];
}

const MoveRow* MoveStore::Find(int n) const {
    if (n < 1 || static_cast<std::size_t>(n) > rows_.size()) return nullptr;
    return &rows_[static_cast<std::size_t>(n - 1)];
}

Move MoveStore::ResolvedSquares(int side, int n) const {
    const MoveRow* row = Find(n);
    return row ? row->Of(side).squares : Move{};
}

}  // namespace tavrel
