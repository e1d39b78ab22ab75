#include "PackedIndex.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "GameStarts.h"
#include "io/Unpack.h"

namespace tavrel::pgn {
namespace {

// The scan learns the text's length only at its end; until then it is held back far enough from
// what has been decompressed that the length it was given cannot matter.
constexpr std::int64_t kUnknownLength = INT64_MAX / 4;
constexpr std::int64_t kHeldBack = GameStartScan::kAhead + 16;

// Feeds the scan the text as it comes, keeping the few bytes it looks back and ahead at.
class StreamScan {
public:
    explicit StreamScan(std::vector<std::int64_t>& starts) : starts_(starts), work_(GameStartScan::kBehind + kSlack, '\0') {}

    void Add(const char* bytes, std::size_t size) {
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
        rule_.Scan(bytes, scanned_, inPlaceEnd - scanned_, starts_);
        scanned_ = inPlaceEnd;
        filled_ = 0;
        const std::int64_t keepFrom = scanned_ - GameStartScan::kBehind - first;
        Append(bytes + keepFrom, size - static_cast<std::size_t>(keepFrom));
        ScanBefore(limit);
    }
    void End(std::int64_t length) {
        rule_.SetLength(length);
        ScanBefore(length + 1);
    }
    // How much text was scanned as if it were part of the file: more than the file holds when
    // damage found at the end of a frame or member cut the text back.
    [[nodiscard]] std::int64_t Received() const { return received_; }

private:
    static constexpr std::size_t kSlack = GameStartScan::kAhead + GameStartScan::kPadding;

    void Append(const char* bytes, std::size_t size) {
        const std::size_t at = filled_;
        filled_ += size;
        work_.resize(filled_ + kSlack);
        std::memcpy(work_.data() + at, bytes, size);
    }

    // Scans the positions from scanned_ up to `limit`. work_[0] holds position scanned_ - kBehind.
    void ScanBefore(std::int64_t limit) {
        if (limit <= scanned_) return;
        rule_.Scan(work_.data(), scanned_, limit - scanned_, starts_);
        const auto drop = static_cast<std::size_t>(limit - scanned_);
        std::memmove(work_.data(), work_.data() + drop, filled_ - drop);
        filled_ -= drop;
        scanned_ = limit;
    }

    std::vector<std::int64_t>& starts_;
    GameStartScan rule_{kUnknownLength};
    std::vector<char> work_;
    std::size_t filled_ = GameStartScan::kBehind;  // the text before position 1 reads as blanks
    std::int64_t scanned_ = 1;
    std::int64_t received_ = 0;
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
    const io::Unpacked unpacked = io::Unpack(region, [&](const char* bytes, std::size_t size, double share) {
        scan.Add(bytes, size);
        games.store(index.GameCount(), std::memory_order_relaxed);
        if (!progress || Clock::now() < due) return true;
        due = Clock::now() + options.progressEvery;
        return progress({.games = index.GameCount(), .percent = 100 * share});
    }, &games);
    const std::int64_t length = unpacked.text->Length();
    scan.End(length);
    if (scan.Received() > length) RescanBeforeCut(unpacked.text, index.GameOffsets);
    index.stopped = unpacked.stopped;
    result.text = unpacked.text;
    result.damage = unpacked.damage;
    return result;
}

}  // namespace tavrel::pgn
