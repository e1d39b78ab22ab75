// The compressed reader over arbitrary bytes: read as zstd, gzip or a zip archive as they stand,
// or first compressed here (in small frames and members) and then damaged where the input says.
// Whatever it makes of them, the one pass must end, its index must be the one the rule gives for
// the text it handed on, and the text read back at any position from the restart points (and
// from the decoder's states kept inside zstd frames) must be that text.

#include <fcntl.h>
#include <zlib.h>
#include <zstd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "io/Decoder.h"
#include "io/PackedFile.h"
#include "io/Unpack.h"
#include "pgn/PackedIndex.h"
#include "support/GameStartsByteByByte.h"

namespace {

using namespace tavrel;

// Gzip members, or zstd frames, of up to `piece` bytes each; the frames have the smallest window,
// and so blocks of 1 KiB, for states kept between blocks to start again from.
std::string Compressed(std::string_view text, bool gzip, std::size_t piece) {
    std::string out;
    for (std::size_t at = 0; at < text.size() || at == 0; at += piece) {
        const std::string_view part = text.substr(at, piece);
        if (gzip) {
            z_stream s{};
            deflateInit2(&s, 6, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
            std::string member(deflateBound(&s, part.size()) + 32, '\0');
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data()));
            s.avail_in = static_cast<uInt>(part.size());
            s.next_out = reinterpret_cast<Bytef*>(member.data());
            s.avail_out = static_cast<uInt>(member.size());
            deflate(&s, Z_FINISH);
            member.resize(s.total_out);
            deflateEnd(&s);
            out += member;
        } else {
            ZSTD_CCtx* context = ZSTD_createCCtx();
            ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, 1);
            ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, 10);  // the least there is
            ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1);
            std::string frame(ZSTD_compressBound(part.size()), '\0');
            frame.resize(ZSTD_compress2(context, frame.data(), frame.size(), part.data(), part.size()));
            ZSTD_freeCCtx(context);
            out += frame;
        }
        if (text.empty()) break;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 4) return 0;
    const unsigned mode = data[0] % 4;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    std::string packed;
    io::Container container = io::Container::Zstd;
    if (mode < 2) {  // compressed here, then damaged at the places the second and third bytes say
        container = mode == 0 ? io::Container::Gzip : io::Container::Zstd;
        packed = Compressed(rest, mode == 0, 1 + data[1] * 16u);
        if (data[2] % 4 == 0 && !packed.empty()) packed[(data[2] * 131u + data[3]) % packed.size()] ^= static_cast<char>(data[3] | 1);
        if (data[2] % 4 == 1) packed.resize(packed.size() * data[3] / 256);
    } else {  // the bytes as they stand
        container = mode == 2 ? io::Container::Zip : data[1] % 2 ? io::Container::Gzip : io::Container::Zstd;
        packed.assign(rest);
    }
    const io::PackedOpen open = io::OpenPacked(fuzz::AsFile(reinterpret_cast<const unsigned char*>(packed.data()), packed.size()),
                                               container);
    if (!open.region) return 0;

    std::string text;
    std::atomic<std::int64_t> marks{0};
    const io::Unpacked unpacked = io::Unpack(*open.region, [&](const char* bytes, std::size_t n, double, io::FrameResult*) {
        text.append(bytes, n);
        ++marks;
        return text.size() < (8u << 20);  // a bomb is stopped; what it made so far is still checked
    }, &marks, {.spacing = 1 + data[1] * 64, .textPerKeptByte = data[3] % 2, .blockBytes = 1 + data[2] * 97u,
                .frameTextMax = 1 + data[3] * 64u});
    const std::int64_t length = unpacked.text->Length();
    if (length > static_cast<std::int64_t>(text.size())) fuzz::Fail("the text is longer than what the pass handed on");
    text.resize(static_cast<std::size_t>(length));

    // Zstd frames decoded on worker threads give what decoding them as one stream gives, frames
    // too large to take whole included.
    if (container == io::Container::Zstd && !unpacked.stopped) {
        std::string one;
        const io::Unpacked oneStream = io::Unpack(*open.region, [&](const char* bytes, std::size_t n, double, io::FrameResult*) {
            one.append(bytes, n);
            return true;
        }, nullptr, {.blockBytes = 4096, .workers = -1});
        if (oneStream.damage != unpacked.damage || oneStream.text->Length() != length ||
            std::string_view(one).substr(0, text.size()) != text) {
            fuzz::Fail("the frames decoded on threads differ from one stream");
        }
    }
    if (mode < 2 && data[2] % 4 > 1 && (unpacked.damage != "" || text != rest)) fuzz::Fail("sound compressed text read wrong");

    std::string back(text.size(), '\0');
    for (std::size_t at = 0, step = 1 + data[3] * 13u; at < text.size(); at += step) {
        const std::size_t n = unpacked.text->ReadAt(static_cast<std::int64_t>(at), back.data(), std::min(step, text.size() - at));
        if (std::string_view(back.data(), n) != std::string_view(text).substr(at, step)) fuzz::Fail("a read from a restart point differs");
    }

    // Every state kept inside a zstd frame, taken back by the decoder that kept it, decodes on to
    // the same text.
    if (container == io::Container::Zstd) {
        io::Decoder decoder(*open.region, io::RestartPoint{.packed = open.region->from}, nullptr, 0);
        decoder.StopAtRestarts(true);
        std::vector<std::pair<io::RestartPoint, std::vector<unsigned char>>> kept;
        std::string some(1024, '\0');
        while (!decoder.Ended() && decoder.Position() < length && kept.size() < 32) {
            decoder.Read(some.data(), some.size());
            if (!decoder.AtRestart() || !decoder.Restart().midStream) continue;
            kept.emplace_back(decoder.Restart(), std::vector<unsigned char>());
            decoder.Window(kept.back().second);
        }
        decoder.StopAtRestarts(false);
        for (const auto& [point, state] : kept) {
            if (!decoder.Resume(point, state.data(), state.size())) fuzz::Fail("a decoder refused a state it kept");
            const auto want = static_cast<std::size_t>(std::clamp<std::int64_t>(length - point.text, 0, 1024));
            const std::size_t n = decoder.Read(some.data(), want);
            if (std::string_view(some.data(), n) != std::string_view(text).substr(static_cast<std::size_t>(std::min(point.text, length)), n)) {
                fuzz::Fail("a kept state decodes on to other text");
            }
        }
    }

    const pgn::PackedIndex index = pgn::IndexPacked(*open.region);
    if (index.text->Length() == length && index.index.GameOffsets != testing::GameStartsByteByByte(text)) {
        fuzz::Fail("the index of the stream disagrees with the rule");
    }
    return 0;
}
