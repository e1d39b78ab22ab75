#include <gtest/gtest.h>

#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"
#include "pgn/GameSource.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

using testing::TempFile;
using Rows = std::vector<std::pair<std::string, std::string>>;

GameRecord ReadNth(const std::string& bytes, int number = 1) {
    TempFile file(bytes);
    GameSource source;
    EXPECT_EQ(source.Open(file.path()), "");
    return source.ReadGame(number);
}

const std::string kTags = "[Event \"E\"]\n[White \"W\"]\n[Black \"B\"]\n\n";

// A game's movetext and the rows and slider range it must read as.
struct MoveRow {
    const char* why;
    std::string movetext;
    Rows rows;
    int sliderMax;
};

const std::string kNoMovesFirst = "[Event \"first\"]\n[Result \"*\"]\n\n*\n\n[Event \"second\"]\n\n1. e4 *\n";

// Where games start, and which game, tags and rows are read there.
TEST(GameReader, GamesAndWhereTheyStart) {
    struct Row {
        const char* why;
        std::string bytes;
        int number;  // the game read
        std::int64_t games;
        std::string white, event;
        Rows rows;
    };
    const Row rows[] = {
        {"tags in any order", "[White \"W\"]\n[Black \"B\"]\n[Event \"E\"]\n\n1. e4 e5 *\n[White \"X\"]\n[Event \"F\"]\n1. d4 *\n",
         2, 2, "X", "F", {{"d4", ""}}},
        {"a tag and the moves on one line", "[Result \"*\"] e4 e5 *\n[Result \"*\"] 1. d4 *\n", 1, 2, "None", "No Event",
         {{"e4", "e5"}}},
        {"movetext without numbers", "[FEN \"x\"]\n\ne4 e5 Nf3 Nc6 *\n", 1, 1, "None", "No Event",
         {{"e4", "e5"}, {"Nf3", "Nc6"}}},
        {"a stray byte after the last game", "[Event \"E\"]\n1. e4 *\n\x1a", 1, 1, "None", "E", {{"e4", ""}}},
        {"Event inside a comment", "1. e4 {see [Event \"x\"] there} e5 *\n", 2, 2, "None", "x", {{"e5", ""}}},
        // A game without moves once swallowed the next one.
        {"a game without moves", kNoMovesFirst, 1, 2, "None", "first", {}},
        {"the game after one without moves", kNoMovesFirst, 2, 2, "None", "second", {{"e4", ""}}},
        {"a game that starts at a later move number", "[Event \"x\"]\n\n23. Kf1 Kf8 *\n[Event \"y\"]\n\n1. e4 *\n", 1, 2,
         "None", "x", {{"Kf1", "Kf8"}}},
    };
    for (const Row& row : rows) {
        TempFile file(row.bytes);
        PgnFile pgn;
        ASSERT_EQ(pgn.Open(file.path()), "");
        EXPECT_EQ(IndexGames(pgn).GameCount(), row.games) << row.why;
        const GameRecord game = ReadNth(row.bytes, row.number);
        EXPECT_EQ(game.WhitePlayer, row.white) << row.why;
        EXPECT_EQ(game.EventName, row.event) << row.why;
        EXPECT_EQ(game.rows, row.rows) << row.why;
    }
}

