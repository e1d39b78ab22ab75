#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "pgn/GameIndex.h"
#include "support/GameStartsByteByByte.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

using testing::TempFile;

GameIndex IndexOf(const std::string& bytes) {
    TempFile file(bytes);
    PgnFile pgn;
    EXPECT_EQ(pgn.Open(file.path()), "");
    return IndexGames(pgn);
}

TEST(GameIndex, WhereGamesStart) {
    struct Row {
        const char* why;
        std::string bytes;
        std::vector<std::int64_t> offsets;
    };
    const std::string tail = "\n\n1. e4 *\n";  // keeps the tags out of the last 8 bytes
    const Row rows[] = {
        {"lower case, after junk", "x[event \"a\"]" + tail, {2}},
        {"header-only games: every Event tag", "[eVeNt \"a\"]\n[EVENT \"b\"]" + tail, {1, 13}},
        {"inside a comment still counts", "1. d4 { [Event \"x\"] }" + tail, {1, 9}},
        {"a [ swallows the next six bytes", "1. d4 [[Event \"a\"]" + tail, {1, 7}},
        {"tags in any order: Event belongs to its section", "[White \"w\"]\n[Event \"e\"]" + tail + "[Black \"b\"]\n[Event \"f\"]" + tail,
         {1, 34}},
        {"a second Event in a section that began elsewhere", "[White \"w\"]\n[Event \"e\"]\n[Event \"f\"]" + tail, {1, 25}},
        {"a tag and the moves on one line", "[Result \"1-0\"] e4 *\n[Result \"0-1\"] d4 *\n", {1, 21}},
        {"games without tags", "1. e4 e5 *\n1. d4 d5 1-0\ne4 1/2-1/2 Nf3 *", {1, 12, 25, 36}},
        {"a comment or a marker alone starts nothing", "1. e4 * {note} 1-0 ; 1. d4\n", {1}},
        {"a stray byte or word after the last game", "[Event \"a\"]" + tail + "\x1a hello.\n", {1}},
        {"a variation starts nothing", "1. e4 (1. d4 *) e5 *", {1}},
        {"records without moves, a blank line apart",
         "[Event \"e\"]\n[White \"a\"]\n[Black \"b\"]\n\n[White \"c\"]\n[black \"d\"]\r\n\r\n[White \"e\"]\n[Black \"f\"]\n \n[Round \"4\"]" + tail,
         {1, 38, 65, 91}},
        {"a blank line splits only after both players", "[Event \"e\"]\n\n[White \"a\"]\n[Black \"b\"]\r\n[Round \"1\"]\r\n[White \"c\"]" + tail, {1}},
        {"a record's Event tag after its first tag belongs to it",
         "[Event \"a\"]\n[White \"w\"]\n[Black \"b\"]\n\n[Round \"2\"]\n[Event \"e\"]" + tail, {1, 38}},
        {"no tags and no moves", "no games, only words 2.0\n", {}},
    };
    for (const Row& row : rows) EXPECT_EQ(IndexOf(row.bytes).GameOffsets, row.offsets) << row.why;
}

TEST(GameIndex, AGameBodyIsPassedOverOnlyWhenNothingInItCanStartAGame) {
    // The scan goes from a game's tags straight to the next Event tag when it safely can; each of
    // these bodies holds something that forbids it, or nearly does.
    const std::string tail = "\n\n1. e4 *\n";
    const std::string rows[] = {
        "[Event \"a\"]\n1. e4 1-0 2. d4\n\n[Event \"b\"]" + tail,        // a move after the marker
        "[Event \"a\"]\n1. e4 *\n\n[Site \"s\"]\n[Event \"b\"]" + tail,  // a tag of another name
        "[Event \"a\"][]{* [Event \"b\"]" + tail,                           // a "[" just before the Event tag
        "[Event \"a\"]\n1. e4 {1-0} 1-0\n\n[Event \"b\"]" + tail,        // a marker in a comment, then one
        "[Event \"a\"]\n1. e4 1-0 {note}\n[Event \"b\"]" + tail,          // a comment after the marker
        "[Event \"a\"]\n1. e4 0-0 1/2-1/2\n[Event \"b\"]" + tail,         // castling with zeros
        "[Site \"s\"]\n1. e4 *\n\n[Site \"t\"]\n[Event \"b\"]" + tail,  // tags without Event
        "[Event \"a\"]\n1. e4 { [%clk 0:01] } *\n[Event \"b\"]" + tail,   // a "[" in a comment
        "[Event \"a\"]\n1. e4 *\n\n[Event",                              // an Event tag too near the end
    };
    for (const std::string& bytes : rows) EXPECT_EQ(IndexOf(bytes).GameOffsets, testing::GameStartsByteByByte(bytes)) << bytes;
}

