#include "GameIndex.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "GameStarts.h"

namespace tavrel::pgn {
namespace {

// Below this a second core costs more to start than it saves.
constexpr std::int64_t kParallelBytes = 16 << 20;
constexpr int kMostWorkers = 4;
// How far past an even share a part's first Event tag is looked for; a file without one that near
// is scanned in fewer parts.
constexpr std::int64_t kResumeSearchBytes = 1 << 20;
// Room for the starts of a part is reserved for games this short: the reservation claims address
// space only, and spares a file of short games the copies and page faults of a growing vector.
constexpr std::int64_t kShortGameBytes = 128;

// One stretch of the file scanned by one thread: the starts after `from` up to and including `to`.
// `from` is the file's first byte or an Event tag at which the rule can resume; whether that tag
// itself starts a game depends on what stands before it, so the part before judges it.
struct Part {
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::vector<std::int64_t> starts;
    std::atomic<std::int64_t> scanned{0};  // read by the reporting thread while the part runs
    std::atomic<std::int64_t> games{0};
    bool stopped = false;
};

// Scans one part a block at a time; `keepGoing` is asked after every block. A part runs through
// the "[" of the next part's first tag, which only it can judge.
template <typename KeepGoing>
void ScanPart(const PgnFile& file, Part& part, bool first, std::size_t blockBytes, KeepGoing&& keepGoing) {
    const std::int64_t length = file.Length();
    GameStartScan rule = first ? GameStartScan(length) : GameStartScan::AfterEventTag(part.from, length);
    const std::int64_t end = part.to > length ? length + 1 : part.to + 1;
    // The first part's starts become the index, the others' appended to them: it has room for
    // the whole file's.
    const std::int64_t room = first ? length + 1 - part.from : end - part.from;
    part.starts.reserve(static_cast<std::size_t>(room / kShortGameBytes + 1));
    const auto capacity = std::min<std::int64_t>(static_cast<std::int64_t>(blockBytes), end - part.from);
    // The kernel copies a cached file several times faster into a cache-line-aligned buffer from
    // a like-aligned file offset, so each read starts on a 64-byte boundary of both, a little
    // before the block's look-behind; the slack in front holds the look-behind of the first block.
    constexpr std::int64_t kLine = 64;
    std::vector<char> buffer(static_cast<std::size_t>(capacity + 3 * kLine + GameStartScan::kBehind + GameStartScan::kAhead +
                                                      GameStartScan::kPadding));
    char* const aligned = buffer.data() + kLine + (kLine - reinterpret_cast<std::uintptr_t>(buffer.data()) % kLine) % kLine;
    for (std::int64_t at = part.from; at < end;) {
        const std::int64_t size = std::min(capacity, end - at);
        const std::int64_t lo = std::max<std::int64_t>(0, (at - 1 - GameStartScan::kBehind) / kLine * kLine);  // 0-based
        const std::int64_t hi = std::min(at - 1 + size + GameStartScan::kAhead, length);
        const auto want = static_cast<std::size_t>(hi - lo);
        const std::size_t got = file.ReadAt(lo + 1, aligned, want);
        const char* bytes = aligned + (at - 1 - GameStartScan::kBehind - lo);
        if (got < want) {  // the file shrank under us: what is left is scanned, then the scan ends
            std::fill(aligned + got, aligned + want, '\0');
            rule.Scan(bytes, at, size, part.starts);
            break;
        }
        rule.Scan(bytes, at, size, part.starts);
        at += size;
        part.scanned.store(at - part.from, std::memory_order_relaxed);
        part.games.store(static_cast<std::int64_t>(part.starts.size()), std::memory_order_relaxed);
        if (!keepGoing()) {
            part.stopped = true;
            return;
        }
    }
}

// The first Event tag at or after `guess` at which the rule can resume, or 0 when there is none
// within reach.
std::int64_t ResumePointAfter(const PgnFile& file, std::int64_t guess) {
    constexpr std::size_t kWindow = 64 * 1024;
    std::vector<char> window(kWindow + 13);
    const std::int64_t length = file.Length();
    for (std::int64_t at = std::max<std::int64_t>(guess, 7); at < guess + kResumeSearchBytes && at <= length - 8;
         at += kWindow) {
        const std::size_t got = file.ReadAt(at - 6, window.data(), window.size());
        for (std::size_t i = 0; i + 13 <= got && i < kWindow; ++i) {
            if (window[i + 6] != '[') continue;
            const std::int64_t tag = at + static_cast<std::int64_t>(i);
            if (GameStartScan::IsResumePoint(window.data() + i, tag, length)) return tag;
        }
    }
    return 0;
}

// Where the parts meet: near equal shares, each moved on to an Event tag at which the rule can
// resume without knowing what came before.
std::vector<std::int64_t> SplitPoints(const PgnFile& file, std::int64_t from, std::int64_t to, int parts) {
    std::vector<std::int64_t> points{from};
    for (int k = 1; k < parts; ++k) {
        const std::int64_t at = ResumePointAfter(file, from + (to - from) * k / parts);
        if (at > points.back() && at < to) points.push_back(at);
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
        now.percent = std::min(100.0, 100.0 * static_cast<double>(scanned) / static_cast<double>(total));
        if (!progress(now)) stop = true;
        due = Clock::now() + options.progressEvery;
    };

    std::mutex mutex;
    std::condition_variable finished;
    int running = static_cast<int>(parts.size()) - 1;
    std::vector<std::jthread> threads;
    for (std::size_t k = 1; k < parts.size(); ++k) {
        threads.emplace_back([&, k] {
            ScanPart(file, parts[k], false, options.blockBytes, [&] { return !stop.load(std::memory_order_relaxed); });
            const std::lock_guard lock(mutex);
            --running;
            finished.notify_one();
        });
    }
    ScanPart(file, parts[0], true, options.blockBytes, [&] {
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
    index.longScan = IsLongScan(length);
    if (length > 0) {
        const std::vector<std::int64_t> points = SplitPoints(file, 1, length + 1, WorkersFor(length, options));
        std::deque<Part> parts(points.size() - 1);
        for (std::size_t k = 0; k < parts.size(); ++k) {
            parts[k].from = points[k];
            parts[k].to = points[k + 1];
        }
        const bool finished = ScanParts(file, parts, length, progress, options);
        index.stopped = !finished;
        // A stopped scan keeps only the games up to the first gap, so that numbers stay right.
        index.GameOffsets = std::move(parts[0].starts);
        for (std::size_t k = 1; k < parts.size() && !parts[k - 1].stopped; ++k) {
            index.GameOffsets.insert(index.GameOffsets.end(), parts[k].starts.begin(), parts[k].starts.end());
        }
    }
    file.Seek(index.OffsetOf(1));
    return index;
}

}  // namespace tavrel::pgn
