#pragma once
// The one pass of decompression over a packed region: the text is handed on block by block, in
// order, and the restart points are kept on the way, so that the text can later be read at any
// position (PackedText) without decompressing it again from the start.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "FrameWork.h"
#include "PackedText.h"
#include "Packing.h"

namespace tavrel::io {

struct UnpackOptions {
    // The least text between two restart points. With a 32 KiB window a point, 1 MiB keeps them
    // to 32 MiB a GiB of text, and reading at any position decompresses at most that much first.
    std::int64_t spacing = 1 << 20;
    // And at least this many times what the point keeps: a point inside a zstd frame keeps the
    // frame's window (2 MiB at the usual levels) and the decoder's state, so that points take
    // at most about 1/18 of the text, under 64 MiB a GiB.
    std::int64_t textPerKeptByte = 18;
    std::size_t blockBytes = 1 << 20;  // handed on at a time
    // Threads decoding the frames of a many-frame zstd region at once: 0 for one a core (up to
    // 4); -1 decodes it as one stream, on one thread, as any other region.
    int workers = 0;
    // The most text such a frame may hold to be decoded whole on a worker; a larger one, and all
    // after it, is decoded as one stream. Parallel compressors make frames of 4 times their window.
    std::size_t frameTextMax = 32 << 20;
};

// Called on the calling thread with each block of text in order, and how far through the packed
// bytes the pass is (0 to 1); returning false stops the pass. With frame work, each frame the
// workers decoded comes whole, with what the work found in it (nothing for other text).
using TextSink = std::function<bool(const char* bytes, std::size_t size, double share, FrameResult* frame)>;

struct Unpacked {
    std::shared_ptr<const PackedText> text;  // the text up to the damage, if any
    std::string damage;                      // why the text ends early; empty when it is whole
    bool stopped = false;                    // the sink asked to stop
};

// Decompresses `region` on threads of its own while `sink` takes the blocks. `marks` counts the
// places the caller wants to read from later (game starts): a restart point is kept only after a
// new one, so that a stream that expands to text without them costs no memory. `work` is done
// on each frame that the workers decode (a many-frame zstd region), on the worker.
Unpacked Unpack(const PackedRegion& region, const TextSink& sink, const std::atomic<std::int64_t>* marks = nullptr,
                const UnpackOptions& options = {}, const FrameWork& work = {});

}  // namespace tavrel::io