TEST(GameIndex, EveryBlockSizeAndSplitAgreesWithTheRule) {
    // Runs of brackets, comments, markers and moves decide where games start; they must come out
    // the same wherever a block or a part of the file begins.
    const char* pieces[] = {"[", "[[", "[Event ", "[event ", "[EVENT", "[eVent x", "x", "  ", "\n", "[abc", "Event ",
                            "]", "\"", "\\", "\\\"", "{", "}", ";", "%", "(", ")", "1-0", "*", "1/2-1/2", "0-1", "1. ", "e4 ", "Nf3",
                            "1...0-0-0 ", "5. -- ", "\r\n", "\r", "[White ", "[black ",
                            // whole tag lines and moves, which are read a run of lines at a time
                            "[Site \"s\"]\n", "[Event \"e\"]\n", "[White \"w\"]\n[Black \"b\"]\n", "[Round \"\"]\n", "\n1. e4 *\n\n"};
    std::mt19937 random(7);
    for (int sample = 0; sample < 30; ++sample) {
        std::string bytes;
        while (bytes.size() < 2000) bytes += pieces[random() % std::size(pieces)];
        const std::vector<std::int64_t> expected = testing::GameStartsByteByByte(bytes);
        TempFile file(bytes);
        PgnFile pgn;
        ASSERT_EQ(pgn.Open(file.path()), "");
        for (const std::size_t block : {1, 2, 5, 7, 64, 4096}) {
            for (const int workers : {1, 2, 3}) {
                const GameIndex index = IndexGames(pgn, {}, {.blockBytes = block, .workers = workers});
                ASSERT_EQ(index.GameOffsets, expected) << bytes << "\nblock " << block << ", workers " << workers;
            }
        }
    }
}

TEST(GameIndex, TagLinesOfNearlyThePlainestShapeAgreeWithTheRule) {
    // Most sections are `[Name "value"]` lines and then moves, and are read a run of lines at a
    // time; each row breaks that shape in one way, or nearly does, and must come out as the rule says.
    const std::string moves = "\n\n1. e4 *\n\n";
    const std::string plain = "[Site \"s\"]\n[White \"w\"]\n[Black \"b\"]" + moves;
    const std::string rows[] = {
        plain + plain + "[Event \"e\"]\n[Round \"1\"]" + moves + plain,
        "[Event \"a\"]\n[Event \"b\"]" + moves + plain,                       // a second Event tag
        "[Site \"s\"]\n[event \"e\"]" + moves + "[Event \"f\"]\n[EVENT \"g\"]" + moves,  // Event after another tag
        "[A\"\"]\n[Event \"x\"]" + moves + plain,                                // a tag too short to examine the next
        "[Site \"a[Event \"]\n[Round \"1\"]" + moves + plain,                  // a "[" in a value
        "[Site \"a]b\"]\n[Round \"1\"]" + moves + plain,                       // a "]" in a value
        "[Site \"a\"b\"]\n[Event \"x\"]" + moves + plain,                     // three quotes
        "[Site \"a\\\"b\"]\n[Event \"x\"]" + moves + plain,                 // an escaped quote
        "[Site \"s\"]\r\n[Event \"e\"]\r\n\r\n1. e4 *\r\n" + plain,           // CR LF
        "[Site \"s\"]\r\n[Round \"1\"]\n[Event \"e\"]\r\n\r\n1. e4 *\r\n" + plain,  // both line ends
        "[Site \"a\"]\re4\"]\n[Round \"1\"]" + moves + plain,                 // a CR alone ends a line
        "[White \"a\"]\n[Black \"b\"]\n\n[Site \"c\"]" + moves + plain,       // a record without moves
        "[Site \"a\"]\n [Event \"b\"]" + moves + plain,                        // a tag after a blank
        "[Site \"a\"]\n\nhello\n\n[White \"a\"]\n[Black \"b\"]\n\n[Site \"c\"]" + moves,  // words, not moves
        "[Site \"a\"] x\n[Event \"b\"]" + moves + plain,                       // text after a tag
        "[Annotator \"" + std::string(80, 'x') + "\"]\n[Event \"b\"]" + moves + plain,  // a line longer than 64 bytes
        plain + "[Site \"\"]\n\ne4",                                           // tags near the file's end
    };
    for (const std::string& bytes : rows) {
        const std::vector<std::int64_t> expected = testing::GameStartsByteByByte(bytes);
        TempFile file(bytes);
        PgnFile pgn;
        ASSERT_EQ(pgn.Open(file.path()), "");
        for (const std::size_t block : {7, 64, 4096}) {
            EXPECT_EQ(IndexGames(pgn, {}, {.blockBytes = block, .workers = 1}).GameOffsets, expected) << bytes << "\nblock " << block;
        }
    }
}

