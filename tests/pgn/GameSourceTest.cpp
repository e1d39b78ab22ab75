// The open game file: games read by number, tag pairs in file order, a file changed on disk.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "pgn/GameSource.h"
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

    const std::vector<TagPair> tags = source.ReadTags(1);
    ASSERT_EQ(tags.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Event", "Open"}, {"Site", "Bern"}, {"White", "Ann \\A\\"}, {"Black", "Bo"}, {"Result", "1-0"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(tags[i].name, expected[i].first);
        EXPECT_EQ(tags[i].value, expected[i].second) << tags[i].name;
    }
    EXPECT_EQ(tags[2].value, first.WhitePlayer);  // the list and the window read names alike
    EXPECT_EQ(source.ReadTags(2).size(), 3u);

    for (std::int64_t none : {0, 3, -1}) {
        EXPECT_EQ(source.ReadGame(none).outcome, GameRecord::Outcome::AtEnd) << none;
        EXPECT_TRUE(source.ReadTags(none).empty()) << none;
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

}  // namespace
}  // namespace tavrel::pgn
