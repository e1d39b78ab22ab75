#include "StringPool.h"

#include <cstring>

namespace tavrel::pgn {

std::uint32_t StringPool::Intern(std::string_view text) {
    const auto fresh = static_cast<std::uint32_t>(texts_.size());
    const std::uint32_t id = ids_.FindOrAdd(text, fresh, [this](std::uint32_t known) { return texts_[known]; });
    if (id != fresh) return id;
    if (blockUsed_ + text.size() > kBlockBytes || blocks_.empty()) {
        const std::size_t size = std::max(kBlockBytes, text.size());
        blocks_.push_back(std::make_unique<char[]>(size));
        blockBytes_ += size;
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    if (!text.empty()) std::memcpy(at, text.data(), text.size());
    // A text longer than a block has a block to itself; the next text starts a new one.
    blockUsed_ = text.size() > kBlockBytes ? kBlockBytes : blockUsed_ + text.size();
    texts_.emplace_back(at, text.size());
    return id;
}

std::size_t StringPool::BytesUsed() const {
    return blockBytes_ + texts_.capacity() * sizeof(std::string_view) + ids_.BytesUsed();
}

}  // namespace tavrel::pgn
