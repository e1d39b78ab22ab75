#include "GameBytes.h"

#include <algorithm>

namespace tavrel::pgn {

std::int64_t GameBytes::EndOf(std::int64_t game) const {
    return game < static_cast<std::int64_t>(offsets_.size()) ? offsets_[static_cast<std::size_t>(game)] : file_.Length() + 1;
}

std::int64_t GameBytes::Fill(std::int64_t game, std::int64_t last) {
    from_ = offsets_[static_cast<std::size_t>(game - 1)];
    std::int64_t upTo = game;
    while (upTo < last && EndOf(upTo + 1) - from_ <= kMostBytes) ++upTo;
    const auto size = static_cast<std::size_t>(std::clamp<std::int64_t>(EndOf(upTo) - from_, 0, kMostBytes));
    if (buffer_.size() < size + kReadablePast) {
        buffer_.resize(std::max(size, std::min<std::size_t>(2 * buffer_.size(), kMostBytes)) + kReadablePast);
    }
    got_ = file_.ReadAt(from_, buffer_.data(), size);
    return upTo;
}

std::string_view GameBytes::Of(std::int64_t game) const {
    const auto begin = static_cast<std::size_t>(std::clamp<std::int64_t>(offsets_[static_cast<std::size_t>(game - 1)] - from_, 0, static_cast<std::int64_t>(got_)));
    const auto end = static_cast<std::size_t>(std::clamp<std::int64_t>(EndOf(game) - from_, static_cast<std::int64_t>(begin), static_cast<std::int64_t>(got_)));
    return {buffer_.data() + begin, end - begin};
}

}  // namespace tavrel::pgn
