// The open game file: games read by number, tag pairs in file order, a file changed on disk.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>

#include "pgn/FileKind.h"
#include "pgn/GameSource.h"
#include "support/RealFiles.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

const std::string kTwoGames =
    "[Event \"Open\"]\n[Site \"Bern\"] [White \"Ann \\\"A\\\"\"]\n[Black \"Bo\"]\n[Result \"1-0\"]\n\n"
    "{1. not a move} 1. e4 e5 1-0\n\n"
    "[Event \"Cup\"]\n[White \"Cy\"]\n[Black \"Di\"]\n\n1. d4 *\n";

TEST(GameSource, ReadsGamesAndTagsByNumber) {
    testing::TempFile file(kTwoGames);
    GameSource source(7);  // a tiny buffer splits tags across refills
    ASSERT_EQ(source.Open(file.path()), "");
    ASSERT_EQ(source.GameCount(), 2);

    // Read out of order: each read seeks to its own game first.
    EXPECT_EQ(source.ReadGame(2).WhitePlayer, "Cy");
    const GameRecord first = source.ReadGame(1);
    ASSERT_FALSE(first.rows.empty());
    EXPECT_EQ(first.rows[0].second, "e5");

    // Names and values are the reader's (its tag test, and every real game's against the
    // reference); here the tags of each game, in file order.
    const std::vector<TagPair> tags = source.ReadTags(1);
    ASSERT_EQ(tags.size(), 5u);
    EXPECT_EQ(tags[1].name, "Site");
    EXPECT_EQ(tags[4].value, "1-0");
    EXPECT_EQ(source.ReadTags(2).size(), 3u);

    for (std::int64_t none : {0, 3, -1}) {
        EXPECT_EQ(source.ReadGame(none).outcome, GameRecord::Outcome::AtEnd) << none;
        EXPECT_TRUE(source.ReadTags(none).empty()) << none;
    }
}

// The headers are read up to the index's next offset; the reader on its own finds that end by
// the same rule. Both must give the same tags, also where a game starts inside a tag section.
TEST(GameSource, TagsUpToTheIndexsNextGameAreTheReadersOwn) {
    const std::vector<std::string> texts = {
        "[White \"A\"]\n[Event \"E1\"]\n[Event \"E2\"]\n[Black \"B\"]\n1. e4 *\n",
        "[White \"A\"] [Event \"E1\"] [EVENT \"E2\"] [Black \"B]\"]\r\n{c} 1. e4 *",
        "[Event \"x\" ; [Site \"y\"]\n% [Event \"z\"]\n[Round \"1\"] 1-0 [Event \"w\"]",
    };
    std::deque<testing::TempFile> made;
    std::vector<std::string> paths;
    for (const std::string& text : texts) paths.push_back(made.emplace_back(text).path());
    for (const auto& path : testing::RealPgnFiles()) paths.push_back(path.string());
    {
        GameSource split;  // the second Event tag of the line starts the next game
        ASSERT_EQ(split.Open(paths[1]), "");
        ASSERT_EQ(split.GameCount(), 2);
        EXPECT_EQ(split.ReadTags(1).size(), 2u);
        EXPECT_EQ(split.ReadTags(2).back().value, "B]");
    }
    for (std::size_t p = 0; p < paths.size(); ++p) {
        const std::string& path = paths[p];
        GameSource source;
        ASSERT_EQ(source.Open(path), "") << path;
        std::string bytes;
        for (std::int64_t k = 1; k <= source.GameCount(); ++k) {
            const std::vector<TagPair> known = source.ReadTags(k);
            source.File().Seek(source.Index().OffsetOf(k));
            const std::vector<TagPair> found = ReadTagPairs(ReadGameBytes(source.File(), bytes));
            ASSERT_EQ(known.size(), found.size()) << path << " game " << k;
            for (std::size_t i = 0; i < known.size(); ++i) {
                ASSERT_EQ(known[i].name, found[i].name) << path << " game " << k;
                ASSERT_EQ(known[i].value, found[i].value) << path << " game " << k;
            }
        }
    }
}

TEST(GameSource, NoticesAFileChangedOnDisk) {
    testing::TempFile file(kTwoGames);
    GameSource source;
    ASSERT_EQ(source.Open(file.path()), "");
    EXPECT_FALSE(source.ChangedOnDisk());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a later modification time
    file.Write(kTwoGames);
    EXPECT_TRUE(source.ChangedOnDisk()) << "same bytes, rewritten";
    ASSERT_EQ(source.Open(file.path()), "");
    EXPECT_FALSE(source.ChangedOnDisk());
    std::remove(file.path().c_str());
    EXPECT_TRUE(source.ChangedOnDisk()) << "gone";
}

// Files are told by their first bytes: the signatures of pictures, programs and archives, and
// control bytes throughout; text with a damaged byte, Latin-1 names or a BOM is PGN.
TEST(GameSource, FilesThatAreNotPgnAreRefusedAndTheOpenFileStays) {
    std::string random(3000, '\0');
    unsigned state = 12345;
    for (char& c : random) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    const std::string game = "[Event \"E\"]\n[White \"M\xfcller\"]\n\n1. e4 e5 2. Nf3 *\n";
    const struct {
        std::string head;
        FileKind kind;
    } rows[] = {
        {testing::FileBytes(TAVREL_SOURCE_DIR "/resources/logo.png"), FileKind::Png},
        {"\xff\xd8\xff\xe0\0\x10JFIF", FileKind::Jpeg},
        {"\x7f" "ELF\x02\x01\x01", FileKind::Elf},
        {std::string("PK\x03\x04\x14\0", 6) + "games.pgn", FileKind::Zip},
        {"\x1f\x8b\x08\0", FileKind::Gzip},
        {"\x28\xb5\x2f\xfd\x04", FileKind::Zstd},
        {"\xff\xfe[\0E\0", FileKind::Utf16},
        {random, FileKind::Binary},
        {"", FileKind::Text},
        {game, FileKind::Text},
        {"\xef\xbb\xbf" + game, FileKind::Text},
        {game.substr(0, 20) + '\0' + game.substr(21), FileKind::Text},
        {game + "\x1a", FileKind::Text},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KindOfHead(row.head), row.kind) << row.head.substr(0, 12);
    }

    testing::TempFile pgn(kTwoGames);
    GameSource source;
    ASSERT_EQ(source.Open(pgn.path()), "");
    for (const std::string& bytes : {rows[0].head, random}) {
        testing::TempFile picture(bytes);
        EXPECT_EQ(source.Open(picture.path()), "not a PGN file");
        EXPECT_EQ(source.Path(), pgn.path());
        EXPECT_EQ(source.ReadGame(2).WhitePlayer, "Cy");
    }
}

}  // namespace
}  // namespace tavrel::pgn
