// Many zstd frames decoded on worker threads: whatever the frames are (whole, too large to take
// whole, damaged, cut short), the pass hands on the text, and ends with the damage, that decoding
// them as one stream does.

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "io/PackedFile.h"
#include "io/Unpack.h"
#include "support/Packers.h"
#include "support/TempFile.h"

namespace tavrel::io {
namespace {

struct Pass {
    Unpacked unpacked;
    std::string handed;
};

Pass UnpackBytes(const std::string& bytes, int workers, std::size_t stopAfter = SIZE_MAX) {
    testing::TempFile file(bytes);
    const PackedOpen open = OpenPacked(file.path(), Container::Zstd);
    EXPECT_TRUE(open.region) << open.why;
    Pass pass;
    std::atomic<std::int64_t> marks{0};
    pass.unpacked = Unpack(*open.region, [&](const char* text, std::size_t size, double, FrameResult*) {
        pass.handed.append(text, size);
        ++marks;
        return pass.handed.size() < stopAfter;
    }, &marks, {.spacing = 1, .blockBytes = 50000, .workers = workers, .frameTextMax = 256 << 10});
    return pass;
}

TEST(ZstdFrames, HandOnWhatOneStreamGives) {
    if (!testing::HasTool("zstd")) GTEST_SKIP() << "zstd is not installed";
    std::mt19937 random(3);
    std::string text;
    while (text.size() < (2 << 20)) text += "[Event \"" + std::to_string(random()) + "\"]\n\n1. d4 d5 " + std::to_string(random() % 999) + " *\n\n";
    // Frames of these many bytes of text, one after another; the fifth is too large to be taken
    // whole, and the frames from it on are decoded as one stream.
    const std::size_t sizes[] = {100000, 150000, 90000, 200000, 600000, 120000, 0};
    testing::TempDir dir;
    std::vector<std::string> frames;
    std::size_t at = 0;
    for (const std::size_t size : sizes) {
        testing::TempFile part(text.substr(at, size == 0 ? std::string::npos : size));
        at += size;
        ASSERT_TRUE(testing::Shell("zstd -q -c " + part.path() + " > " + (dir / "part.zst")));
        frames.push_back(testing::FileBytes(dir / "part.zst"));
    }
    struct Row {
        const char* what;
        std::size_t frame;  // the frame damaged
        int change;         // 0 none, 1 a byte flipped in the middle, 2 its checksum, 3 cut in the middle, 4 not zstd
    };
    const Row rows[] = {
        {"whole", 0, 0},          {"a damaged frame", 2, 1}, {"a wrong checksum", 1, 2},      {"cut short", 3, 3},
        {"not zstd after", 3, 4}, {"a damaged first", 0, 1}, {"a large frame damaged", 4, 1}, {"damage after it", 6, 2},
    };
    for (const Row& row : rows) {
        std::string bytes;
        for (std::size_t k = 0; k < frames.size(); ++k) {
            std::string frame = frames[k];
            if (k == row.frame && row.change == 1) frame[frame.size() / 2] ^= 0x5a;
            if (k == row.frame && row.change == 2) frame[frame.size() - 2] ^= 0x01;
            if (k == row.frame && row.change == 3) frame.resize(frame.size() / 2);
            if (k == row.frame && row.change == 4) frame = "not a frame at all";
            bytes += frame;
            if (k == row.frame && row.change >= 3) break;
        }
        const Pass many = UnpackBytes(bytes, 2), one = UnpackBytes(bytes, -1);
        EXPECT_EQ(many.unpacked.damage, one.unpacked.damage) << row.what;
        EXPECT_EQ(row.change == 0, many.unpacked.damage.empty()) << row.what << ": " << many.unpacked.damage;
        ASSERT_EQ(many.unpacked.text->Length(), one.unpacked.text->Length()) << row.what;
        EXPECT_TRUE(many.handed == one.handed) << row.what;
        // Read back from its restart points, last stretch first.
        const auto length = static_cast<std::size_t>(many.unpacked.text->Length());
        std::string back(length, '\0');
        for (std::size_t to = length; to > 0;) {
            const std::size_t from = to > 70000 ? to - 70000 : 0;
            ASSERT_EQ(many.unpacked.text->ReadAt(static_cast<std::int64_t>(from), back.data() + from, to - from), to - from) << row.what;
            to = from;
        }
        EXPECT_TRUE(back == text.substr(0, length)) << row.what;
    }
    // A stop from the sink stops the pass there, with the text handed on so far kept.
    std::string whole;
    for (const std::string& frame : frames) whole += frame;
    const Pass stopped = UnpackBytes(whole, 2, 300000);
    EXPECT_TRUE(stopped.unpacked.stopped);
    EXPECT_EQ(stopped.unpacked.text->Length(), static_cast<std::int64_t>(stopped.handed.size()));
    EXPECT_LT(stopped.handed.size(), 400000u);
}

}  // namespace
}  // namespace tavrel::io
