#include "WindowScale.h"

#include <algorithm>

namespace tavrel::ui {

int SteppedBoardSize(int percent, int steps) {
    const auto at = std::find(kBoardSizes.begin(), kBoardSizes.end(), percent);
    const long index = at == kBoardSizes.end() ? 0 : at - kBoardSizes.begin();
    return kBoardSizes[static_cast<std::size_t>(std::clamp<long>(index + steps, 0, static_cast<long>(kBoardSizes.size()) - 1))];
}

}  // namespace tavrel::ui
