// The opening tree from the main window: it follows the position on show, and a click plays the
// move on the analysis board without touching the game.

#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "ui/WaitUntil.h"
#include "ui/WindowFixture.h"
#include "ui/list/GameList.h"
#include "ui/tree/OpeningTree.h"

namespace tavrel::ui::testing {
namespace {

const std::string kGames =
    "[Event \"a\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 1-0\n\n"
    "[Event \"b\"]\n[Result \"0-1\"]\n\n1. e4 c5 2. Nf3 d6 0-1\n\n"
    "[Event \"c\"]\n[Result \"1/2-1/2\"]\n\n1. d4 d5 1/2-1/2\n";

class OpeningTreeTest : public WindowTest {
protected:
    OpeningTree* Open() {
        window->Action(MenuItem::ctlOpeningTree)->trigger();
        OpeningTree* tree = window->Tree();
        EXPECT_NE(tree, nullptr);
        return tree;
    }
    // The rows as "move games", in name order (rows of equal games may stand either way).
    static QStringList Rows(OpeningTree* tree) {
        QStringList rows;
        for (int i = 0; i < tree->Table->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = tree->Table->topLevelItem(i);
            rows << item->text(0) + " " + item->text(1);
        }
        rows.sort();
        return rows;
    }
    static QTreeWidgetItem* RowOf(OpeningTree* tree, const QString& move) {
        const QList<QTreeWidgetItem*> found = tree->Table->findItems(move, Qt::MatchExactly, 0);
        return found.size() == 1 ? found[0] : nullptr;
    }
};

TEST_F(OpeningTreeTest, FollowsTheSliderAndPlaysAClickedMoveOnTheAnalysisBoard) {
    ASSERT_TRUE(LoadText(kGames));
    OpeningTree* tree = Open();
    WAIT_UNTIL(tree->Settled());
    EXPECT_EQ(tree->Count->text(), "3 games");
    EXPECT_EQ(Rows(tree), (QStringList{"Total 3", "d4 1", "e4 2"}));
    EXPECT_EQ(tree->Table->topLevelItem(1)->text(0), "e4");  // most played first, under the total

    Step(Qt::Key_Down);  // 1. e4 on show
    WAIT_UNTIL(tree->Settled());
    EXPECT_EQ(Rows(tree), (QStringList{"Total 2", "c5 1", "e5 1"}));
    EXPECT_EQ(RowOf(tree, "e5")->text(3), "0.0%");  // Black lost it: the score is the mover's

    // A click on "e5": the analysis board shows the position after it, the game stays.
    const Board gameBoard = window->Game().GameBoard;
    QTreeWidgetItem* e5 = RowOf(tree, "e5");
    ASSERT_NE(e5, nullptr);
    QTest::mouseClick(tree->Table->viewport(), Qt::LeftButton, {}, tree->Table->visualItemRect(e5).center());
    WAIT_UNTIL(window->Settings().AnalysisShown());
    WAIT_UNTIL(tree->Settled());
    EXPECT_EQ(window->Game().AnalysisBoard(4, 5), -Piece::Pawn);  // e5
    EXPECT_EQ(window->Game().AnalysisBoard(5, 5), Piece::Pawn);   // e4
    EXPECT_EQ(window->Game().GameBoard, gameBoard);
    EXPECT_EQ(Rows(tree), (QStringList{"Nf3 1", "Total 1"}));

    // The FEN copy takes the analysis board's position, with White to move after the tree's e5.
    window->Action(MenuItem::ctlCopyFen)->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq "))
        << QGuiApplication::clipboard()->text().toStdString();

    // A position no game reaches.
    tree->PlayMove(search::EncodeMove({{8, 7}, {6, 8}}, 0));  // Nh3
    WAIT_UNTIL(tree->Settled());
    EXPECT_EQ(tree->Count->text(), "No games");
    EXPECT_EQ(tree->Table->topLevelItemCount(), 0);
}

// The analysis board made from the game after a Black double step: en passant is the last move's.
TEST_F(OpeningTreeTest, CopyPositionOfTheAnalysisBoardKeepsTheGamesEnPassant) {
    ASSERT_TRUE(LoadText("[White \"W\"]\n[Black \"B\"]\n\n1. e4 d5 2. e5 f5 *\n"));
    Step(Qt::Key_End);
    window->Action(MenuItem::ctlDisplay)->trigger();
    ASSERT_TRUE(window->Settings().AnalysisShown());
    window->Action(MenuItem::ctlCopyFen)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
}

// Game d reaches the position after 1. e4 e5 2. Nf3 by another move order.
TEST_F(OpeningTreeTest, ListsTheGamesReachingThePositionOpensThemThereAndSavesThem) {
    const std::string d = "[Event \"d\"]\n[Result \"*\"]\n\n1. Nf3 e5 2. e4 Nc6 *\n";
    ASSERT_TRUE(LoadText(kGames + "\n" + d));
    OpeningTree* tree = Open();
    Step(Qt::Key_Down, 3);
    WAIT_UNTIL(tree->Settled());
    EXPECT_EQ(tree->Count->text(), "2 games");
    tree->GamesButton->click();
    WAIT_UNTIL(window->List() && window->List()->ShownGames().size() == 2);
    GameList* list = window->List();
    EXPECT_EQ(list->ShownGames(), (std::vector<std::int64_t>{1, 4}));
    EXPECT_EQ(list->Model()->ReachedAt(4), 3);

    emit list->GameChosen(4);
    EXPECT_EQ(window->CurrentGame(), 4);
    EXPECT_EQ(window->Slider1->value(), 2);  // after 2. e4

    // The games written as they stand, in the list's order; the open file is no target.
    QTemporaryDir dir;
    dialogs.files = {dir.filePath("reaching.pgn"), window->txtFileName->text()};
    list->SaveButton->click();
    EXPECT_EQ(::tavrel::testing::FileBytes(dir.filePath("reaching.pgn").toStdString()),
              kGames.substr(0, kGames.find("[Event \"b\"]")) + d);
    list->SaveButton->click();
    EXPECT_TRUE(dialogs.asked.last().startsWith("message|Save games as|The games were not saved: the open file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"reaching.pgn"});

    list->AllGamesButton->click();
    EXPECT_EQ(list->ShownGames().size(), 4u);
}

// Questions asked while the openings are still being kept: each is answered over every game,
// partly from the openings kept and partly from the text of the games after them. Positions
// left before their answer is complete and come back to count what was searched once.
TEST_F(OpeningTreeTest, QuestionsAskedWhileTheOpeningsAreKeptCountEveryGame) {
    std::string many;
    for (int i = 0; i < 10000; ++i) many += kGames + "\n";  // several chunks of games a pass
    ASSERT_TRUE(LoadText(many));
    OpeningTree* tree = Open();
    Step(Qt::Key_Down);
    Step(Qt::Key_Up);
    Step(Qt::Key_Down);
    Step(Qt::Key_Up);
    for (const char* count : {"30,000 games", "20,000 games", "10,000 games"}) {
        WAIT_UNTIL(tree->Settled());
        EXPECT_EQ(tree->Count->text(), count);
        Step(Qt::Key_Down);
    }
    Step(Qt::Key_Up, 3);
    WAIT_UNTIL(tree->Settled());
    EXPECT_EQ(Rows(tree), (QStringList{"Total 30,000", "d4 10,000", "e4 20,000"}));
}

// Games would be read at offsets that no longer hold them: the answer is dropped and the window
// says why, rather than counting whatever bytes now stand there.
TEST_F(OpeningTreeTest, AFileChangedOnDiskWhileTheTreeIsComputedGivesNoAnswer) {
    ASSERT_TRUE(LoadText(kGames));
    OpeningTree* tree = Open();
    WAIT_UNTIL(tree->Settled());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a later modification time
    files.back().Write("[Event \"x\"]\n\n1. c4 c5 *\n\n" + kGames);
    Step(Qt::Key_Down);
    WAIT_UNTIL(tree->Count->text().contains("changed on disk"));
    EXPECT_EQ(tree->Table->topLevelItemCount(), 0);
    EXPECT_FALSE(tree->Settled());
    EXPECT_FALSE(tree->GamesButton->isEnabled());
}

}  // namespace
}  // namespace tavrel::ui::testing
