#include "GameIndex.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "EventTagScan.h"

namespace tavrel::pgn {
namespace {

// Room after a block for the tag name of a "[" at its end and for the search's wide reads.
constexpr std::size_t kPadding = 16;
// Below this a second core costs more to start than it saves.
constexpr std::int64_t kParallelBytes = 16 << 20;
constexpr int kMostWorkers = 4;

// One stretch of the file, [from, to), scanned by one thread.
struct Part {
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::vector<std::int64_t> starts;
    std::atomic<std::int64_t> scanned{0};  // read by the reporting thread while the part runs
    std::atomic<std::int64_t> games{0};
    bool stopped = false;
};

// Scans one part a block at a time; `keepGoing` is asked after every block.
template <typename KeepGoing>
void ScanPart(const PgnFile& file, Part& part, std::size_t blockBytes, KeepGoing&& keepGoing) {
    EventTagScan rule(part.from);
    const std::size_t capacity = static_cast<std::size_t>(std::min<std::int64_t>(blockBytes, part.to - part.from));
    std::vector<char> block(capacity + kPadding);
    for (std::int64_t at = part.from; at < part.to;) {
        const auto size = static_cast<std::size_t>(std::min<std::int64_t>(capacity, part.to - at));
        const std::size_t got = file.ReadAt(at, block.data(), size + 6);
        if (got < size + 6) {  // the file shrank under us: what is left is scanned, then the scan ends
            if (got > 6) rule.Scan(block.data(), at, got - 6, part.starts);
            break;
        }
        rule.Scan(block.data(), at, size, part.starts);
        at += static_cast<std::int64_t>(size);
        part.scanned.store(at - part.from, std::memory_order_relaxed);
        part.games.store(static_cast<std::int64_t>(part.starts.size()), std::memory_order_relaxed);
        if (!keepGoing()) {
            part.stopped = true;
            return;
        }
    }
}

// Where the parts meet: near equal shares, each moved on to a position that no bracket before it
// reaches, so that each part can apply the rule without knowing the one before. A stretch dense
// with brackets gives no such position nearby, and one part fewer.
std::vector<std::int64_t> SplitPoints(const PgnFile& file, std::int64_t from, std::int64_t to, int parts) {
    std::vector<std::int64_t> points{from};
    std::vector<char> window(4096);
    for (int k = 1; k < parts; ++k) {
        const std::int64_t guess = std::max<std::int64_t>(from + (to - from) * k / parts, from + 6);
        const std::size_t got = file.ReadAt(guess - 6, window.data(), window.size());
        for (std::size_t i = 6; i < got; ++i) {
            if (!EventTagScan::CleanStart(window.data() + i - 6)) continue;
            const std::int64_t at = guess - 6 + static_cast<std::int64_t>(i);
            if (at > points.back() && at < to) points.push_back(at);
            break;
        }
    }
    points.push_back(to);
    return points;
}

int WorkersFor(std::int64_t length, const ScanOptions& options) {
    if (options.workers > 0) return options.workers;
    if (length < kParallelBytes) return 1;
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMostWorkers);
}

// Runs the parts, the first on the calling thread and the others on their own, and tells
// `progress` on the calling thread as the scan goes on.
bool ScanParts(const PgnFile& file, std::deque<Part>& parts, std::int64_t total, const ProgressFn& progress,
               const ScanOptions& options) {
    using Clock = std::chrono::steady_clock;
    auto due = Clock::now() + options.progressEvery;
    std::atomic<bool> stop{false};
    const auto report = [&] {
        if (!progress || Clock::now() < due) return;
        ScanProgress now;
        std::int64_t scanned = 0;
        for (const Part& part : parts) {
            scanned += part.scanned.load(std::memory_order_relaxed);
            now.games += part.games.load(std::memory_order_relaxed);
        }
        now.percent = 100.0 * static_cast<double>(scanned) / static_cast<double>(total);
        if (!progress(now)) stop = true;
        due = Clock::now() + options.progressEvery;
    };

    std::mutex mutex;
    std::condition_variable finished;
    int running = static_cast<int>(parts.size()) - 1;
    std::vector<std::jthread> threads;
    for (std::size_t k = 1; k < parts.size(); ++k) {
        threads.emplace_back([&, k] {
            ScanPart(file, parts[k], options.blockBytes, [&] { return !stop.load(std::memory_order_relaxed); });
            const std::lock_guard lock(mutex);
            --running;
            finished.notify_one();
        });
    }
    ScanPart(file, parts[0], options.blockBytes, [&] {
        report();
        return !stop.load();
    });
    std::unique_lock lock(mutex);
    while (running > 0) {
        finished.wait_for(lock, std::max(options.progressEvery, std::chrono::milliseconds(1)));
        lock.unlock();
        report();
        lock.lock();
    }
    return !stop.load();
}

}  // namespace

GameIndex IndexGames(PgnFile& file, const ProgressFn& progress, const ScanOptions& options) {
    GameIndex index;
    file.Seek(1);  // notices a file changed on disk since it was opened
    const std::int64_t length = file.Length();
    index.longScan = length - 7 > kLongScanBytes;
    const std::int64_t end = length - 7;  // a "[" among the last 8 bytes is never examined
    if (end > 1) {
        const std::vector<std::int64_t> points = SplitPoints(file, 1, end, WorkersFor(length, options));
        std::deque<Part> parts(points.size() - 1);
        for (std::size_t k = 0; k < parts.size(); ++k) {
            parts[k].from = points[k];
            parts[k].to = points[k + 1];
        }
        const bool finished = ScanParts(file, parts, end - 1, progress, options);
        index.stopped = !finished;
        // A stopped scan keeps only the games up to the first gap, so that numbers stay right.
        for (const Part& part : parts) {
            index.GameOffsets.insert(index.GameOffsets.end(), part.starts.begin(), part.starts.end());
            if (part.stopped) break;
        }
    }
    file.Seek(index.OffsetOf(1));
    return index;
}

}  // namespace tavrel::pgn
