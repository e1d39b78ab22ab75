#include "Decoder.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ZstdBlocks.h"

namespace tavrel::io {
namespace {

constexpr std::size_t kInputBytes = 256 * 1024;

}  // namespace

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t FileHandle::ReadAt(std::int64_t offset, void* out, std::size_t size) const {
    std::size_t copied = 0;
    while (copied < size && offset >= 0) {
        const ssize_t got = ::pread(fd_, static_cast<char*>(out) + copied, size - copied, offset + static_cast<std::int64_t>(copied));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        copied += static_cast<std::size_t>(got);
    }
    return copied;
}

struct Decoder::Zlib {
    z_stream stream{};
    bool ready = false;
    // The text's checksum as it comes, for a zip entry read from its start.
    bool checking = false;
    std::uint32_t crc = 0;
    ~Zlib() {
        if (ready) inflateEnd(&stream);
    }
};

Decoder::Decoder(const PackedRegion& region, const RestartPoint& point, const unsigned char* window, std::size_t windowSize)
    : region_(region), input_(kInputBytes), inputAt_(point.packed), text_(point.text), partStart_(point.text) {
    checking_ = region_.crc && point.text == 0 && !point.midStream;
    switch (region_.packing) {
        case Packing::Stored:
            inputAt_ = region_.from + point.text;
            break;
        case Packing::Zstd:
            zstd_ = std::make_unique<ZstdBlocks>();
            if (!zstd_->Ready()) Fail("out of memory");
            // Inside a frame only the decoder that kept the state can start again (Resume).
            if (point.midStream) Fail("no way back into the compressed stream at this place");
            break;
        case Packing::Gzip:
        case Packing::Deflate: {
            zlib_ = std::make_unique<Zlib>();
            z_stream& s = zlib_->stream;
            // A gzip stream from a member's start reads the member's header and checks its
            // checksum; mid-stream there is only deflate to read.
            const bool raw = point.midStream || region_.packing == Packing::Deflate;
            if (inflateInit2(&s, raw ? -15 : 31) != Z_OK) {
                Fail("out of memory");
                break;
            }
            zlib_->ready = true;
            rawMember_ = point.midStream && region_.packing == Packing::Gzip;
            if (point.midStream) {
                unsigned char before = 0;
                if (point.bits > 0 && region_.file->ReadAt(point.packed - 1, &before, 1) != 1) Fail(kCutShort);
                if (point.bits > 0) inflatePrime(&s, point.bits, before >> (8 - point.bits));
                if (windowSize > 0) inflateSetDictionary(&s, window, static_cast<uInt>(windowSize));
            }
            break;
        }
    }
}

Decoder::~Decoder() = default;

void Decoder::Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    ended_ = true;
}

std::int64_t Decoder::InputPosition() const { return inputAt_ - static_cast<std::int64_t>(inputTo_ - inputFrom_); }

double Decoder::Share() const {
    const auto size = static_cast<double>(region_.to - region_.from);
    return size > 0 ? std::clamp(static_cast<double>(InputPosition() - region_.from) / size, 0.0, 1.0) : 1.0;
}

bool Decoder::FillInput() {
    if (inputAt_ >= region_.to) return false;
    if (inputFrom_ > 0) {
        std::memmove(input_.data(), input_.data() + inputFrom_, inputTo_ - inputFrom_);
        inputTo_ -= inputFrom_;
        inputFrom_ = 0;
    }
    const auto want = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(input_.size() - inputTo_), region_.to - inputAt_));
    const std::size_t got = region_.file->ReadAt(inputAt_, input_.data() + inputTo_, want);
    if (got == 0) {
        inputAt_ = region_.to;  // the file shrank under us: what it had is all there is
        return false;
    }
    inputTo_ += got;
    inputAt_ += static_cast<std::int64_t>(got);
    return true;
}

std::size_t Decoder::Read(char* out, std::size_t size) {
    atRestart_ = false;
    if (ended_ || size == 0) return 0;
    switch (region_.packing) {
        case Packing::Zstd:
            return ReadZstd(out, size);
        case Packing::Stored:
            return ReadStored(out, size);
        default:
            return ReadDeflate(out, size);
    }
}

