#include <QAction>

#include "ui/common/ElidedLabel.h"

#include "WindowFixture.h"

namespace tavrel::ui::testing {
namespace {

TEST_F(WindowTest, StartsOnTheFirstGameOfTheFileNamedOnTheCommandLine) {
    ASSERT_TRUE(Load(kSample));
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 4");
    EXPECT_EQ(window->windowTitle(), "Tavrel 2.0-London casual game");
    EXPECT_EQ(window->Score()->windowTitle(), "Round: -");
    EXPECT_EQ(Panel(0), "Anderssen, Adolf vs. Kieseritzky, Lionel ");
    EXPECT_EQ(Panel(1), "White ");
    EXPECT_EQ(Panel(2), "Move: 1 ");
    EXPECT_TRUE(WhiteBold());
    EXPECT_FALSE(BlackBold());
    EXPECT_EQ(window->txtFileName->text(), kSample);
    EXPECT_EQ(window->Slider1->maximum(), 44);  // 23 rows, the result after White's last move
    EXPECT_EQ(window->Slider1->value(), -1);
    EXPECT_EQ(ScoreLine(0), "1|e4|e5");
    EXPECT_EQ(ScoreLine(9), "10|g4|Nf6");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(WindowTest, LongNamesEndInAnEllipsisInsteadOfMidWord) {
    const std::string longName(120, 'w');
    ASSERT_TRUE(LoadText("[Event \"E\"]\n[White \"" + longName + "\"]\n[Black \"Short\"]\n\n1. e4 *\n"
                         "[Event \"F\"]\n[White \"Tal\"]\n[Black \"Petrosian\"]\n\n1. e4 *\n"));
    const auto* panel = static_cast<const ElidedLabel*>(window->StatusPanel[0]);
    EXPECT_EQ(panel->text(), QString::fromStdString(longName) + " vs. Short ");  // the text stays whole
    EXPECT_TRUE(panel->ShownText().endsWith(u'…')) << panel->ShownText().toStdString();
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->ShownText()), panel->contentsRect().width());
    window->Toolbar1_ButtonClick("Ngame");
    EXPECT_EQ(panel->ShownText(), "Tal vs. Petrosian ");
}

TEST_F(WindowTest, SliderStepsJumpsAndStepsBack) {
    ASSERT_TRUE(Load(kSample));
    window->Action(MenuItem::ctlBeep)->setChecked(false);
    window->ctlUndo_Click();
    EXPECT_EQ(dialogs.beeps, 1);  // undo at the start beeps, whatever the option says
    Step(Qt::Key_Down);
    EXPECT_EQ(window->Slider1->value(), 0);
    EXPECT_EQ(Panel(1), "White ");
    EXPECT_FALSE(WhiteBold());
    EXPECT_TRUE(BlackBold());
    EXPECT_EQ(window->Game().GameBoard(5, 5), 1);  // e4
    EXPECT_EQ(ScoreSelection(), 0);
    Step(Qt::Key_Up);
    EXPECT_EQ(window->Slider1->value(), -1);
    EXPECT_EQ(Panel(1), "White ");
    EXPECT_TRUE(WhiteBold());
    EXPECT_EQ(window->Game().GameBoard(5, 5), 0);

    window->Slider1->setValue(5);  // a jump: after Black's third move
    EXPECT_EQ(Panel(1), "Black ");
    EXPECT_EQ(Panel(2), "Move: 3 ");
    EXPECT_TRUE(BlackBold());
    EXPECT_EQ(ScoreSelection(), 2);
    window->ctlUndo_Click();
    Step(Qt::Key_Down);  // the same position by one step
    EXPECT_EQ(window->Slider1->value(), 5);
    EXPECT_EQ(Panel(1), "Black ");
    EXPECT_TRUE(WhiteBold());
    EXPECT_EQ(window->Game().SideToMove, White);
    Step(Qt::Key_End);
    EXPECT_EQ(window->Slider1->value(), 44);
    EXPECT_EQ(window->Game().GameBoard(2, 5), Piece::Bishop);  // 23. Be7#

    // Dragging the thumb names the position in the panels; the board moves when it is let go.
    const Board atEnd = window->Game().GameBoard;
    window->Slider1->setSliderDown(true);
    window->Slider1->setSliderPosition(6);
    EXPECT_EQ(Panel(1), "White ");
    EXPECT_EQ(Panel(2), "Move: 4 ");
    EXPECT_EQ(window->Game().GameBoard, atEnd);
    window->Slider1->setSliderDown(false);
    EXPECT_EQ(window->Slider1->value(), 6);
    EXPECT_EQ(window->Game().GameBoard(8, 6), Piece::King);  // 4. Kf1, and 4... b5 still to come
    EXPECT_EQ(window->Game().GameBoard(2, 2), -Piece::Pawn);
}

// A text that names no legal move, or that two pieces could play, stops the game (the replay's
// tests step and jump past it): the first panel names the move while the board stands there.
TEST_F(WindowTest, TheBoardStopsAtAMoveThatCannotBePlayedAndThePanelSaysWhich) {
    const struct {
        const char* movetext;
        const char* said;
        const char* reached;
        int scoreHalvesReached;  // the score greys the rest
    } rows[] = {
        {"1. e4 e5 2. Ke3 Nf6 3. d4 *", "Move 2. Ke3 cannot be played", "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR", 2},
        {"1. e4 e5 2. Nf3 Nc6 3. Bc4 Ne7 4. O-O Nf5 *", "Move 3... Ne7 cannot be played (c6 or g8)",
         "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R", 5},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(LoadText(std::string("[White \"W\"]\n[Black \"B\"]\n\n") + row.movetext + "\n"));
        int reachedHalves = 0;
        for (const ScoreRow& line : window->Score()->Model().Rows()) reachedHalves += line.white.reached + line.black.reached;
        EXPECT_EQ(reachedHalves, row.scoreHalvesReached) << row.said;
        Step(Qt::Key_End);
        EXPECT_EQ(FenPlacement(window->Game().GameBoard), row.reached) << row.said;
        EXPECT_EQ(Panel(0), row.said);
        Step(Qt::Key_Home);
        EXPECT_EQ(Panel(0), "W vs. B ");
    }
    // The result after Black's mate stands in White's place of a row of its own: no move.
    ASSERT_TRUE(LoadText("[White \"W\"]\n[Black \"B\"]\n\n1. f3 e5 2. g4 Qh4# 0-1\n"));
    Step(Qt::Key_End);
    EXPECT_EQ(Panel(0), "W vs. B ");
    EXPECT_FALSE(window->Game().Unplayable.has_value());
}

TEST_F(WindowTest, ScoreClicksJumpEvenOnTheSelectedLine) {
    ASSERT_TRUE(Load(kSample));
    QListView* list = window->Score()->Display;
    const struct {
        int before;  // the slider's value before the click, or none
        int line;
        int after;
    } rows[] = {
        {-1, 0, 1},    // at the start line 1 is selected: the click shows Black's first reply
        {0, 0, 1},     // after White's move, a click on its line shows Black's
        {-1, 3, 7},
        {5, 22, 44},   // 23. Be7# with the result in Black's place: the game's end
        {44, 22, 44},
    };
    for (const auto& row : rows) {
        window->Slider1->setValue(row.before);
        ClickScoreLine(row.line);
        EXPECT_EQ(window->Slider1->value(), row.after) << "line " << row.line << " from " << row.before;
        EXPECT_EQ(ScoreSelection(), row.line);
    }
    EXPECT_EQ(window->Game().GameBoard(2, 5), Piece::Bishop);
    QTest::keyClick(list, Qt::Key_A);
    QTest::keyClick(list, Qt::Key_1);
    EXPECT_EQ(ScoreSelection(), 22);
    EXPECT_EQ(window->Slider1->value(), 44);
    QTest::keyClick(list, Qt::Key_Up);  // selection keys act as clicks
    EXPECT_EQ(window->Slider1->value(), 43);
    // The window's own selection changes never move the slider.
    window->Slider1->setValue(0);
    EXPECT_EQ(ScoreSelection(), 0);
    EXPECT_EQ(window->Slider1->value(), 0);
}

TEST_F(WindowTest, GoToGameReadsTheNumberAtTheStartOfTheAnswerAndAsksAgainForOneOutOfRange) {
    ASSERT_TRUE(Load(kSample));
    const QString prompt = "ask|Which game number?|Which game do you wish to go to?\r\n"
                           "Please enter a game number between 1 and 4.";
    const QString again = "ask|Which game number?|You have requested a bad game number.\r\n"
                          "Please enter a game number between 1 and 4.";
    struct Row {
        std::deque<std::optional<QString>> answers;
        long long game;
        int asked;  // boxes shown
    };
    const Row rows[] = {{{"3.9"}, 3, 1},       {{"  2"}, 2, 1},        {{"x"}, 2, 2},
                        {{"12345", "0"}, 2, 3}, {{"-1", "1"}, 1, 2},    {{std::nullopt}, 1, 1},
                        {{""}, 1, 1},           {{"4 please"}, 4, 1}};
    for (const Row& row : rows) {
        dialogs.asked.clear();
        dialogs.texts = row.answers;
        window->ctlGoToGame_Click();
        const std::string answers = row.answers.front().value_or("<cancel>").toStdString();
        EXPECT_EQ(window->CurrentGame(), row.game) << answers;
        ASSERT_EQ(dialogs.asked.size(), row.asked) << answers;
        EXPECT_EQ(dialogs.asked.front(), prompt);
        for (int i = 1; i < row.asked; ++i) EXPECT_EQ(dialogs.asked[i], again) << answers;
    }
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 4 of 4");
    EXPECT_EQ(window->windowTitle(), "Tavrel 2.0-Vienna");
}

TEST_F(WindowTest, ToolbarStopsAtTheEndsWithoutASound) {
    ASSERT_TRUE(Load(kSample));
    window->Slider1->setValue(5);
    window->Toolbar1_ButtonClick("Pgame");
    EXPECT_EQ(window->CurrentGame(), 1);
    EXPECT_EQ(window->Slider1->value(), 5);  // nothing at all happened
    window->Toolbar1_ButtonClick("Lgame");
    window->Toolbar1_ButtonClick("Ngame");
    EXPECT_EQ(window->CurrentGame(), 4);
    EXPECT_EQ(window->Slider1->value(), -1);
    window->Toolbar1_ButtonClick("Pgame");
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 3 of 4");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(WindowTest, OpeningAnotherFile) {
    ASSERT_TRUE(Load(kSample));
    window->Slider1->setValue(9);
    ::tavrel::testing::TempFile other("[Event \"One\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. d4 d5 *\n\n"
                                      "[Event \"Two\"]\n\n1. c4 *\n");
    OpenInDialog(other.path());
    EXPECT_EQ(dialogs.asked.last(), "open|Open PGN file|PGN Files (*.pgn);;Compressed PGN Files (*.pgn.zst *.pgn.gz *.zst *.gz *.zip);;All Files (*)");
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 2");
    EXPECT_EQ(window->txtFileName->text(), QString::fromStdString(other.path()));
    EXPECT_EQ(window->windowTitle(), "Tavrel 2.0-One");
    EXPECT_EQ(window->Slider1->value(), -1);
    EXPECT_EQ(window->Game().AnalysisBoard, window->Game().GameBoard);
    EXPECT_EQ(window->Game().GameBoard(7, 4), Piece::Pawn);
    dialogs.files = {""};  // cancelled: nothing changes
    window->ctlOpen_Click();
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 2");
}

TEST_F(WindowTest, CommandLinePathsThatCannotBeOpened) {
    dialogs.files = {"/no/such/dir", kSample};
    ASSERT_TRUE(Load("/no/such/file.pgn"));
    ASSERT_GE(dialogs.asked.size(), 4);
    EXPECT_TRUE(dialogs.asked[0].startsWith("message|Tavrel|")) << dialogs.asked[0].toStdString();
    EXPECT_TRUE(dialogs.asked[0].contains("/no/such/file.pgn"));
    EXPECT_TRUE(dialogs.asked[0].contains("No such file"));
    EXPECT_TRUE(dialogs.asked[1].startsWith("open|"));
    EXPECT_TRUE(dialogs.asked[2].contains("/no/such/dir"));
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 4");

    FakeDialogs none;
    Skelda another(none);
    EXPECT_FALSE(another.Form_Load("/tmp"));  // a folder, then no file chosen: the program ends
    EXPECT_TRUE(none.asked[0].contains("Is a directory"));
}

TEST_F(WindowTest, AGameGoneFromTheFileLeavesTheGameOnShowWhole) {
    ASSERT_TRUE(LoadText("[Event \"One\"]\n[White \"A\"]\n\n1. e4 e5 *\n\n[Event \"Two\"]\n\n1. d4 d5 *\n"));
    Step(Qt::Key_Down, 2);
    const Board shown = window->Game().GameBoard;
    files.back().Write("[Event");  // truncated on disk after it was indexed
    const int before = dialogs.beeps;
    window->Toolbar1_ButtonClick("Lgame");
    EXPECT_EQ(dialogs.beeps, before + 1);
    EXPECT_EQ(window->CurrentGame(), 1);
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 2");
    EXPECT_EQ(window->windowTitle(), "Tavrel 2.0-One");
    EXPECT_EQ(Panel(0), "A vs. None ");
    EXPECT_EQ(ScoreLineCount(), 1);
    EXPECT_EQ(window->Slider1->value(), 1);
    EXPECT_EQ(window->Game().GameBoard, shown);
    // What is left of game 1 reads as a game without moves, shown whole with its number.
    window->Toolbar1_ButtonClick("Ngame");
    dialogs.texts = {"1"};
    window->ctlGoToGame_Click();
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 2");
    EXPECT_EQ(ScoreLineCount(), 0);
    EXPECT_EQ(window->Slider1->maximum(), -1);
    EXPECT_EQ(Panel(0), "None vs. None ");
    EXPECT_EQ(window->Game().GameBoard(7, 5), Piece::Pawn);  // e2 pawn home
}

}  // namespace
}  // namespace tavrel::ui::testing
