#include "GameIndex.h"

#include <algorithm>
#include <cstring>
#include <random>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel::pgn {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

bool SpellsEventTag(const char* six) {
    static constexpr char kName[] = "EVENT ";
    for (int i = 0; i < 6; ++i) {
        char c = six[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kName[i]) return false;
    }
    return true;
}

// The first "[" in [from, from + size). Tag-heavy files hold a "[" every few dozen bytes, where
// restarting memchr each time costs more than the search itself: this looks at 16 bytes a step.
const char* FindBracket(const char* from, std::size_t size) {
#if defined(__SSE2__)
    const __m128i bracket = _mm_set1_epi8('[');
    std::size_t i = 0;
    const auto load = [&](std::size_t at) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at)), bracket);
    };
    // 64 bytes a step while no "[" is among them, which is most of a file.
    for (; i + 64 <= size; i += 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(load(i), load(i + 16)),
                                         _mm_or_si128(load(i + 32), load(i + 48)));
        if (_mm_movemask_epi8(any)) break;
    }
    for (; i + 16 <= size; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, bracket));
        if (hits) return from + i + __builtin_ctz(static_cast<unsigned>(hits));
    }
    return static_cast<const char*>(std::memchr(from + i, '[', size - i));
#else
    return static_cast<const char*>(std::memchr(from, '[', size));
#endif
}

}  // namespace

GameIndex IndexGames(PgnFile& file, const ProgressFn& progress) {
    GameIndex index;
    const std::int64_t length = file.Length();
    const std::int64_t last = length - 8;  // the last position examined
    index.longScan = length - 7 > kLongScanBytes;
    // Never seeded: the same games report progress on every run.
    std::minstd_rand random;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);

    // A small file needs no megabyte of buffer (opening many small files stays cheap).
    const auto blockSize = static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, kBlockSize));
    std::vector<char> buffer(blockSize + 8);
    std::int64_t bufferStart = 1;  // file position of buffer[0]
    std::size_t have = 0;
    file.Seek(1);
    std::int64_t p = 1;
    while (p <= last) {
        // Each examined "[" needs its six following bytes in the buffer.
        if (p + 6 > bufferStart + static_cast<std::int64_t>(have) - 1) {
            const auto offset = static_cast<std::size_t>(std::max<std::int64_t>(0, p - bufferStart));
            const std::size_t keep = offset < have ? have - offset : 0;
            std::memmove(buffer.data(), buffer.data() + offset, keep);
            file.Seek(p + static_cast<std::int64_t>(keep));
            const std::size_t got = file.ReadBlock(buffer.data() + keep, buffer.size() - keep);
            bufferStart = p;
            have = keep + got;
            if (got == 0) break;  // the file shrank under us
            continue;
        }
        const std::int64_t searchEnd =
            std::min(last, bufferStart + static_cast<std::int64_t>(have) - 1 - 6);
        const char* from = buffer.data() + (p - bufferStart);
        const char* found = FindBracket(from, static_cast<std::size_t>(searchEnd - p + 1));
        if (!found) {
            p = searchEnd + 1;
            continue;
        }
        const std::int64_t at = bufferStart + (found - buffer.data());
        if (SpellsEventTag(found + 1)) {
            index.GameOffsets.push_back(at);
            if (uniform(random) < 0.1 && progress) {
                const double percent = 100.0 * static_cast<double>(at) / static_cast<double>(length - 7);
                if (!progress({index.GameCount(), percent})) {
                    index.stopped = true;
                    break;
                }
            }
        }
        p = at + 7;
    }
    file.Seek(index.OffsetOf(1));
    return index;
}

}  // namespace tavrel::pgn