bool Decoder::Skip(std::int64_t count) {
    if (region_.packing == Packing::Stored) {  // the text as it stands: no need to read it
        const std::int64_t step = std::clamp<std::int64_t>(count, 0, region_.to - inputAt_);
        inputAt_ += step;
        text_ += step;
        checking_ = false;
        return step == count;
    }
    std::vector<char> scratch(static_cast<std::size_t>(std::min<std::int64_t>(count, 128 * 1024)));
    const bool stop = stopAtRestarts_;
    stopAtRestarts_ = false;
    while (count > 0 && !ended_) {
        const std::size_t got = Read(scratch.data(), static_cast<std::size_t>(std::min<std::int64_t>(count, static_cast<std::int64_t>(scratch.size()))));
        count -= static_cast<std::int64_t>(got);
        if (got == 0) break;
    }
    stopAtRestarts_ = stop;
    return count == 0;
}

std::size_t Decoder::ReadStored(char* out, std::size_t size) {
    const auto want = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(size), region_.to - inputAt_));
    const std::size_t got = region_.file->ReadAt(inputAt_, out, want);
    inputAt_ += static_cast<std::int64_t>(got);
    text_ += static_cast<std::int64_t>(got);
    Check(out, got);
    if (got < want) Fail(kCutShort);
    if (inputAt_ >= region_.to && !ended_) {
        CheckEnd();
        ended_ = true;
    }
    return got;
}

bool Decoder::Have(std::size_t count) {
    while (inputTo_ - inputFrom_ < count && FillInput()) {
    }
    return inputTo_ - inputFrom_ >= count;
}

bool Decoder::SkipInput(std::int64_t count) {
    const auto buffered = static_cast<std::int64_t>(inputTo_ - inputFrom_);
    if (count <= buffered) {
        inputFrom_ += static_cast<std::size_t>(count);
        return true;
    }
    inputFrom_ = inputTo_;
    inputAt_ += count - buffered;
    if (inputAt_ <= region_.to) return true;
    inputAt_ = region_.to;
    return false;
}

bool Decoder::NextFrame() {
    Have(ZstdBlocks::kFrameHead);  // or as many bytes as are left
    if (inputFrom_ == inputTo_) {
        if (betweenFrames_) {
            ended_ = true;
        } else {
            Fail(kCutShort);
        }
        return false;
    }
    const ZstdBlocks::Start start = zstd_->Begin(input_.data() + inputFrom_, inputTo_ - inputFrom_);
    if (start.cutShort || (start.skip > 0 && !SkipInput(start.skip))) {
        Fail(kCutShort);
        return false;
    }
    if (!start.why.empty()) {
        Fail("damaged zstd data: " + start.why);
        return false;
    }
    betweenFrames_ = start.skip > 0;  // a skippable frame is whole once passed
    inFrame_ = start.skip == 0;
    return true;
}

std::size_t Decoder::ReadZstd(char* out, std::size_t size) {
    ZstdBlocks& blocks = *zstd_;
    std::size_t produced = 0;
    while (produced < size && !ended_) {
        if (blocks.Pending()) {
            const std::size_t n = blocks.Take(out + produced, size - produced);
            produced += n;
            text_ += static_cast<std::int64_t>(n);
            continue;
        }
        const std::size_t wants = blocks.Wants();
        if (wants == 0 && inFrame_) {  // the frame ends here: the next one is a place to start again
            inFrame_ = false;
            betweenFrames_ = true;
            if (PartStarts()) break;
            continue;
        }
        if (wants == 0) {
            if (!NextFrame()) break;
            continue;
        }
        if (stopAtRestarts_ && !passedRestart_ && blocks.BetweenBlocks() && blocks.KeepCost() > 0) {
            passedRestart_ = true;
            atRestart_ = true;
            restart_ = {.text = text_, .packed = InputPosition(), .midStream = true};
            break;
        }
        if (!Have(wants)) {
            Fail(kCutShort);
            break;
        }
        bool checksum = false;
        const std::string why = blocks.Feed(input_.data() + inputFrom_, wants, checksum);
        inputFrom_ += wants;
        passedRestart_ = false;
        if (!why.empty()) {
            badChecksum_ = checksum;
            Fail("damaged zstd data: " + why);
        }
    }
    return produced;
}

