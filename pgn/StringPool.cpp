#include "StringPool.h"

#include <cstring>

namespace tavrel::pgn {

std::uint32_t StringPool::Intern(std::string_view text) {
    if (const auto found = ids_.find(text); found != ids_.end()) return found->second;
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
    const std::string_view stored(at, text.size());
    const auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(stored);
    ids_.emplace(stored, id);
    return id;
}

std::size_t StringPool::BytesUsed() const {
    // The hash map's nodes: a view, an id and about two pointers each.
    return blockBytes_ + texts_.capacity() * sizeof(std::string_view) +
           ids_.size() * (sizeof(std::string_view) + 4 * sizeof(void*)) + ids_.bucket_count() * sizeof(void*);
}

}  // namespace tavrel::pgn