// Variations, glyphs, rest-of-line comments and comments before the first move are read in the
// real files, whose replay is compared with the references; CR and CRLF line ends in the bad-file
// suite; comments, escape lines and variations as tokens in the lexer's.
TEST(GameReader, MoveRowsAndTheSliderRange) {
    const MoveRow rows[] = {
        {"no result, the next game's tag on the next line", "1. e4 e5 2. Nf3 Nc6\n[Event \"2\"]\n1. d4 *",
         {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"the next game's tag right after Black's move", "1. e4 e5 2. Nf3 Nc6[Event \"2\"]\n1. d4 *",
         {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"the next game's tag right after White's move", "1. e4 e5 2. Nf3[Event \"2\"]\n[Date \"2024.01.01\"]\n1. d4 *",
         {{"e4", "e5"}, {"Nf3", ""}}, 2},
        {"a move number and nothing after it", "1. e4 e5 2. *\n[Event \"2\"]\n1. d4 *", {{"e4", "e5"}}, 1},
        {"ends after Black, no result", "1. e4 e5 2. Nf3 Nc6", {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"result after White", "1. e4 e5 2. Nf3 1-0\n", {{"e4", "e5"}, {"Nf3", "1-0"}}, 2},
        {"result after Black", "1. e4 e5 2. Nf3 Nc6 0-1\n",
         {{"e4", "e5"}, {"Nf3", "Nc6"}, {"0-1", ""}}, 4},
        {"comments glued to moves", "1. e4{best by test} e5 2. Nf3{x}{y} Nc6 *",
         {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"a move number with dots after a comment", "1. e4 {1. e4 is good} 1... e5 2. Nf3 5... Nc6 *",
         {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"a glyph at a line end", "1. e4 e5 $1\n2. Nf3 Nc6 *", {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"castling in every spelling", "1. O-O o-o-o 2. 0-0 0-0-0+ 3. O-O! 0-0 *",
         {{"O-O", "O-O-O"}, {"O-O", "O-O-O+"}, {"O-O!", "O-O"}}, 5},
        {"null moves", "1. e4 -- 2. -- Z0 3. 0000 e5 4. d4 0000 5. c4 5... -- 6. c5 *",
         {{"e4", "--"}, {"--", "Z0"}, {"0000", "e5"}, {"d4", "0000"}, {"c4", "--"}, {"c5", ""}}, 10},
        {"an en passant mark apart or joined", "1. exd6 e.p. exd3 e.p. 2. exd6e.p. Kd7 *",
         {{"exd6 e.p.", "exd3 e.p."}, {"exd6e.p.", "Kd7"}}, 3},
        {"move number without a period", "1. e4 e5 2 Nf3 Nc6 *", {{"e4", "e5"}, {"Nf3", "Nc6"}}, 3},
        {"a null move after a bare move number", "1 e4 e5 2 -- Nc6 3 Nf3 *",
         {{"e4", "e5"}, {"--", "Nc6"}, {"Nf3", ""}}, 4},
        {"castling with zeros after a bare move number", "1 e4 e5 2 0-0 0-0-0 3 Nf3 *",
         {{"e4", "e5"}, {"O-O", "O-O-O"}, {"Nf3", ""}}, 4},
        {"a result after a bare move number", "1 e4 e5 2 0-1\n", {{"e4", "e5"}, {"0-1", ""}}, 2},
        // Forms real files write that the reader once refused.
        {"a result glued to the last move", "1. e4 e5 2. R8xg20-1\n", {{"e4", "e5"}, {"R8xg2", "0-1"}}, 2},
        {"an en passant mark without dots", "1. exd6 ep Kd7 *", {{"exd6 e.p.", "Kd7"}}, 1},
    };
    for (const MoveRow& row : rows) {
        const GameRecord game = ReadNth(kTags + row.movetext);
        EXPECT_EQ(game.rows, row.rows) << row.why;
        EXPECT_EQ(game.SliderMax(), row.sliderMax) << row.why;
        EXPECT_EQ(game.outcome, GameRecord::Outcome::Read) << row.why;
    }
}

TEST(GameReader, TagValues) {
    const GameRecord game = ReadNth(
        "[Event \"Batch 10: vs master[!important]\"]\n[Site \"x\"] [Round \"5\"]\n"
        "[White \"O\\\"Kelly\"]\n[Black \"Smith \"The King\"\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n"
        "{after the tags 1. e4} 1. Kb1 *\n");
    EXPECT_EQ(game.EventName, "Batch 10: vs master[!important]");
    EXPECT_EQ(game.RoundName, "5");
    EXPECT_EQ(game.WhitePlayer, "O\\Kelly");  // quotes go, the backslash stays
    EXPECT_EQ(game.BlackPlayer, "Smith The King");
    EXPECT_EQ(game.Fen, "8/8/8/8/8/8/8/K6k w - - 0 1");
    EXPECT_EQ(game.rows, (Rows{{"Kb1", ""}}));

    const GameRecord bare = ReadNth("[Event \"x\"]\n[Result \"*\"]\n\n1. e4 *\n");
    EXPECT_EQ(bare.WhitePlayer, "None");
    EXPECT_EQ(bare.BlackPlayer, "None");
    EXPECT_EQ(bare.RoundName, "None");
    const GameRecord unclosed = ReadNth("[Event \"Tournament \\\"]\n[White \"A\"]\n\n1. e4 *\n");
    EXPECT_EQ(unclosed.EventName, "Tournament \\");
    EXPECT_EQ(unclosed.WhitePlayer, "A");
}

TEST(GameReader, GamesThatStartWithBlacksMove) {
    const std::string tags = "[Event \"x\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 23\"]\n\n";
    const MoveRow rows[] = {
        {"Black's move only", "23... Kd7", {{"", "Kd7"}}, 0},
        {"ends after White, no result", "23... Kd7 24. e4", {{"", "Kd7"}, {"e4", ""}}, 1},
        {"ends after Black, no result", "23... Kd7 24. e4 Kd6", {{"", "Kd7"}, {"e4", "Kd6"}}, 2},
        {"result after Black", "23... Kd7 24. e4 Kd6 1/2-1/2\n",
         {{"", "Kd7"}, {"e4", "Kd6"}, {"1/2-1/2", ""}}, 3},
        {"result after White", "23... Kd7 24. e4 0-1\n", {{"", "Kd7"}, {"e4", "0-1"}}, 1},
        {"numbered as if White began", "23. Kd7 24. e4 Kd6", {{"", "Kd7"}, {"e4", "Kd6"}}, 2},
        {"a null move first", "23... -- 24. e4 Kd7", {{"", "--"}, {"e4", "Kd7"}}, 2},
        {"castling in zeros first", "23... 0-0 24. e4 Kd7", {{"", "O-O"}, {"e4", "Kd7"}}, 2},
    };
    for (const MoveRow& row : rows) {
        const GameRecord game = ReadNth(tags + row.movetext);
        EXPECT_EQ(game.rows, row.rows) << row.why;
        EXPECT_EQ(game.SliderMax(), row.sliderMax) << row.why;
        EXPECT_TRUE(game.blackStarts) << row.why;
    }
    EXPECT_FALSE(ReadNth("[Event \"x\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 0\"]\n\n1. e4 *").blackStarts);
}

// A cut anywhere is the bad-file suite's truncation test; here a read past the end, and games
// that end before their moves.
TEST(GameReader, OutcomesPastTheEndAndWithoutMoves) {
    const GameRecord atEnd = [] {
        TempFile file("[Event \"x\"]\n1. e4 *\n");
        PgnFile pgn;
        pgn.Open(file.path());
        pgn.Seek(1000);
        return ReadGame(pgn);
    }();
    EXPECT_EQ(atEnd.outcome, GameRecord::Outcome::AtEnd);
    EXPECT_TRUE(atEnd.Beeps());
    EXPECT_EQ(ReadNth("[Event \"x\"]\n[White \"A").outcome, GameRecord::Outcome::NoMoves);
    EXPECT_EQ(ReadNth(kNoMovesFirst).outcome, GameRecord::Outcome::NoMoves);
    // Only a comment (or an escape line) that ends the bytes before any move gives this outcome.
    const GameRecord inComment = ReadNth("[Event \"x\"]\n{no moves here");
    EXPECT_EQ(inComment.outcome, GameRecord::Outcome::EndedInComment);
    EXPECT_EQ(inComment.EventName, "x");
    EXPECT_EQ(ReadNth("[Event \"x\"]\n; a line\n").outcome, GameRecord::Outcome::EndedInComment);
}

}  // namespace
}  // namespace tavrel::pgn
