#pragma once
// Work a caller does on the text of each whole frame of a many-frame zstd region, on the thread
// that decoded the frame, as soon as it is decoded: so that what is done with the text runs on
// every core beside the decoding, rather than on one thread following the frames in order.

#include <cstddef>
#include <functional>
#include <memory>

namespace tavrel::io {

// What the work found in one frame; it comes back with the frame's text, in order.
struct FrameResult {
    virtual ~FrameResult() = default;
};

// Given a frame's text; may return nothing.
using FrameWork = std::function<std::unique_ptr<FrameResult>(const char* text, std::size_t size)>;

}  // namespace tavrel::io
