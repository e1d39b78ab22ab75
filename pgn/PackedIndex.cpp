#include "PackedIndex.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "GameStarts.h"
#include "io/Unpack.h"

namespace tavrel::pgn {
namespace {

// The scan learns the text's length only at its end; until then it is held back far enough from
// what has been decompressed that the length it was given cannot matter.
constexpr std::int64_t kUnknownLength = INT64_MAX / 4;
constexpr std::int64_t kHeldBack = GameStartScan::kAhead + 16;

// A frame's text is scanned by the thread that decoded it before its place in the text is known:
// the scan reads it as if it began here, and its starts are moved to their place later. The scan
// reads only how positions lie to each other, but for the file's first and last bytes, which
// lie far from here.
constexpr std::int64_t kFrameBase = std::int64_t{1} << 40;
constexpr std::int64_t kScanBlock = 1 << 20;

// The game starts of a frame's text from its first Event tag at which the scan can resume (where
// a plain file is split between cores), found by the thread that decoded the frame. Only the
// stretch before that tag is left to the scan that follows the text in order.
struct FrameScan final : io::FrameResult {
    std::int64_t from = 0;  // the tag's offset in the frame
    std::int64_t to = 0;    // the scan stopped before this offset
    GameStartScan rule{kUnknownLength};
    std::vector<std::int64_t> starts;  // after the tag, at kFrameBase + their offset in the frame
};

std::unique_ptr<io::FrameResult> ScanFrame(const char* text, std::size_t size) {
    // The scan looks ahead past where it stops; the rest of the frame is left to the scan in order.
    const std::int64_t to = static_cast<std::int64_t>(size) - GameStartScan::kAhead - GameStartScan::kPadding;
    // That scan reads through the tag's look-ahead before handing over.
    const std::int64_t last = to - kHeldBack - 1;
    for (std::int64_t at = GameStartScan::kBehind; at < last; ++at) {
        const void* bracket = std::memchr(text + at, '[', static_cast<std::size_t>(last - at));
        if (bracket == nullptr) break;
        at = static_cast<const char*>(bracket) - text;
        if (!GameStartScan::IsResumePoint(text + at - 6, kFrameBase + at, kUnknownLength)) continue;
        auto scan = std::make_unique<FrameScan>();
        scan->from = at;
        scan->to = to;
        scan->rule = GameStartScan::AfterEventTag(kFrameBase + at, kUnknownLength);
        for (std::int64_t p = at; p < to; p += kScanBlock) {
            scan->rule.Scan(text + p - GameStartScan::kBehind, kFrameBase + p, std::min(kScanBlock, to - p), scan->starts);
        }
        return scan;
    }
    return nullptr;
}

// Feeds the scan the text as it comes, keeping the few bytes it looks back and ahead at. Its
// positions are the file's, or, after a frame scanned by a worker, that frame's, shifted.
class StreamScan {
public:
    explicit StreamScan(std::vector<std::int64_t>& starts) : starts_(starts), work_(GameStartScan::kBehind + kSlack, '\0') {}

    // A block of text; a whole frame when `frame` tells what a worker found in it.
    void Add(const char* bytes, std::size_t size, io::FrameResult* frame) {
        auto* found = static_cast<FrameScan*>(frame);
        if (found == nullptr) return AddInBlocks(bytes, static_cast<std::int64_t>(size));
        const std::int64_t first = received_ + shift_ + 1;  // the file position of bytes[0]
        // The scan so far judges the frame's text through the "[" of the tag the worker's scan
        // resumed after, as a plain file's part does the next part's first tag.
        AddInBlocks(bytes, found->from + kHeldBack + 1);
        shift_ = first - kFrameBase;
        const std::size_t known = starts_.size();
        starts_.insert(starts_.end(), found->starts.begin(), found->starts.end());
        for (std::size_t k = known; k < starts_.size(); ++k) starts_[k] += shift_;
        rule_ = std::move(found->rule);
        scanned_ = kFrameBase + found->to;
        received_ = scanned_ - 1;
        filled_ = 0;
        Append(bytes + found->to - GameStartScan::kBehind, GameStartScan::kBehind);
        AddInBlocks(bytes + found->to, static_cast<std::int64_t>(size) - found->to);
    }
    void End(std::int64_t length) {
        rule_.SetLength(length - shift_);
        ScanBefore(length - shift_ + 1);
    }
    // How much text was scanned as if it were part of the file: more than the file holds when
    // damage found at the end of a frame or member cut the text back.
    [[nodiscard]] std::int64_t Received() const { return received_ + shift_; }

private:
    static constexpr std::size_t kSlack = GameStartScan::kAhead + GameStartScan::kPadding;

    void AddInBlocks(const char* bytes, std::int64_t size) {
        for (std::int64_t at = 0; at < size; at += kScanBlock) AddBlock(bytes + at, static_cast<std::size_t>(std::min(kScanBlock, size - at)));
    }