TEST(GameIndex, ProgressGrowsAndAStopKeepsAPrefix) {
    std::string bytes;
    for (int i = 0; i < 2000; ++i) bytes += "[Event \"game\"]\n1. e4 e5 *\n\n";
    TempFile file(bytes);
    PgnFile pgn;
    ASSERT_EQ(pgn.Open(file.path()), "");
    const GameIndex all = IndexGames(pgn);
    for (const int workers : {1, 2}) {
        const ScanOptions options{.progressEvery = {}, .blockBytes = 1024, .workers = workers};
        ScanProgress last;
        int calls = 0;
        const GameIndex index = IndexGames(pgn, [&](const ScanProgress& p) {
            EXPECT_GE(p.percent, last.percent);
            EXPECT_LE(p.percent, 100.0);
            EXPECT_GE(p.games, last.games);
            last = p;
            return ++calls < 20;
        }, options);
        EXPECT_TRUE(index.stopped);
        EXPECT_GT(index.GameCount(), 0);
        ASSERT_LT(index.GameCount(), all.GameCount());
        EXPECT_TRUE(std::equal(index.GameOffsets.begin(), index.GameOffsets.end(), all.GameOffsets.begin()));
    }
}

TEST(GameIndex, LeavesTheFileAtTheFirstGameOrItsFirstByte) {
    TempFile file("junk\n[Event \"a\"]\n1. e4 *\n\n[Event \"b\"]\n1. d4 *\n");
    PgnFile pgn(7);  // a small buffer: the scan's block reads and the seeks must agree
    ASSERT_EQ(pgn.Open(file.path()), "");
    const GameIndex index = IndexGames(pgn);
    EXPECT_EQ(index.GameOffsets, (std::vector<std::int64_t>{6, 27}));
    EXPECT_EQ(pgn.Position(), 6);
    EXPECT_EQ(pgn.ReadChar(), '[');

    TempFile none("no games here at all\n");
    ASSERT_EQ(pgn.Open(none.path()), "");
    EXPECT_EQ(IndexGames(pgn).GameCount(), 0);
    EXPECT_EQ(pgn.Position(), 1);
    EXPECT_EQ(IndexGames(pgn).OffsetOf(1), 1);
}

TEST(GameIndex, SplitsAcrossBlocksAreFound) {
    // Games straddling the scan's blocks at every alignment of the tag name.
    std::string bytes;
    std::vector<std::int64_t> expected;
    while (bytes.size() < 3u * 1024 * 1024) {
        expected.push_back(static_cast<std::int64_t>(bytes.size()) + 1);
        bytes += "[Event \"g\"]\n1. e4 *\n" + std::string(expected.size() % 13, ' ');
    }
    bytes += "\n\n\n\n\n\n\n\n";
    EXPECT_EQ(IndexOf(bytes).GameOffsets, expected);
}

TEST(PgnFile, ASeekNoticesTheFileChangedOnDisk) {
    testing::TempFile file("[Event \"One\"]\n1. e4 *\n[Event \"Two\"]\n1. d4 *\n");
    PgnFile pgn(8);
    ASSERT_EQ(pgn.Open(file.path()), "");
    EXPECT_EQ(pgn.ReadChar(), '[');
    file.Write("[Ev");  // truncated after it was read from
    pgn.Seek(2);
    std::string rest;
    while (!pgn.AtEnd()) rest += pgn.ReadChar();
    EXPECT_EQ(rest, "Ev");
    pgn.Seek(20);  // an offset from before the change: ends at once
    EXPECT_TRUE(pgn.AtEnd());
    EXPECT_EQ(pgn.Length(), 3);
}

}  // namespace
}  // namespace tavrel::pgn
