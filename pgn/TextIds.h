#pragma once
// Ids of texts looked up by their bytes, in one flat array of slots (open addressing): a pass
// over millions of tags looks a value up for each, and a node per text with a pointer chase per
// lookup cost more than the rest of the pass. The texts themselves stay with the caller, who
// says what text an id stands for.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace tavrel::pgn {

// Tag values are short: a multiply a word is hash enough, and several times faster than the
// library's hash of strings.
inline std::uint64_t HashText(std::string_view text) {
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15;
    std::uint64_t hash = text.size() * kMix;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        hash = std::rotl((hash ^ word) * kMix, 29);
    }
    // The last bytes in fixed-size loads that together cover each of them: a copy of a varying
    // length into a word stalls the load that follows it.
    const std::size_t rest = text.size() - i;
    const char* at = text.data() + i;
    std::uint64_t tail = 0;
    if (rest >= 4) {
        std::uint32_t low, high;
        std::memcpy(&low, at, 4);
        std::memcpy(&high, at + rest - 4, 4);
        tail = low | static_cast<std::uint64_t>(high) << 32;
    } else if (rest > 0) {
        tail = static_cast<unsigned char>(at[0]) | static_cast<unsigned char>(at[rest / 2]) << 8 |
               static_cast<std::uint64_t>(static_cast<unsigned char>(at[rest - 1])) << 16;
    }
    return ((hash ^ tail) * kMix) ^ (hash >> 32);
}

class TextIds {
public:
    static constexpr std::uint32_t kNone = ~std::uint32_t{0};

    // The id stored for `text`, else `fresh`, stored for it from now on. `textOf(id)` gives the
    // text of an id stored before.
    template <class TextOf>
    std::uint32_t FindOrAdd(std::string_view text, std::uint32_t fresh, const TextOf& textOf) {
        if (2 * (count_ + 1) > slots_.size()) Grow();
        const auto hash = static_cast<std::uint32_t>(HashText(text));
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.id == kNone) {
                slot = {hash, fresh};
                ++count_;
                return fresh;
            }
            if (slot.hash == hash && textOf(slot.id) == text) return slot.id;
        }
    }

    // Forgets every text, keeping the slots' memory.
    void Clear() {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        count_ = 0;
    }
    [[nodiscard]] std::size_t BytesUsed() const { return slots_.capacity() * sizeof(Slot); }

private:
    struct Slot {
        std::uint32_t hash = 0;  // the text's hash, so that most misses compare no bytes
        std::uint32_t id = kNone;
    };

    void Grow() {
        std::vector<Slot> old(std::max<std::size_t>(64, 2 * slots_.size()));
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.id == kNone) continue;
            std::size_t at = slot.hash & mask;
            while (slots_[at].id != kNone) at = (at + 1) & mask;
            slots_[at] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

}  // namespace tavrel::pgn