    void AddBlock(const char* bytes, std::size_t size) {
        const std::int64_t first = received_ + 1;  // the position of bytes[0]
        received_ += static_cast<std::int64_t>(size);
        const std::int64_t limit = received_ + 1 - kHeldBack;
        // A large block is scanned where it lies, all but its seams: copying all the text would
        // cost the scan a good part of its time again.
        const std::int64_t inPlaceEnd = std::min(limit, received_ + 1 - static_cast<std::int64_t>(kSlack));
        if (inPlaceEnd <= first + GameStartScan::kBehind) {
            Append(bytes, size);
            ScanBefore(limit);
            return;
        }
        Append(bytes, GameStartScan::kBehind + kSlack);  // what the scan up to first + kBehind reads
        ScanBefore(first + GameStartScan::kBehind);
        Scan(bytes, scanned_, inPlaceEnd - scanned_);
        scanned_ = inPlaceEnd;
        filled_ = 0;
        const std::int64_t keepFrom = scanned_ - GameStartScan::kBehind - first;
        Append(bytes + keepFrom, size - static_cast<std::size_t>(keepFrom));
        ScanBefore(limit);
    }

    void Append(const char* bytes, std::size_t size) {
        const std::size_t at = filled_;
        filled_ += size;
        work_.resize(filled_ + kSlack);
        std::memcpy(work_.data() + at, bytes, size);
    }

    // Scans the positions from scanned_ up to `limit`. work_[0] holds position scanned_ - kBehind.
    void ScanBefore(std::int64_t limit) {
        if (limit <= scanned_) return;
        Scan(work_.data(), scanned_, limit - scanned_);
        const auto drop = static_cast<std::size_t>(limit - scanned_);
        std::memmove(work_.data(), work_.data() + drop, filled_ - drop);
        filled_ -= drop;
        scanned_ = limit;
    }

    void Scan(const char* bytes, std::int64_t start, std::int64_t size) {
        const std::size_t known = starts_.size();
        rule_.Scan(bytes, start, size, starts_);
        if (shift_ != 0) {
            for (std::size_t k = known; k < starts_.size(); ++k) starts_[k] += shift_;
        }
    }

    std::vector<std::int64_t>& starts_;
    GameStartScan rule_{kUnknownLength};
    std::vector<char> work_;
    std::size_t filled_ = GameStartScan::kBehind;  // the text before position 1 reads as blanks
    std::int64_t scanned_ = 1;
    std::int64_t received_ = 0;
    std::int64_t shift_ = 0;  // the file position of position 0
};

// A checksum that fails at the end of a frame or member cuts the text back after the scan has
// already read past the cut, taking bytes the text no longer holds (and a length it did not know)
// into the starts near the end. Those are found again from the last start that lies far enough
// before the cut that nothing beyond it can have changed it.
void RescanBeforeCut(const std::shared_ptr<const io::ByteSource>& text, std::vector<std::int64_t>& starts) {
    PgnFile file;
    file.Open(FileRef({}, text));
    const std::int64_t length = file.Length();
    const auto sound = std::lower_bound(starts.begin(), starts.end(), length - 2 * kHeldBack);
    const std::int64_t from = sound == starts.begin() ? 1 : *std::prev(sound);
    starts.erase(sound == starts.begin() ? starts.begin() : std::prev(sound), starts.end());
    GameStartScan scan = from == 1 ? GameStartScan(length) : GameStartScan::ResumedAt(from, length);
    std::vector<char> block;
    constexpr std::int64_t kBlock = 1 << 20;
    for (std::int64_t at = from; at <= length; at += kBlock) ScanFileBlock(file, scan, at, std::min(kBlock, length + 1 - at), block, starts);
}

}  // namespace

PackedIndex IndexPacked(const io::PackedRegion& region, const ProgressFn& progress, const ScanOptions& options) {
    PackedIndex result;
    GameIndex& index = result.index;
    index.longScan = IsLongScan(region.to - region.from);
    StreamScan scan(index.GameOffsets);
    std::atomic<std::int64_t> games{0};
    using Clock = std::chrono::steady_clock;
    auto due = Clock::now() + options.progressEvery;
    const io::Unpacked unpacked = io::Unpack(region, [&](const char* bytes, std::size_t size, double share, io::FrameResult* frame) {
        scan.Add(bytes, size, frame);
        games.store(index.GameCount(), std::memory_order_relaxed);
        if (!progress || Clock::now() < due) return true;
        due = Clock::now() + options.progressEvery;
        return progress({.games = index.GameCount(), .percent = 100 * share});
    }, &games, {}, ScanFrame);
    const std::int64_t length = unpacked.text->Length();
    scan.End(length);
    if (scan.Received() > length) RescanBeforeCut(unpacked.text, index.GameOffsets);
    index.stopped = unpacked.stopped;
    result.text = unpacked.text;
    result.damage = unpacked.damage;
    return result;
}

}  // namespace tavrel::pgn
