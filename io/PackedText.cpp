#include "PackedText.h"

#include <algorithm>
#include <cstring>

#include "Decoder.h"

namespace tavrel::io {
namespace {

constexpr std::int64_t kChunkBytes = 256 * 1024;
// A game and the ones around it fit in the chunks kept; every reading thread keeps its place in
// the stream with a decoder of its own.
constexpr std::size_t kChunksKept = 32;
constexpr std::size_t kCursorsKept = 4;
constexpr std::int64_t kResumeSlack = 8 << 20;

}  // namespace

PackedText::PackedText(PackedRegion region, std::vector<RestartPoint> points, std::vector<std::vector<unsigned char>> windows,
                       std::int64_t length, std::unique_ptr<Decoder> home)
    : region_(std::move(region)), points_(std::move(points)), windows_(std::move(windows)), length_(length), home_(std::move(home)) {
    if (points_.empty() || points_.front().text != 0) points_.insert(points_.begin(), RestartPoint{.packed = region_.from});
}

PackedText::~PackedText() = default;

std::size_t PackedText::RestartBytes() const {
    std::size_t bytes = points_.capacity() * sizeof(RestartPoint) + windows_.capacity() * sizeof(windows_.front());
    for (const auto& window : windows_) bytes += window.capacity();
    return bytes + (home_ ? home_->Footprint() : 0);
}

bool PackedText::Inside(const RestartPoint& point) const { return point.midStream && region_.packing == Packing::Zstd; }

const RestartPoint& PackedText::PointBefore(std::int64_t text, bool plain) const {
    auto point = std::prev(std::upper_bound(points_.begin(), points_.end(), text,
                                            [](std::int64_t t, const RestartPoint& p) { return t < p.text; }));
    while (plain && Inside(*point)) --point;  // the first point, the region's start, is plain
    return *point;
}

std::size_t PackedText::ReadAt(std::int64_t offset, char* out, std::size_t size) const {
    std::size_t copied = 0;
    while (copied < size && offset + static_cast<std::int64_t>(copied) < length_ && offset >= 0) {
        const std::int64_t at = offset + static_cast<std::int64_t>(copied);
        const Bytes chunk = ChunkAt(at / kChunkBytes);
        const auto from = static_cast<std::size_t>(at % kChunkBytes);
        if (from >= chunk->size()) break;
        const std::size_t take = std::min(size - copied, chunk->size() - from);
        std::memcpy(out + copied, chunk->data() + from, take);
        copied += take;
    }
    return copied;
}

PackedText::Bytes PackedText::ChunkAt(std::int64_t index) const {
    const std::int64_t from = index * kChunkBytes;
    {
        const std::lock_guard lock(mutex_);
        for (Chunk& chunk : chunks_) {
            if (chunk.index != index) continue;
            chunk.used = ++clock_;
            return chunk.bytes;
        }
    }
    // A decoder already on its way is worth taking when it has no more to decode than one from
    // the point before the chunk would; else the home decoder starts again inside a zstd frame;
    // else a new decoder starts at the point before the chunk. Starting the home decoder again
    // costs more than decoding from a point, and it may be serving another reader on its way, so
    // a decoder a little further back is still taken.
    const RestartPoint& nearest = PointBefore(from, !home_);
    const std::int64_t back = nearest.text - (Inside(nearest) ? kResumeSlack : 0);
    std::unique_ptr<Decoder> cursor;
    {
        const std::lock_guard lock(mutex_);
        auto best = cursors_.end();
        for (auto it = cursors_.begin(); it != cursors_.end(); ++it) {
            const std::int64_t at = (*it)->Position();
            if (at <= from && at >= back && (best == cursors_.end() || at > (*best)->Position())) best = it;
        }
        if (best != cursors_.end()) {
            cursor = std::move(*best);
            cursors_.erase(best);
        }
    }
    Bytes bytes = !cursor && Inside(nearest) ? Decoded(from, nearest) : nullptr;
    if (!bytes) {
        if (!cursor) {
            const RestartPoint& point = PointBefore(from, true);
            const std::vector<unsigned char>* window = point.window >= 0 ? &windows_[static_cast<std::size_t>(point.window)] : nullptr;
            cursor = std::make_unique<Decoder>(region_, point, window ? window->data() : nullptr, window ? window->size() : 0);
        }
        bytes = Decode(*cursor, from);
        if (!cursor->Ended()) {
            const std::lock_guard lock(mutex_);
            cursors_.push_back(std::move(cursor));
            if (cursors_.size() > kCursorsKept) cursors_.erase(cursors_.begin());
        }
    }
    const std::lock_guard lock(mutex_);
    chunks_.push_back({index, bytes, ++clock_});
    if (chunks_.size() > kChunksKept) {
        chunks_.erase(std::min_element(chunks_.begin(), chunks_.end(), [](const Chunk& a, const Chunk& b) { return a.used < b.used; }));
    }
    return bytes;
}

PackedText::Bytes PackedText::Decoded(std::int64_t from, const RestartPoint& point) const {
    const std::lock_guard lock(homeMutex_);
    const std::int64_t at = home_->Position();
    const bool onItsWay = !home_->Ended() && at >= point.text && at <= from;
    const auto& window = windows_[static_cast<std::size_t>(point.window)];
    if (!onItsWay && !home_->Resume(point, window.data(), window.size())) return nullptr;
    return Decode(*home_, from);
}

PackedText::Bytes PackedText::Decode(Decoder& cursor, std::int64_t from) const {
    cursor.Skip(from - cursor.Position());
    auto bytes = std::make_shared<std::vector<char>>(static_cast<std::size_t>(std::min(kChunkBytes, length_ - from)));
    std::size_t got = 0;
    while (got < bytes->size()) {
        const std::size_t n = cursor.Read(bytes->data() + got, bytes->size() - got);
        if (n == 0) break;
        got += n;
    }
    bytes->resize(got);
    return bytes;
}

}  // namespace tavrel::io
