#pragma once
// Finding where each game of a file begins: at every "[" followed by "EVENT " in any letter case.

#include <cstdint>
#include <functional>
#include <vector>

#include "PgnFile.h"

namespace tavrel::pgn {

struct ScanProgress {
    std::int64_t games = 0;  // games found so far
    double percent = 0;      // share of the file scanned, 0 to 100
};

// Called on about one game in ten (the same games on every run); returning false stops the scan.
using ProgressFn = std::function<bool(const ScanProgress&)>;

struct GameIndex {
    // Position of the "[" that opens game k's Event tag at GameOffsets[k - 1].
    std::vector<std::int64_t> GameOffsets;
    bool longScan = false;  // the file was long enough to show progress for
    bool stopped = false;   // the progress callback asked to stop

    [[nodiscard]] std::int64_t GameCount() const { return static_cast<std::int64_t>(GameOffsets.size()); }
    // Where game k (1-based) begins, or the first byte when there is no such game.
    [[nodiscard]] std::int64_t OffsetOf(std::int64_t game) const {
        return game >= 1 && game <= GameCount() ? GameOffsets[static_cast<std::size_t>(game - 1)] : 1;
    }
};

// Files longer than this many bytes plus 7 count as long, and show their progress.
constexpr std::int64_t kLongScanBytes = 64000;

// Scans the whole open file and leaves it positioned at the first game (or at its first byte
// when it has none). A "[" among the last 8 bytes is never examined; the six characters after
// any examined "[" are consumed whether or not they spell the tag name, so "[[Event " opens
// nothing. Memory grows only with the number of games.
GameIndex IndexGames(PgnFile& file, const ProgressFn& progress = {});

}  // namespace tavrel::pgn