bool Decoder::Resume(const RestartPoint& point, const unsigned char* window, std::size_t windowSize) {
    if (!zstd_ || !point.midStream || !zstd_->Resume(window, windowSize)) return false;
    inputFrom_ = inputTo_ = 0;
    inputAt_ = point.packed;
    text_ = point.text;
    partStart_ = point.text - static_cast<std::int64_t>(zstd_->FrameText());
    inFrame_ = true;
    betweenFrames_ = false;
    passedRestart_ = true;
    atRestart_ = false;
    ended_ = false;
    badChecksum_ = false;
    error_.clear();
    return true;
}

std::size_t Decoder::RestartCost() const {
    if (!atRestart_ || !restart_.midStream) return 0;
    return zstd_ ? zstd_->KeepCost() : kWindowBytes;
}

std::size_t Decoder::Footprint() const { return input_.capacity() + (zstd_ ? zstd_->Footprint() : 0); }

bool Decoder::NextMember() {
    if (region_.packing != Packing::Gzip) return false;
    if (rawMember_) {  // the member's checksum and length, unread by raw inflate
        if (!Have(8)) {
            Fail(kCutShort);
            return false;
        }
        inputFrom_ += 8;
        rawMember_ = false;
    }
    // Another member may follow; anything else after the last one is left alone, as gzip does.
    if (!Have(2) || input_[inputFrom_] != 0x1f || input_[inputFrom_ + 1] != 0x8b) return false;
    if (inflateReset2(&zlib_->stream, 31) != Z_OK) return false;
    return true;
}

std::size_t Decoder::ReadDeflate(char* out, std::size_t size) {
    z_stream& s = zlib_->stream;
    std::size_t produced = 0;
    while (produced < size && !ended_) {
        // With no input left, inflate may still have a stream's end to reach.
        const bool more = inputFrom_ < inputTo_ || FillInput();
        s.next_in = input_.data() + inputFrom_;
        s.avail_in = static_cast<uInt>(inputTo_ - inputFrom_);
        s.next_out = reinterpret_cast<Bytef*>(out + produced);
        s.avail_out = static_cast<uInt>(std::min<std::size_t>(size - produced, 1u << 30));
        const uInt outBefore = s.avail_out;
        const uInt inBefore = s.avail_in;
        const int ret = inflate(&s, stopAtRestarts_ ? Z_BLOCK : Z_NO_FLUSH);
        inputFrom_ += inBefore - s.avail_in;
        const std::size_t got = outBefore - s.avail_out;
        Check(out + produced, got);
        produced += got;
        text_ += static_cast<std::int64_t>(got);
        if (ret == Z_STREAM_END) {
            if (region_.packing == Packing::Deflate) CheckEnd();
            if (!NextMember()) {
                ended_ = true;
                break;
            }
            if (PartStarts()) break;
            continue;
        }
        if (!more && got == 0) {
            Fail(kCutShort);
            break;
        }
        if (ret == Z_BUF_ERROR) continue;  // wants more input: the loop reads it
        if (ret != Z_OK) {
            badChecksum_ = s.msg && std::strstr(s.msg, "incorrect") != nullptr;  // data or length check
            Fail(std::string("damaged compressed data: ") + (s.msg ? s.msg : "inflate failed"));
            break;
        }
        if (stopAtRestarts_ && (s.data_type & 128) && !(s.data_type & 64)) {
            atRestart_ = true;
            restart_ = {.text = text_, .packed = InputPosition(), .bits = s.data_type & 7, .midStream = true};
            break;
        }
    }
    return produced;
}

void Decoder::Check(const char* bytes, std::size_t size) {
    if (checking_) crc_ = crc32_z(crc_, reinterpret_cast<const Bytef*>(bytes), size);
}

void Decoder::CheckEnd() {
    if (!checking_ || crc_ == *region_.crc) return;
    badChecksum_ = true;
    Fail("the text does not match the archive's checksum (damaged)");
}

void Decoder::Window(std::vector<unsigned char>& out) const {
    if (zstd_ && restart_.midStream) zstd_->Keep(out);
    if (!zlib_) return;
    const std::size_t at = out.size();
    out.resize(at + kWindowBytes);
    uInt got = 0;
    inflateGetDictionary(const_cast<z_stream*>(&zlib_->stream), out.data() + at, &got);
    out.resize(at + got);
}

bool Decoder::PartStarts() {
    partStart_ = text_;
    if (!stopAtRestarts_) return false;
    atRestart_ = true;
    restart_ = {.text = text_, .packed = InputPosition()};
    return true;
}

}  // namespace tavrel::io
