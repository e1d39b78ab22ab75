#pragma once
// Texts stored once each and named by a 32-bit id: a million games name a few thousand players,
// events and sites, so a game row holds ids instead of strings.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "TextIds.h"

namespace tavrel::pgn {

class StringPool {
public:
    StringPool() { Intern({}); }  // id 0 is the empty text
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;
    StringPool(StringPool&&) = default;
    StringPool& operator=(StringPool&&) = default;

    std::uint32_t Intern(std::string_view text);
    [[nodiscard]] std::string_view Text(std::uint32_t id) const { return texts_[id]; }
    [[nodiscard]] std::uint32_t Size() const { return static_cast<std::uint32_t>(texts_.size()); }
    // Bytes held, for the memory each game costs.
    [[nodiscard]] std::size_t BytesUsed() const;

private:
    // Texts live in blocks that never move, so the views in texts_ stay valid.
    static constexpr std::size_t kBlockBytes = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = kBlockBytes;
    std::size_t blockBytes_ = 0;
    std::vector<std::string_view> texts_;
    TextIds ids_;
};

}  // namespace tavrel::pgn
