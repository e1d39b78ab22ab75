// Compressed game files read as the PGN text they hold: the same games as the plain file, and
// damage reported with the games before it kept.

#include <gtest/gtest.h>

#include "pgn/FileKind.h"
#include "pgn/GameSource.h"
#include "support/GameStartsByteByByte.h"
#include "support/Packers.h"
#include "support/RealFiles.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

using testing::Pack;
using testing::Shell;

// Every game of a compressed copy is the plain file's, byte for byte: its tags, its moves and
// so its replay are too.
TEST(CompressedFiles, HoldTheSameGamesAsThePlainFiles) {
    const auto files = testing::RealPgnFiles();
    if (files.empty()) GTEST_SKIP() << "no real PGN files beside the project";
    testing::TempDir dir;
    for (const testing::Packer& packer : testing::kPackers) {
        if (!testing::HasTool(packer.tool)) {
            std::cout << "[ SKIPPED  ] " << packer.name << ": " << packer.tool << " is not installed\n";
            continue;
        }
        std::int64_t games = 0;
        for (const auto& path : files) {
            const std::string packed = dir / "packed.x";
            ASSERT_TRUE(Pack(packer, path.string(), packed)) << packer.name << " " << path;
            GameSource plain, source;
            ASSERT_EQ(plain.Open(path.string()), "");
            ASSERT_EQ(source.Open(packed), "") << packer.name << " " << path;
            EXPECT_EQ(source.Damage(), "") << packer.name << " " << path;
            ASSERT_EQ(source.Index().GameOffsets, plain.Index().GameOffsets) << packer.name << " " << path;
            ASSERT_EQ(source.Length(), plain.Length());
            // From the last game back, so that every read starts decompressing afresh somewhere.
            for (std::int64_t k = plain.GameCount(); k >= 1; --k) {
                ASSERT_EQ(source.GameBytes(k), plain.GameBytes(k)) << packer.name << " " << path << " game " << k;
            }
            games += plain.GameCount();
        }
        EXPECT_GT(games, testing::CompactRealFiles() ? 100 : 1000) << packer.name;
    }
}

std::string Packed(const testing::Packer& packer, const std::string& text, const std::string& out) {
    testing::TempFile plain(text);
    return Pack(packer, plain.path(), out) ? testing::FileBytes(out) : std::string();
}

const testing::Packer& PackerNamed(const std::string& name) {
    for (const testing::Packer& packer : testing::kPackers) {
        if (packer.name == name) return packer;
    }
    throw std::logic_error(name);
}

// The game starts of each frame are found by the thread that decoded it, from the frame's first
// Event tag a scan can begin at: with frames so small that such tags, tags that cannot begin a
// scan and the seams between frames fall at every distance from each other, the index is still
// the plain file's.
TEST(CompressedFiles, SmallFramesGiveThePlainIndexAndStop) {
    if (!testing::HasTool("zstd")) GTEST_SKIP() << "zstd is not installed";
    std::string text;
    for (int k = 0; k < 40; ++k) {
        text += "[White \"W\"]\n[Event \"E" + std::to_string(k) + "\"]\n[Black \"B\"]\n\n1. e4 {a [Event \"x\"] b} e5 1-0\n\n";
        text += "1. d4 d5 *\n[[Event \"twice\"]\n\n[Event \"E\"]\n\n; [Event \"line\"]\n1. c4 (1. Nf3 [Event \"v\"]) 0-1\n\n";
    }
    testing::TempDir dir;
    testing::TempFile plainFile(text);
    GameSource plain;
    ASSERT_EQ(plain.Open(plainFile.path()), "");
    for (const int bytes : {110, 173, 400, 1500}) {
        const std::string out = dir / "small.pgn.zst";
        ASSERT_TRUE(Shell("split -b " + std::to_string(bytes) + " " + plainFile.path() + " " + out +
                          ".part && for p in " + out + ".part*; do zstd -q -c $p; done > " + out + " && rm " + out + ".part*"));
        GameSource source;
        ASSERT_EQ(source.Open(out), "") << bytes;
        EXPECT_EQ(source.Length(), plain.Length()) << bytes;
        EXPECT_EQ(source.Index().GameOffsets, plain.Index().GameOffsets) << bytes;
        // Stopped at the first progress (a Cancel): the games found by then are kept, no more.
        GameSource stopped;
        ASSERT_EQ(stopped.Open(out, [](const ScanProgress&) { return false; }, {.progressEvery = {}}), "") << bytes;
        EXPECT_TRUE(stopped.Index().stopped) << bytes;
        EXPECT_LT(stopped.GameCount(), plain.GameCount()) << bytes;
    }
}

