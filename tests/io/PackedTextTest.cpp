// The text of a compressed file read at any position, from the restart points its one pass
// keeps; and what those points cost.

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "io/PackedFile.h"
#include "io/Unpack.h"
#include "support/Packers.h"
#include "support/TempFile.h"

namespace tavrel::io {
namespace {

std::string SomeText(std::size_t bytes) {
    std::mt19937 random(7);
    std::string text;
    while (text.size() < bytes) {
        text += "[Event \"" + std::to_string(random()) + "\"]\n\n1. e4 e5 2. Nf3 " + std::to_string(random() % 1000) + " *\n\n";
    }
    return text;
}

Unpacked UnpackFile(const std::string& path, Container container, std::int64_t spacing, std::int64_t marks = -1,
                    std::int64_t textPerKeptByte = 1, int workers = 0) {
    const PackedOpen open = OpenPacked(path, container);
    EXPECT_TRUE(open.region) << open.why;
    std::atomic<std::int64_t> counted{0};
    return Unpack(*open.region, [&](const char*, std::size_t, double, FrameResult*) {
        counted += marks < 0 ? 1 : 0;
        return true;
    }, &counted, {.spacing = spacing, .textPerKeptByte = textPerKeptByte, .blockBytes = 64 * 1024, .workers = workers});
}

// Mid-stream deflate points (with their windows), frame and member starts: a read anywhere
// gives the text there, in any order, from several threads at once.
TEST(PackedText, ReadsAnyStretchFromItsRestartPoints) {
    const std::string text = SomeText(3 << 20);
    testing::TempFile plain(text);
    testing::TempDir dir;
    struct Row {
        const char* packer;
        Container container;
    };
    for (const Row row : {Row{"gzip", Container::Gzip}, Row{"gzip, many members", Container::Gzip}, Row{"zip", Container::Zip},
                          Row{"zstd, many frames", Container::Zstd}, Row{"zstd, one frame", Container::Zstd}}) {
        const testing::Packer* packer = nullptr;
        for (const auto& p : testing::kPackers) packer = std::string(p.name) == row.packer ? &p : packer;
        if (!testing::HasTool(packer->tool)) continue;
        const std::string path = dir / "packed.x";
        ASSERT_TRUE(testing::Pack(*packer, plain.path(), path));
        const Unpacked unpacked = UnpackFile(path, row.container, 64 * 1024);
        ASSERT_EQ(unpacked.damage, "") << row.packer;
        ASSERT_EQ(unpacked.text->Length(), static_cast<std::int64_t>(text.size())) << row.packer;
        if (std::string(row.packer) != "zstd, one frame") {
            EXPECT_GT(unpacked.text->RestartCount(), 10u) << row.packer;
        }
        std::vector<std::thread> readers;
        std::atomic<int> wrong{0};
        for (int t = 0; t < 3; ++t) {
            readers.emplace_back([&, t] {
                std::mt19937 random(t);
                std::string got(70000, '\0');
                for (int k = 0; k < 60; ++k) {
                    const auto at = static_cast<std::int64_t>(random() % text.size());
                    const std::size_t size = random() % got.size();
                    const std::size_t n = unpacked.text->ReadAt(at, got.data(), size);
                    wrong += std::string_view(got.data(), n) != std::string_view(text).substr(static_cast<std::size_t>(at), size);
                }
            });
        }
        for (auto& reader : readers) reader.join();
        EXPECT_EQ(wrong, 0) << row.packer;
    }
}

// One zstd frame, at several levels and windows: the states kept between its blocks give the
// text that decoding from the frame's start gives, read backwards so that every read starts
// again from one. A window too large to keep leaves the frame to be read from its start. (A frame
// this small is decoded whole on a worker thread, keeping no states, unless told to be one stream.)
TEST(PackedText, StartsAgainInsideOneZstdFrame) {
    if (!testing::HasTool("zstd")) GTEST_SKIP() << "zstd is not installed";
    const std::string text = SomeText(3 << 20);
    testing::TempFile plain(text);
    testing::TempDir dir;
    struct Row {
        const char* options;
        bool kept;
    };
    for (const Row row : {Row{"-1 --zstd=wlog=10", true}, Row{"-3 --zstd=wlog=17", true}, Row{"-12 --zstd=wlog=19", true},
                          Row{"-3 --no-check --zstd=wlog=18", true}, Row{"-1 --long=24", false}}) {
        // From a pipe, so that the frame tells no size and the window stays what was asked.
        const std::string path = dir / "one.zst";
        ASSERT_TRUE(testing::Shell("cat " + testing::Quoted(plain.path()) + " | zstd -q -c " + row.options + " > " + path));
        const Unpacked unpacked = UnpackFile(path, Container::Zstd, 64 * 1024, -1, 1, -1);
        ASSERT_EQ(unpacked.damage, "") << row.options;
        EXPECT_EQ(unpacked.text->RestartCount() > 4, row.kept) << row.options << ": " << unpacked.text->RestartCount();
        std::string back(text.size(), '\0');
        for (auto at = static_cast<std::int64_t>(text.size()); at > 0;) {
            const std::int64_t from = std::max<std::int64_t>(0, at - 300000);
            ASSERT_EQ(unpacked.text->ReadAt(from, back.data() + from, static_cast<std::size_t>(at - from)),
                      static_cast<std::size_t>(at - from)) << row.options;
            at = from;
        }
        EXPECT_TRUE(back == text) << row.options;
    }
}

// Text that expands from little, with nothing the reader would come back to, keeps no restart
// points: memory follows the games, not the text.
TEST(PackedText, ABombKeepsNoRestartPoints) {
    if (!testing::HasTool("gzip")) GTEST_SKIP() << "gzip is not installed";
    testing::TempDir dir;
    ASSERT_TRUE(testing::Shell("head -c 64000000 /dev/zero | gzip -c > " + (dir / "zeros.gz")));
    const Unpacked unpacked = UnpackFile(dir / "zeros.gz", Container::Gzip, 64 * 1024, 0);
    EXPECT_EQ(unpacked.text->Length(), 64000000);
    EXPECT_EQ(unpacked.text->RestartCount(), 1u);
    EXPECT_LT(unpacked.text->RestartBytes(), 4096u);
}

}  // namespace
}  // namespace tavrel::io
