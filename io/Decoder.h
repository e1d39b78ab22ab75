#pragma once
// Decompresses a packed region as a stream, from its start or from a restart point, telling the
// places where it could start again (frame and member starts, deflate and zstd block ends) as it
// passes them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Packing.h"

namespace tavrel::io {

class ZstdBlocks;

class Decoder {
public:
    // Decodes `region` from `point`; `window` is the point's window when it lies mid-stream. From
    // the region's start, checksums are checked as the format has them.
    Decoder(const PackedRegion& region, const RestartPoint& point, const unsigned char* window, std::size_t windowSize);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Up to `size` bytes of text into `out`; returns how many. Fewer than asked at the end, on
    // damage (Error() tells), and, with StopAtRestarts, at a place where decoding could start again.
    std::size_t Read(char* out, std::size_t size);
    // Skips `count` bytes of text; false when the text ends or is damaged first.
    bool Skip(std::int64_t count);
    void StopAtRestarts(bool stop) { stopAtRestarts_ = stop; }

    [[nodiscard]] bool Ended() const { return ended_; }
    // Why the text ends early: damaged, cut short, or not what it claims to be; empty when sound.
    [[nodiscard]] const std::string& Error() const { return error_; }
    // The text position of the next byte Read gives.
    [[nodiscard]] std::int64_t Position() const { return text_; }
    // How much of the text read can be trusted: all of it, but for a checksum that did not match,
    // which condemns its whole frame or member.
    [[nodiscard]] std::int64_t SoundLength() const { return badChecksum_ ? partStart_ : text_; }
    // When the last Read stopped at a place decoding could start again: that place (its window,
    // for a point mid-stream, by Window).
    [[nodiscard]] bool AtRestart() const { return atRestart_; }
    [[nodiscard]] RestartPoint Restart() const { return restart_; }
    // What decoding needs to start again at the restart point, into `out` (empty): for deflate
    // the 32 KiB (or fewer, near a stream's start) of text before it; inside a zstd frame the
    // whole decoding state, which only this decoder can take back (Resume).
    void Window(std::vector<unsigned char>& out) const;
    // How many bytes Window keeps for the restart point; 0 at a frame or member start.
    [[nodiscard]] std::size_t RestartCost() const;
    // Decodes on from a point inside a zstd frame that this decoder kept; false for any other
    // point, and the decoder is left as it was.
    bool Resume(const RestartPoint& point, const unsigned char* window, std::size_t windowSize);
    // The memory the decoder holds, its buffers included.
    [[nodiscard]] std::size_t Footprint() const;
    // How far into the region the packed bytes have been read, 0 to 1.
    [[nodiscard]] double Share() const;

private:
    bool FillInput();
    bool Have(std::size_t count);  // at least `count` unread input bytes, reading more if need be
    bool SkipInput(std::int64_t count);
    bool NextFrame();  // begins the zstd frame at the input; false when the stream ends there
    std::size_t ReadZstd(char* out, std::size_t size);
    std::size_t ReadDeflate(char* out, std::size_t size);
    std::size_t ReadStored(char* out, std::size_t size);
    bool NextMember();
    void Fail(std::string why);
    [[nodiscard]] std::int64_t InputPosition() const;
    // A frame or member begins at the text's current end: the place a later read can start from.
    // True when the pass is to stop there.
    bool PartStarts();

    struct Zlib;
    PackedRegion region_;
    std::unique_ptr<Zlib> zlib_;
    std::unique_ptr<ZstdBlocks> zstd_;
    bool inFrame_ = false;        // inside a zstd frame
    bool betweenFrames_ = false;  // a zstd frame has just ended whole: the stream may end here
    bool passedRestart_ = false;  // the block start before the input has been told
    std::vector<unsigned char> input_;
    std::size_t inputFrom_ = 0, inputTo_ = 0;  // the unread bytes of input_
    std::int64_t inputAt_ = 0;                 // the file offset of input_[inputTo_]
    std::int64_t text_ = 0;
    bool rawMember_ = false;  // inflating a gzip member's deflate stream without its header
    bool stopAtRestarts_ = false;
    bool atRestart_ = false;
    RestartPoint restart_;
    bool ended_ = false;
    std::string error_;
    std::int64_t partStart_ = 0;  // where the frame or member being read began in the text
    bool badChecksum_ = false;
    bool checking_ = false;  // a zip entry's checksum, from the entry's start
    unsigned long crc_ = 0;
    void Check(const char* bytes, std::size_t size);
    void CheckEnd();
};

// The words shown for a stream that ends before its compressed text does.
inline constexpr const char* kCutShort = "the compressed file ends before its text does (cut short?)";

}  // namespace tavrel::io
