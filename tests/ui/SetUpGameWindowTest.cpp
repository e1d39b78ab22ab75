// Games that start from a set-up position, as the window shows them.

#include "WindowFixture.h"
#include "core/Board.h"

namespace tavrel::ui::testing {
namespace {

// Black to move at move 23; the second game's FEN cannot be used, the third is a variant.
const std::string kGames =
    "[Event \"Study\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 23\"]\n[SetUp \"1\"]\n\n"
    "23... Kd7 24. e4 Kd6 25. e5+ *\n\n"
    "[Event \"Broken\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w\"]\n\n1. Kd2 Kd7 *\n\n"
    "[Event \"House\"]\n[Variant \"Crazyhouse\"]\n\n1. e4 e5 2. N@f3 *\n";

TEST_F(WindowTest, AGameThatStartsWithBlacksMove) {
    ASSERT_TRUE(LoadText(kGames));
    ASSERT_EQ(ScoreLineCount(), 3);
    EXPECT_EQ(ScoreLine(0), "23|...|Kd7");
    EXPECT_EQ(ScoreLine(2), "25|e5+|");
    EXPECT_EQ(window->Slider1->maximum(), 3);

    const struct {
        int value;
        const char* placement;
        const char* side;
        const char* move;
        int line;
    } rows[] = {
        {-1, "4k3/8/8/8/8/8/4P3/4K3", "Black ", "Move: 23 ", 0},
        {0, "8/3k4/8/8/8/8/4P3/4K3", "Black ", "Move: 23 ", 0},
        {1, "8/3k4/8/8/4P3/8/8/4K3", "White ", "Move: 24 ", 1},
        {3, "8/8/3k4/4P3/8/8/8/4K3", "White ", "Move: 25 ", 2},
        {2, "8/8/3k4/8/4P3/8/8/4K3", "Black ", "Move: 24 ", 1},
    };
    for (const auto& row : rows) {
        window->Slider1->setValue(row.value);
        EXPECT_EQ(FenPlacement(window->Game().GameBoard), row.placement) << row.value;
        EXPECT_EQ(window->Game().AnalysisBoard, window->Game().GameBoard) << row.value;
        EXPECT_EQ(Panel(1), row.side) << row.value;
        EXPECT_EQ(Panel(2), row.move) << row.value;
        EXPECT_EQ(ScoreSelection(), row.line) << row.value;
    }
    window->Slider1->setValue(-1);
    EXPECT_TRUE(BlackBold());  // Black is to move at the start
    Step(Qt::Key_Down);        // the first step plays Black's move
    EXPECT_EQ(window->Slider1->value(), 0);
    EXPECT_EQ(window->Game().GameBoard(2, 4), -Piece::King);
    window->Score()->Display_Click(1);  // line 24: after Black's move of move 24
    EXPECT_EQ(window->Slider1->value(), 2);
}

TEST_F(WindowTest, GamesThatCannotBeReplayedSayWhyAndKeepTheirStart) {
    ASSERT_TRUE(LoadText(kGames));
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    const std::pair<const char*, int> rows[] = {{"Start position could not be read", 1},  // what it says, score lines
                                                {"Variant Crazyhouse cannot be replayed", 2}};
    for (const auto& [status, lines] : rows) {
        window->Toolbar1_ButtonClick("Ngame");
        EXPECT_TRUE(Panel(0).startsWith(status)) << Panel(0).toStdString();
        EXPECT_EQ(ScoreLineCount(), lines);
        Step(Qt::Key_Down);  // nothing to replay: the board stays at the start
        EXPECT_EQ(FenPlacement(window->Game().GameBoard), start);
    }
    window->Toolbar1_ButtonClick("Fgame");  // the next game reads normally
    EXPECT_EQ(Panel(0), "None vs. None ");
}

}  // namespace
}  // namespace tavrel::ui::testing
