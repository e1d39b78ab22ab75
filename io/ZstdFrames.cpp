#define ZSTD_STATIC_LINKING_ONLY  // ZSTD_getFrameHeader: a frame's window, size and kind before decoding it
#include "ZstdFrames.h"

#include <sys/mman.h>
#include <zstd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tavrel::io {
namespace {

// Read first when no size frame tells a frame's packed size; doubled until the frame is all in.
constexpr std::size_t kFirstGuess = 1 << 20;
// Parallel compressors put before each frame a skippable frame of this magic holding the frame's
// packed size (4 bytes, little-endian).
constexpr unsigned char kSizeFrame[] = {0x50, 0x2a, 0x4d, 0x18, 0x04, 0x00, 0x00, 0x00};

struct ContextDeleter {
    void operator()(ZSTD_DCtx* ctx) const { ZSTD_freeDCtx(ctx); }
};

}  // namespace

struct ZstdFrames::Buffer {
    // Left unwritten until a frame's text lands in it, so that only what frames hold takes memory.
    // In huge pages where the system gives them on request: a frame's text spans thousands of
    // small ones, whose first touches and address lookups the decoding and the work on the text
    // would pay again and again.
    explicit Buffer(std::size_t size) {
        constexpr std::size_t kHugePage = 2 << 20;
        const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
        bytes.reset(static_cast<char*>(std::aligned_alloc(kHugePage, rounded)));
        if (!bytes) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        ::madvise(bytes.get(), rounded, MADV_HUGEPAGE);
#endif
    }
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> bytes;
};

ZstdFrames::ZstdFrames(const PackedRegion& region, int workers, std::size_t textMax, FrameWork work)
    : region_(region),
      textMax_(textMax),
      work_(std::move(work)),
      packedMax_(ZSTD_compressBound(textMax) + (64 << 10)),
      ahead_(2 * static_cast<std::size_t>(std::max(1, workers))), searchAt_(region.from), goOnAt_(region.from) {
    for (int k = 0; k < std::max(1, workers); ++k) workers_.emplace_back([this] { Work(); });
}

ZstdFrames::~ZstdFrames() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    workers_.clear();
}

std::unique_ptr<ZstdFrames::Buffer> ZstdFrames::TakeBuffer() {
    if (free_.empty()) return std::make_unique<Buffer>(textMax_);
    std::unique_ptr<Buffer> buffer = std::move(free_.back());
    free_.pop_back();
    return buffer;
}

void ZstdFrames::Work() {
    const std::unique_ptr<ZSTD_DCtx, ContextDeleter> ctx(ZSTD_createDCtx());
    std::vector<unsigned char> input;
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return stopping_ || searchDone_ || claimed_ - handed_ < static_cast<std::int64_t>(ahead_); });
        if (stopping_ || searchDone_) return;
        const std::int64_t number = claimed_++;
        std::size_t inputSize = 0;
        // Found and read under the lock: the packed bytes are read in order, once.
        Job job = Claim(input, inputSize);
        if (job.kind == Job::Text) {
            job.out = TakeBuffer();
            lock.unlock();
            const std::size_t made = ctx ? ZSTD_decompressDCtx(ctx.get(), job.out->bytes.get(), textMax_, input.data(), inputSize)
                                         : static_cast<std::size_t>(-1);
            if (!ZSTD_isError(made) && work_) job.result = work_(job.out->bytes.get(), made);
            lock.lock();
            if (ZSTD_isError(made)) {  // damaged, or more text than taken here: the caller decodes it
                job.kind = Job::Stop;
                free_.push_back(std::move(job.out));
                searchDone_ = true;
            } else {
                job.size = made;
            }
        }
        done_.emplace(number, std::move(job));
        changed_.notify_all();
    }
}

ZstdFrames::Job ZstdFrames::Claim(std::vector<unsigned char>& input, std::size_t& inputSize) {
    Job job;
    job.packed = searchAt_;
    searchDone_ = true;  // unless a frame is found
    std::int64_t at = searchAt_;
    std::size_t sizeTold = 0;
    while (true) {
        if (at >= region_.to) {
            // An empty region is cut short, which the caller's decoding says.
            job.kind = at > region_.from ? Job::End : Job::Stop;
            return job;
        }
        unsigned char head[ZSTD_FRAMEHEADERSIZE_MAX] = {};
        const std::size_t got = region_.file->ReadAt(at, head, static_cast<std::size_t>(std::min<std::int64_t>(sizeof head, region_.to - at)));
        ZSTD_frameHeader header{};
        if (ZSTD_getFrameHeader(&header, head, got) != 0) return job;
        if (header.frameType == ZSTD_skippableFrame) {
            const auto skip = static_cast<std::int64_t>(ZSTD_SKIPPABLEHEADERSIZE + header.frameContentSize);
            if (skip > region_.to - at) return job;
            sizeTold = 0;
            if (got >= sizeof kSizeFrame + 4 && std::memcmp(head, kSizeFrame, sizeof kSizeFrame) == 0) {
                sizeTold = head[8] | head[9] << 8 | head[10] << 16 | static_cast<std::size_t>(head[11]) << 24;
            }
            at += skip;
            continue;
        }
        if (header.windowSize > textMax_ || (header.frameContentSize != ZSTD_CONTENTSIZE_UNKNOWN && header.frameContentSize > textMax_)) {
            return job;
        }
        // The frame's packed bytes: as many as its size frame told, else more until they hold its end.
        const auto left = static_cast<std::size_t>(std::min<std::int64_t>(region_.to - at, static_cast<std::int64_t>(packedMax_)));
        std::size_t want = std::min(sizeTold > 0 ? sizeTold : kFirstGuess, left);
        std::size_t have = 0;
        while (true) {
            if (input.size() < want) input.resize(want);
            const std::size_t read = region_.file->ReadAt(at + static_cast<std::int64_t>(have), input.data() + have, want - have);
            have += read;
            const std::size_t size = ZSTD_findFrameCompressedSize(input.data(), have);
            if (!ZSTD_isError(size)) {
                inputSize = size;
                job.kind = Job::Text;
                job.packedEnd = at + static_cast<std::int64_t>(size);
                searchAt_ = job.packedEnd;
                searchDone_ = false;
                return job;
            }
            if (have < want || want == left) return job;
            want = std::min(want * 2, left);
        }
    }
}

std::optional<ZstdFrames::Frame> ZstdFrames::Next() {
    const std::unique_ptr<FrameResult> done = std::move(heldResult_);  // let go of after the lock
    std::unique_lock lock(mutex_);
    if (held_) free_.push_back(std::move(held_));
    if (stopping_) return std::nullopt;
    changed_.wait(lock, [&] { return done_.contains(handed_); });
    Job job = std::move(done_.extract(handed_).mapped());
    ++handed_;
    changed_.notify_all();
    if (job.kind == Job::Text) {
        held_ = std::move(job.out);
        heldResult_ = std::move(job.result);
        return Frame{.text = held_->bytes.get(), .size = job.size, .packedEnd = job.packedEnd, .result = heldResult_.get()};
    }
    whole_ = job.kind == Job::End;
    goOnAt_ = job.packed;
    stopping_ = true;
    return std::nullopt;
}

}  // namespace tavrel::io