// Damage anywhere ends the text there: a message says what, and the games before it stay.
TEST(CompressedFiles, DamageKeepsTheGamesBeforeIt) {
    for (const char* tool : {"zstd", "gzip"}) {
        if (!testing::HasTool(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    std::string text;
    for (int k = 1; k <= 4000; ++k) {
        text += "[Event \"E" + std::to_string(k) + "\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 " +
                std::to_string(k) + " 1-0\n\n";
    }
    testing::TempDir dir;
    struct Row {
        const char* packer;
        const char* damage;  // what is done to the compressed bytes
        const char* says;    // what the message says
        bool keepsMost;      // the damage is found where it is, not by a checksum at the end
    };
    const Row rows[] = {
        {"zstd, many frames", "cut", "cut short", true},
        {"gzip, many members", "cut", "cut short", true},
        {"zip", "zeros", "damaged", false},
        {"zstd, many frames", "flip", "damaged", true},
        {"gzip", "flip", "damaged", false},
        {"gzip, many members", "checksum", "incorrect data check", true},
        {"zstd, one frame", "checksum", "checksum", false},
    };
    for (const Row& row : rows) {
        const std::string what = std::string(row.packer) + " " + row.damage;
        std::string bytes = Packed(PackerNamed(row.packer), text, dir / "whole.x");
        ASSERT_FALSE(bytes.empty()) << what;
        const std::string damage = row.damage;
        if (damage == "cut") bytes.resize(bytes.size() * 3 / 5);
        if (damage == "flip") bytes[bytes.size() * 3 / 5] ^= 0x55;
        if (damage == "checksum") bytes[bytes.size() - (row.packer[0] == 'z' ? 2 : 7)] ^= 0x01;  // gzip: CRC; zstd: its checksum
        // The archive's directory, in its last few hundred bytes, stays whole.
        if (damage == "zeros") std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * 3 / 5), bytes.end() - 300, '\0');
        testing::TempFile file(bytes);
        GameSource source, plain;
        testing::TempFile plainFile(text);
        ASSERT_EQ(plain.Open(plainFile.path()), "");
        ASSERT_EQ(source.Open(file.path()), "") << what;
        EXPECT_NE(source.Damage().find(row.says), std::string::npos) << what << ": " << source.Damage();
        EXPECT_LT(source.GameCount(), plain.GameCount()) << what;
        if (row.keepsMost) {
            EXPECT_GT(source.GameCount(), 100) << what;
        }
        // Every game kept but the last (which the damage may cut) is whole.
        for (std::int64_t k = 1; k < source.GameCount(); ++k) ASSERT_EQ(source.GameBytes(k), plain.GameBytes(k)) << what << k;
    }
}

// A member whose checksum fails is dropped after its text was scanned: what that text showed of
// the bytes before it (here that a "2" begins a move, which alone at the end it does not) goes
// with it, and the index is the one the rule gives for the text that is left.
TEST(CompressedFiles, ADroppedMemberLeavesNoGameStartBehind) {
    if (!testing::HasTool("gzip")) GTEST_SKIP() << "gzip is not installed";
    const std::string kept = "[Event \"A\"]\n\n1. e4 *\n2";
    testing::TempDir dir;
    std::string bytes = Packed(PackerNamed("gzip"), kept, dir / "first.gz");
    std::string dropped = Packed(PackerNamed("gzip"), ". b4 e5 *\n" + std::string(200, '\n'), dir / "second.gz");
    dropped[dropped.size() - 7] ^= 0x01;  // its CRC
    testing::TempFile file(bytes + dropped);
    GameSource source;
    ASSERT_EQ(source.Open(file.path()), "");
    EXPECT_NE(source.Damage().find("incorrect data check"), std::string::npos) << source.Damage();
    EXPECT_EQ(source.GameCount(), static_cast<std::int64_t>(testing::GameStartsByteByByte(kept).size()));
}

// What cannot be read at all is refused with a reason, and files that are not what their names
// say are read by what they hold.
TEST(CompressedFiles, RefusedWithAReason) {
    for (const char* tool : {"zstd", "gzip", "zip"}) {
        if (!testing::HasTool(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    testing::TempDir dir;
    const std::string game = "[Event \"E\"]\n\n1. e4 *\n";
    std::ofstream(dir / "a.pgn") << game;
    std::ofstream(dir / "b.pgn") << game << game;
    std::ofstream(dir / "notes.txt") << "no games here";
    std::ofstream many(dir / "many.pgn");
    for (int k = 0; k < 1000; ++k) many << game;
    many.close();
    std::ofstream(dir / "picture.png", std::ios::binary) << std::string("\x89PNG\r\n\x1a\n", 8) << std::string(100, '\0');
    const std::string d = "cd " + testing::Quoted(dir / "") + " && ";
    ASSERT_TRUE(Shell(d + "zip -q two.zip a.pgn b.pgn && zip -q none.zip notes.txt && zip -q -P secret locked.zip a.pgn"));
    ASSERT_TRUE(Shell(d + "zstd -q -c picture.png > picture.pgn.zst && gzip -c a.pgn > plain-named.pgn && cp a.pgn text.pgn.gz"));
    ASSERT_TRUE(Shell(d + "cp two.zip nodirectory.zip && truncate -s -30 nodirectory.zip"));
    ASSERT_TRUE(Shell(d + "zip -q -Z bzip2 bzip.zip many.pgn || cp locked.zip bzip.zip"));

    struct Row {
        std::string path;
        std::string says;  // empty: opens, with `games` games
        std::int64_t games = 0;
    };
    const Row rows[] = {
        {"two.zip", std::string(kSeveralPgnFiles)},
        {"two.zip:b.pgn", "", 2},
        {"two.zip:c.pgn", "no file named c.pgn"},
        {"none.zip", "no PGN file"},
        {"locked.zip", "encrypted"},
        {"bzip.zip", "does not read"},
        {"nodirectory.zip", "directory is missing or damaged"},
        {"picture.pgn.zst", std::string(kNotPgnFile)},
        {"plain-named.pgn", "", 1},  // gzip data under a plain name
        {"text.pgn.gz", "", 1},      // plain text under a gzip name
    };
    for (const Row& row : rows) {
        GameSource source;
        const std::string why = source.Open(dir / row.path);
        if (row.says.empty()) {
            EXPECT_EQ(why, "") << row.path;
            EXPECT_EQ(source.GameCount(), row.games) << row.path;
        } else {
            EXPECT_NE(why.find(row.says), std::string::npos) << row.path << ": " << why;
        }
    }
    EXPECT_EQ(GameSource::PgnFilesIn(dir / "two.zip"), (std::vector<std::string>{"a.pgn", "b.pgn"}));
}

}  // namespace
}  // namespace tavrel::pgn
