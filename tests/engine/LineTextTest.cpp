#include <gtest/gtest.h>

#include "core/Fen.h"
#include "engine/LineText.h"
#include "engine/UciInfo.h"

namespace tavrel::engine {
namespace {

InfoLine Line(int depth, int multipv, int cp, const char* pv = "e2e4") {
    return ParseInfo("depth " + std::to_string(depth) + " multipv " + std::to_string(multipv) + " score cp " +
                     std::to_string(cp) + " pv " + pv);
}

TEST(UciInfo, ReadsWhatItKnowsAndPassesOverTheRest) {
    const InfoLine full = ParseInfo(
        " depth 18 seldepth 25 multipv 2 score cp -35 wdl 100 800 100 nodes 123456 nps 987654 hashfull 12 tbhits 0 "
        "time 125 pv e2e4 e7e5 g1f3");
    EXPECT_EQ(full.depth, 18);
    EXPECT_EQ(full.seldepth, 25);
    EXPECT_EQ(full.multipv, 2);
    EXPECT_EQ(full.score, (EngineScore{false, -35}));
    EXPECT_FALSE(full.bound);
    EXPECT_EQ(full.nodes, 123456);
    EXPECT_EQ(full.nps, 987654);
    EXPECT_EQ(full.pv, (std::vector<std::string>{"e2e4", "e7e5", "g1f3"}));

    EXPECT_EQ(ParseInfo("depth 5 score mate -3 pv h7h8q").score, (EngineScore{true, -3}));
    EXPECT_TRUE(ParseInfo("depth 5 score cp 20 lowerbound pv e2e4").bound);
    EXPECT_TRUE(ParseInfo("depth 5 score cp 20 upperbound nodes 4").bound);
    EXPECT_FALSE(ParseInfo("depth 5 score cp x pv e2e4").score);           // no number
    EXPECT_TRUE(ParseInfo("string depth 5 score cp 3 pv e2e4").pv.empty());  // free text
    EXPECT_TRUE(ParseInfo("\x01\x7f garbage ::: pv pv pv").pv.empty());
    EXPECT_EQ(ParseInfo("depth 3 currmove e2e4 currmovenumber 1").pv.size(), 0u);
}

TEST(UciInfo, OnlyCompleteSetsAtOneDepthAreShown) {
    LineSets sets(3);
    EXPECT_FALSE(sets.Add(Line(5, 1, 10)));
    EXPECT_FALSE(sets.Add(Line(5, 2, 5)));
    EXPECT_FALSE(sets.Add(ParseInfo("depth 5 multipv 3 score cp 1 lowerbound pv d2d4")));  // bound: left out
    EXPECT_TRUE(sets.Add(Line(5, 3, 0, "d2d4")));
    ASSERT_EQ(sets.Complete().size(), 3u);
    EXPECT_EQ(sets.Complete()[2].pv[0], "d2d4");
    // Depth 6 starts; a late depth-5 line does not count, and the depth-5 set stays shown.
    EXPECT_FALSE(sets.Add(Line(6, 1, 12)));
    EXPECT_FALSE(sets.Add(Line(5, 2, 7)));
    EXPECT_EQ(sets.Complete()[0].depth, 5);
    // A position with two moves only: depth 7 begins before the third line ever comes.
    EXPECT_FALSE(sets.Add(Line(6, 2, 3)));
    EXPECT_TRUE(sets.Add(Line(7, 1, 14)));
    EXPECT_EQ(sets.Complete().size(), 2u);
    EXPECT_EQ(sets.Complete()[0].depth, 6);
    EXPECT_TRUE(sets.Finish());
    EXPECT_EQ(sets.Complete().size(), 1u);
    EXPECT_FALSE(sets.Add(Line(8, 4, 1)));  // more lines than wanted
}

TEST(LineText, ScoresAreFromWhitesSide) {
    const struct {
        EngineScore score;
        int side;
        const char* text;
    } kRows[] = {
        {{false, 35}, White, "+0.35"}, {{false, 35}, Black, "-0.35"}, {{false, -120}, White, "-1.20"},
        {{false, 0}, Black, "0.00"},   {{true, 3}, White, "#3"},      {{true, 3}, Black, "#-3"},
        {{true, -2}, Black, "#2"},
    };
    for (const auto& row : kRows) EXPECT_EQ(ScoreText(row.score, row.side), row.text);
}

LinePosition At(const char* fen) {
    const FenSetUp setUp = *ParseFen(fen).setUp;
    return {setUp.position, setUp.side, setUp.opponentLast, 0};
}

TEST(LineText, LinesAreNumberedFromThePositionAndCutAtAnIllegalMove) {
    const char* kMiddle = "r4rk1/pp3ppp/8/8/8/4q3/PP4PP/R4R1K b - - 0 23";
    const char* kCastle = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 10";
    const struct {
        const char* fen;
        int number;
        std::vector<std::string> pv;
        const char* text;
        int legal;
    } kRows[] = {
        {kMiddle, 23, {"e3e1", "a1e1", "f8e8"}, "23... Qe1 24. Raxe1 Rfe8", 3},
        {kMiddle, 23, {"e3e1", "a1e1", "f8f9", "a8e8"}, "23... Qe1 24. Raxe1", 2},  // not a square
        {kMiddle, 23, {"e3e1", "e1e2"}, "23... Qe1", 1},                          // not White's piece
        {kCastle, 10, {"e1h1", "e8c8"}, "10. O-O O-O-O", 2},
        {kCastle, 10, {"e1g1", "e8a8"}, "10. O-O O-O-O", 2},
        {kCastle, 10, {"a1a9"}, "", 0},
    };
    for (const auto& row : kRows) {
        const ReadLine line = ReadPv(At(row.fen), row.number, row.pv);
        EXPECT_EQ(line.text, row.text) << row.fen;
        EXPECT_EQ(line.legalMoves, row.legal) << row.fen;
    }
    EXPECT_EQ(ReadPv(At(kCastle), 10, {"e1h1"}).first, (Move{{8, 5}, {8, 7}}));
}

}  // namespace
}  // namespace tavrel::engine
