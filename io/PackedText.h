#pragma once
// The text of a compressed file read at any position: decompression starts again at the restart
// point before the position asked for, and what was decompressed last is kept a while, since
// readers tend to ask for the same stretch again or for the one after it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "ByteSource.h"
#include "Packing.h"

namespace tavrel::io {

class Decoder;

class PackedText final : public ByteSource {
public:
    // The first of `points` is the region's start; `windows` are the points' windows by index.
    // `home` is the decoder that kept the states of the points inside zstd frames, if any: only
    // it can start again from them.
    PackedText(PackedRegion region, std::vector<RestartPoint> points, std::vector<std::vector<unsigned char>> windows,
               std::int64_t length, std::unique_ptr<Decoder> home);
    ~PackedText() override;

    [[nodiscard]] std::int64_t Length() const override { return length_; }
    std::size_t ReadAt(std::int64_t offset, char* out, std::size_t size) const override;

    [[nodiscard]] std::size_t RestartCount() const { return points_.size(); }
    // The memory the restart points hold, windows and the decoder that alone reads from some included.
    [[nodiscard]] std::size_t RestartBytes() const;

private:
    using Bytes = std::shared_ptr<const std::vector<char>>;
    struct Chunk {
        std::int64_t index = 0;
        Bytes bytes;
        std::uint64_t used = 0;
    };
    Bytes ChunkAt(std::int64_t index) const;
    // The last point at or before `text`; with `plain`, the last a new decoder can start from.
    const RestartPoint& PointBefore(std::int64_t text, bool plain) const;
    [[nodiscard]] bool Inside(const RestartPoint& point) const;  // a point inside a zstd frame
    // The chunk from `from` read by `cursor`, which is placed at or before it.
    Bytes Decode(Decoder& cursor, std::int64_t from) const;
    Bytes Decoded(std::int64_t from, const RestartPoint& point) const;  // by the home decoder

    PackedRegion region_;
    std::vector<RestartPoint> points_;
    std::vector<std::vector<unsigned char>> windows_;
    std::int64_t length_;

    mutable std::mutex mutex_;  // guards what follows; decompression itself runs outside it
    mutable std::vector<Chunk> chunks_;
    mutable std::vector<std::unique_ptr<Decoder>> cursors_;  // idle decoders, oldest first
    mutable std::uint64_t clock_ = 0;
    mutable std::mutex homeMutex_;  // guards the home decoder, for the whole time it decodes
    std::unique_ptr<Decoder> home_;
};

}  // namespace tavrel::io
