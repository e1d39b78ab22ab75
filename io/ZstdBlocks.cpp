// libzstd's block-by-block interface lets the caller own the buffer the text is decoded into.
// That is what makes a kept state possible: between two blocks the context holds the entropy
// tables, repeat offsets and checksum so far, and pointers into itself and into the round
// buffer; the text the next blocks may refer to is the window before the current position. Put
// both back into the same context and the same buffer, and decoding goes on as if it had never
// left. The literals a block spills into the buffer past its own text live only while that
// block decodes, so they are no part of the state.
#define ZSTD_STATIC_LINKING_ONLY
#define ZSTD_DISABLE_DEPRECATE_WARNINGS  // ZSTD_copyDCtx: the one way to copy a context's state
#include "ZstdBlocks.h"

#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <cstring>

namespace tavrel::io {
namespace {

// Beyond this window a kept state would cost more memory than the decoding it saves is worth;
// such frames (long-distance mode, the highest levels) are read from their start.
constexpr std::uint64_t kKeptWindowMax = 8 << 20;

// What a kept state begins with, padded to kHeadBytes; the context follows, then the window.
struct KeptHead {
    const void* ctx;
    const void* buffer;
    std::size_t capacity;
    std::size_t size;
    std::size_t at;
    std::size_t wrapEnd;
    std::size_t blockMax;
    std::uint64_t contentSize;
    std::uint64_t windowSize;
    std::uint64_t frameText;
    std::size_t recent;  // the window's bytes just before `at`
    std::size_t older;   // and those before, ending at `wrapEnd`
};
constexpr std::size_t kHeadBytes = 128;
static_assert(sizeof(KeptHead) <= kHeadBytes);

std::size_t ContextBytes() {
    static const std::size_t bytes = (ZSTD_estimateDCtxSize() + 15) / 16 * 16;
    return bytes;
}

}  // namespace

ZstdBlocks::ZstdBlocks() : ctx_(ZSTD_createDCtx()) {}

ZstdBlocks::~ZstdBlocks() { ZSTD_freeDCtx(ctx_); }

ZstdBlocks::Start ZstdBlocks::Begin(const unsigned char* head, std::size_t size) {
    Start start;
    inFrame_ = false;
    ZSTD_frameHeader header{};
    const std::size_t wanted = ZSTD_getFrameHeader(&header, head, size);
    if (ZSTD_isError(wanted)) {
        start.why = ZSTD_getErrorName(wanted);
        return start;
    }
    if (wanted > 0) {
        start.cutShort = true;
        return start;
    }
    if (header.frameType == ZSTD_skippableFrame) {
        // Its header size is not filled in for a skippable frame: it is the format's fixed one.
        start.skip = static_cast<std::int64_t>(ZSTD_SKIPPABLEHEADERSIZE + header.frameContentSize);
        return start;
    }
    // The limit libzstd's own streaming decoder keeps to, so that a header cannot ask for any memory.
    if (header.windowSize > (1ULL << ZSTD_WINDOWLOG_LIMIT_DEFAULT)) {
        start.why = ZSTD_getErrorString(ZSTD_error_frameParameter_windowTooLarge);
        return start;
    }
    const std::size_t needed = ZSTD_decodingBufferSize_min(header.windowSize, header.frameContentSize);
    const std::size_t begun = ZSTD_isError(needed) ? needed : ZSTD_decompressBegin(ctx_);
    if (ZSTD_isError(begun)) {
        start.why = ZSTD_getErrorName(begun);
        return start;
    }
    if (needed > capacity_) {
        buffer_.reset();
        buffer_.reset(new unsigned char[needed]);
        capacity_ = needed;
    }
    inFrame_ = true;
    contentSize_ = header.frameContentSize;
    windowSize_ = header.windowSize;
    blockMax_ = header.blockSizeMax;
    size_ = needed;
    pendingFrom_ = pendingTo_ = wrapEnd_ = 0;
    frameText_ = 0;
    return start;
}

std::size_t ZstdBlocks::Wants() const { return inFrame_ ? ZSTD_nextSrcSizeToDecompress(ctx_) : 0; }

std::string ZstdBlocks::Feed(const unsigned char* bytes, std::size_t size, bool& checksum) {
    // The frame header decodes to nothing; each block next to the one before, until the buffer
    // has no room for a whole block (Take then returns to its start).
    const bool header = ZSTD_nextInputType(ctx_) == ZSTDnit_frameHeader;
    unsigned char* at = header ? nullptr : buffer_.get() + pendingTo_;
    const std::size_t made = ZSTD_decompressContinue(ctx_, at, header ? 0 : size_ - pendingTo_, bytes, size);
    if (ZSTD_isError(made)) {
        checksum = ZSTD_getErrorCode(made) == ZSTD_error_checksum_wrong;
        inFrame_ = false;
        return ZSTD_getErrorName(made);
    }
    pendingTo_ += made;
    if (ZSTD_nextSrcSizeToDecompress(ctx_) == 0) inFrame_ = false;
    return {};
}

std::size_t ZstdBlocks::Take(char* out, std::size_t size) {
    const std::size_t n = std::min(size, pendingTo_ - pendingFrom_);
    if (n > 0) std::memcpy(out, buffer_.get() + pendingFrom_, n);
    pendingFrom_ += n;
    frameText_ += n;
    if (pendingFrom_ == pendingTo_ && inFrame_ && size_ < contentSize_ && pendingTo_ + blockMax_ > size_) {
        wrapEnd_ = pendingTo_;
        pendingFrom_ = pendingTo_ = 0;
    }
    return n;
}

bool ZstdBlocks::BetweenBlocks() const {
    return inFrame_ && !Pending() && frameText_ > 0 && ZSTD_nextInputType(ctx_) == ZSTDnit_blockHeader;
}

std::size_t ZstdBlocks::KeepCost() const {
    if (windowSize_ > kKeptWindowMax) return 0;
    return kHeadBytes + ContextBytes() + static_cast<std::size_t>(std::min(windowSize_, frameText_));
}

void ZstdBlocks::Keep(std::vector<unsigned char>& out) const {
    const auto window = static_cast<std::size_t>(std::min(windowSize_, frameText_));
    KeptHead head{ctx_, buffer_.get(), capacity_, size_, pendingTo_, wrapEnd_, blockMax_, contentSize_, windowSize_, frameText_,
                  std::min(window, pendingTo_), 0};
    head.older = window - head.recent;
    out.assign(kHeadBytes + ContextBytes() + window, 0);
    std::memcpy(out.data(), &head, sizeof head);
    ZSTD_DCtx* copy = ZSTD_initStaticDCtx(out.data() + kHeadBytes, ContextBytes());
    if (!copy) {  // not where a context may lie: a state that Resume refuses
        out.clear();
        return;
    }
    ZSTD_copyDCtx(copy, ctx_);
    unsigned char* bytes = out.data() + kHeadBytes + ContextBytes();
    std::memcpy(bytes, buffer_.get() + pendingTo_ - head.recent, head.recent);
    std::memcpy(bytes + head.recent, buffer_.get() + wrapEnd_ - head.older, head.older);
}

std::size_t ZstdBlocks::Footprint() const { return capacity_ + ContextBytes(); }

bool ZstdBlocks::Resume(const unsigned char* state, std::size_t size) {
    KeptHead head{};
    if (size < kHeadBytes + ContextBytes() || reinterpret_cast<std::uintptr_t>(state) % 16 != 0) return false;
    std::memcpy(&head, state, sizeof head);
    if (head.ctx != ctx_ || head.buffer != buffer_.get() || head.capacity != capacity_ ||
        size != kHeadBytes + ContextBytes() + head.recent + head.older) {
        return false;
    }
    ZSTD_copyDCtx(ctx_, reinterpret_cast<const ZSTD_DCtx*>(state + kHeadBytes));
    const unsigned char* bytes = state + kHeadBytes + ContextBytes();
    std::memcpy(buffer_.get() + head.at - head.recent, bytes, head.recent);
    std::memcpy(buffer_.get() + head.wrapEnd - head.older, bytes + head.recent, head.older);
    inFrame_ = true;
    contentSize_ = head.contentSize;
    windowSize_ = head.windowSize;
    blockMax_ = head.blockMax;
    size_ = head.size;
    pendingFrom_ = pendingTo_ = head.at;
    wrapEnd_ = head.wrapEnd;
    frameText_ = head.frameText;
    return true;
}

}  // namespace tavrel::io
