#pragma once
// Finding where each game of a file begins, by the rule in GameStarts.h.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "PgnFile.h"

namespace tavrel::pgn {

struct ScanProgress {
    std::int64_t games = 0;  // games found so far
    double percent = 0;      // share of the file scanned, 0 to 100
};

// Called on the scanning thread at the scan's progress points; returning false stops the scan.
using ProgressFn = std::function<bool(const ScanProgress&)>;

struct ScanOptions {
    // Progress is told by elapsed time, not by games, so that telling it costs the same on a file
    // of short games as on one of long ones. Zero tells it after every block.
    std::chrono::milliseconds progressEvery{40};
    std::size_t blockBytes = 256 * 1024;  // read and searched at a time; fits a core's cache
    int workers = 0;                      // parts of the file scanned at once; 0 lets the scan choose
};

struct GameIndex {
    // Where game k begins at GameOffsets[k - 1]: the "[" of its first tag, or its first move.
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
constexpr bool IsLongScan(std::int64_t length) { return length - 7 > kLongScanBytes; }

// Scans the whole open file and leaves it positioned at the first game (or at its first byte
// when it has none). Memory grows only with the number of games. A large file is scanned in parts
// on several cores; the offsets are the same whichever way the file is split.
GameIndex IndexGames(PgnFile& file, const ProgressFn& progress = {}, const ScanOptions& options = {});

}  // namespace tavrel::pgn
