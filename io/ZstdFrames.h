#pragma once
// The frames of a many-frame zstd region (as parallel compressors write them) decoded whole, each
// on whichever of a few worker threads is free, and handed back in their order. Independent
// frames are what lets the decompression use every core while the caller reads the text.
//
// Only the plain case is taken here: a frame of bounded size that decodes cleanly. At the first
// frame that is anything else (too large, damaged, cut short, not zstd at all) the frames stop,
// and the caller decodes on from that frame's start the one-stream way, which says what is wrong
// with it exactly as it would have from the region's start.

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "FrameWork.h"
#include "Packing.h"

namespace tavrel::io {

class ZstdFrames {
public:
    // `textMax` is the most text a frame may hold to be decoded here; larger ones are left to the
    // caller. The text decoded ahead of the caller is a few frames' worth at most. `work`, if
    // any, is done on each frame by the worker that decoded it.
    ZstdFrames(const PackedRegion& region, int workers, std::size_t textMax, FrameWork work = {});
    ~ZstdFrames();  // stops the workers
    ZstdFrames(const ZstdFrames&) = delete;
    ZstdFrames& operator=(const ZstdFrames&) = delete;

    struct Frame {
        const char* text = nullptr;  // valid until the next call of Next
        std::size_t size = 0;
        std::int64_t packedEnd = 0;  // where the packed bytes after the frame begin
        FrameResult* result = nullptr;  // what the work found in it; valid as the text is
    };
    // The next frame's text; none when the frames end here (Whole tells how).
    std::optional<Frame> Next();
    // The region ended after the last frame handed back: nothing is left to decode.
    [[nodiscard]] bool Whole() const { return whole_; }
    // Else where the caller decodes on from: the packed bytes after the last frame handed back.
    [[nodiscard]] std::int64_t GoOnAt() const { return goOnAt_; }

private:
    struct Buffer;
    struct Job {
        enum Kind { Text, Stop, End } kind = Stop;
        std::int64_t packed = 0;     // where looking for the frame began
        std::int64_t packedEnd = 0;  // after the frame
        std::unique_ptr<Buffer> out;
        std::size_t size = 0;
        std::unique_ptr<FrameResult> result;
    };
    void Work();
    // Under the lock: finds the next frame from searchAt_ and reads its packed bytes into `input`.
    Job Claim(std::vector<unsigned char>& input, std::size_t& inputSize);
    std::unique_ptr<Buffer> TakeBuffer();  // under the lock

    PackedRegion region_;
    std::size_t textMax_;
    FrameWork work_;
    std::size_t packedMax_;  // a frame whose packed bytes run past this holds more text, or is damaged
    // Frames claimed and not yet handed back, at most: two a worker, so that a worker whose frame
    // was quick seldom waits for a slower one before it, the frames being handed back in order.
    std::size_t ahead_;

    std::mutex mutex_;  // guards what follows
    std::condition_variable changed_;
    std::int64_t searchAt_;
    bool searchDone_ = false;  // a frame the workers do not take, or the region's end, has been found
    bool stopping_ = false;
    std::int64_t claimed_ = 0;  // frames claimed so far
    std::int64_t handed_ = 0;   // frames handed back so far
    std::map<std::int64_t, Job> done_;
    std::vector<std::unique_ptr<Buffer>> free_;
    std::unique_ptr<Buffer> held_;  // the text of the frame last handed back
    std::unique_ptr<FrameResult> heldResult_;  // and what the work found in it

    bool whole_ = false;
    std::int64_t goOnAt_;
    std::vector<std::jthread> workers_;
};

}  // namespace tavrel::io
