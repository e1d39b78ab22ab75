#include "GameIndex.h"

#include <cstring>
#include <random>

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

}  // namespace

GameIndex IndexGames(PgnFile& file, const ProgressFn& progress) {
    GameIndex index;
    const std::int64_t length = file.Length();
    const std::int64_t last = length - 8;  // the last position examined
    index.longScan = length - 7 > kLongScanBytes;
    // Never seeded: the same games report progress on every run.
    std::minstd_rand random;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);

    std::vector<char> buffer(kBlockSize + 8);
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
        const auto* found = static_cast<const char*>(
            std::memchr(from, '[', static_cast<std::size_t>(searchEnd - p + 1)));
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
