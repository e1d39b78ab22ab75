#include "EventTagScan.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel::pgn {
namespace {

bool SpellsEventTag(const char* six) {
    static constexpr char kName[] = "EVENT ";
    for (int i = 0; i < 6; ++i) {
        char c = six[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kName[i]) return false;
    }
    return true;
}

// Calls on(i) for every i in [0, size), in order, where bytes[i] is "[" and bytes[i + 1] is "E"
// or "e". A file holds about ten "[" a game but only one such pair, so looking for the pair
// instead of the bracket leaves almost nothing to look at closely.
template <typename On>
void ForEachBracketE(const char* bytes, std::size_t size, On&& on) {
#if defined(__SSE2__)
    const __m128i bracket = _mm_set1_epi8('[');
    const __m128i lowerE = _mm_set1_epi8('e');
    const __m128i caseBit = _mm_set1_epi8(0x20);  // only "E" and "e" become "e" with it set
    const auto pairs = [&](std::size_t at) {
        const __m128i open = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at)), bracket);
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + 1));
        return _mm_and_si128(open, _mm_cmpeq_epi8(_mm_or_si128(next, caseBit), lowerE));
    };
    const auto report = [&](std::size_t at, unsigned mask) {
        for (; mask; mask &= mask - 1) on(at + static_cast<std::size_t>(__builtin_ctz(mask)));
    };
    std::size_t i = 0;
    for (; i + 64 <= size; i += 64) {
        const __m128i a = pairs(i), b = pairs(i + 16), c = pairs(i + 32), d = pairs(i + 48);
        if (!_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)))) continue;
        report(i, static_cast<unsigned>(_mm_movemask_epi8(a)));
        report(i + 16, static_cast<unsigned>(_mm_movemask_epi8(b)));
        report(i + 32, static_cast<unsigned>(_mm_movemask_epi8(c)));
        report(i + 48, static_cast<unsigned>(_mm_movemask_epi8(d)));
    }
    for (; i < size; i += 16) {  // the block's padding makes these reads past `size` safe
        const std::size_t valid = size - i < 16 ? size - i : 16;
        report(i, static_cast<unsigned>(_mm_movemask_epi8(pairs(i))) & ((1u << valid) - 1));
    }
#else
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '[' && (bytes[i + 1] | 0x20) == 'e') on(i);
    }
#endif
}

}  // namespace

bool EventTagScan::CleanStart(const char* sixBefore) { return std::memchr(sixBefore, '[', 6) == nullptr; }

std::int64_t EventTagScan::EligibleAt(const char* block, std::int64_t start, std::int64_t at) const {
    // Walk back to the nearest position whose six predecessors hold no "[": no examined bracket
    // before it reaches it, so the rule can be replayed from there. A candidate ends every such
    // walk at the previous game's tag name, so the walks cost no more than the block.
    auto end = static_cast<std::size_t>(at - start);
    std::size_t from = end, clean = 0;
    for (std::size_t y = end; y > 0 && clean < 6;) {
        --y;
        if (block[y] == '[') {
            from = y;
            clean = 0;
        } else {
            ++clean;
        }
    }
    // Otherwise the walk reached the block's start, where the carried state holds.
    std::int64_t eligible = clean >= 6 ? start + static_cast<std::int64_t>(from) : eligible_;
    for (;;) {
        const auto i = static_cast<std::size_t>(eligible - start);
        if (i >= end) return eligible;
        const void* bracket = std::memchr(block + i, '[', end - i);
        if (!bracket) return eligible;
        eligible = start + (static_cast<const char*>(bracket) - block) + 7;
    }
}

void EventTagScan::Scan(const char* block, std::int64_t start, std::size_t size, std::vector<std::int64_t>& starts) {
    ForEachBracketE(block, size, [&](std::size_t i) {
        if (!SpellsEventTag(block + i + 1)) return;
        const std::int64_t at = start + static_cast<std::int64_t>(i);
        // Usually no "[" lies just before a tag, and then nothing can have consumed this one.
        const bool examined = i >= 6 && CleanStart(block + i - 6) ? true : EligibleAt(block, start, at) <= at;
        if (examined) starts.push_back(at);
    });
    const std::int64_t end = start + static_cast<std::int64_t>(size);
    eligible_ = std::max(end, EligibleAt(block, start, end));
}

}  // namespace tavrel::pgn
