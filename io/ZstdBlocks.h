#pragma once
// Zstd frames decoded block by block through a round buffer this object owns. Between two
// blocks the whole decoding state is this object's context and the window of text before the
// block, so it can be kept (Keep) and put back later (Resume) to decode on from there: a place
// to start again inside a frame, which the format itself does not give.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ZSTD_DCtx_s;

namespace tavrel::io {

class ZstdBlocks {
public:
    ZstdBlocks();
    ~ZstdBlocks();
    ZstdBlocks(const ZstdBlocks&) = delete;
    ZstdBlocks& operator=(const ZstdBlocks&) = delete;

    [[nodiscard]] bool Ready() const { return ctx_ != nullptr; }

    // What begins at `head` (its first `size` bytes, kFrameHead of them when there are that many).
    struct Start {
        std::string why;        // it cannot be decoded: the words for it
        bool cutShort = false;  // the bytes end inside its header
        std::int64_t skip = 0;  // a skippable frame of this many bytes, its header included
    };
    static constexpr std::size_t kFrameHead = 18;
    Start Begin(const unsigned char* head, std::size_t size);

    // How many bytes the next step takes, exactly; 0 once the frame has ended.
    [[nodiscard]] std::size_t Wants() const;
    // Feeds exactly Wants() bytes. Empty, or why the frame is damaged (`checksum` when only the
    // frame's checksum failed).
    std::string Feed(const unsigned char* bytes, std::size_t size, bool& checksum);
    // Text decoded and not yet taken, into `out`; returns how many bytes.
    std::size_t Take(char* out, std::size_t size);
    [[nodiscard]] bool Pending() const { return pendingFrom_ < pendingTo_; }

    // All text taken and a block next, past the frame's first: a place the state can be kept.
    [[nodiscard]] bool BetweenBlocks() const;
    // How many bytes Keep would keep; 0 when the frame's window is too large to keep at all.
    [[nodiscard]] std::size_t KeepCost() const;
    // Appends the state between two blocks to `out`, which must be empty.
    void Keep(std::vector<unsigned char>& out) const;
    // Puts back a state Keep made of this very object (its context and buffer stay where they
    // were, and the state points into both); false for any other, which is left alone.
    bool Resume(const unsigned char* state, std::size_t size);
    // How much of the frame's text comes before the next byte Take gives.
    [[nodiscard]] std::uint64_t FrameText() const { return frameText_; }
    // The memory this object holds.
    [[nodiscard]] std::size_t Footprint() const;

private:
    ZSTD_DCtx_s* ctx_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t capacity_ = 0;
    bool inFrame_ = false;
    // The frame being decoded, and where the round buffer stands in it.
    std::uint64_t contentSize_ = 0;
    std::uint64_t windowSize_ = 0;
    std::size_t blockMax_ = 0;
    std::size_t size_ = 0;  // the round buffer's length for this frame
    std::size_t pendingFrom_ = 0, pendingTo_ = 0;
    std::size_t wrapEnd_ = 0;  // where the text before the last return to the buffer's start ends
    std::uint64_t frameText_ = 0;
};

}  // namespace tavrel::io
