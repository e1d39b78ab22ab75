// The keys and the wheel that move through the game, wherever the main window's keyboard is, and
// the menu's keys that no two items share.

#include <QApplication>
#include <QWheelEvent>
#include <set>

#include "WindowFixture.h"

namespace tavrel::ui::testing {
namespace {

TEST_F(WindowTest, ArrowPageHomeAndEndKeysStepThroughTheGameFromEveryPartOfTheWindow) {
    ASSERT_TRUE(Load(kSample));  // the Immortal Game: slider -1 to 44
    const struct {
        Qt::Key key;
        int from;
        int to;
    } rows[] = {
        {Qt::Key_Right, 3, 4}, {Qt::Key_Down, 3, 4},     {Qt::Key_Left, 3, 2},      {Qt::Key_Up, 3, 2},
        {Qt::Key_PageDown, 3, 13}, {Qt::Key_PageUp, 13, 3}, {Qt::Key_PageUp, 3, -1}, {Qt::Key_PageDown, 40, 44},
        {Qt::Key_Home, 20, -1}, {Qt::Key_End, 20, 44},    {Qt::Key_Left, -1, -1},   {Qt::Key_Right, 44, 44},
    };
    for (QWidget* part : std::initializer_list<QWidget*>{window->Slider1, window->txtFileName, window->btnReset,
                                                         window->Client()}) {
        for (const auto& row : rows) {
            window->Slider1->setValue(row.from);
            QTest::keyClick(part, row.key);
            EXPECT_EQ(window->Slider1->value(), row.to) << part->objectName().toStdString() << " key " << row.key;
        }
    }
    // The position shown is the slider's: Right from the start plays 1. e4.
    window->Slider1->setValue(-1);
    QTest::keyClick(window->txtFileName, Qt::Key_Right);
    EXPECT_EQ(window->Game().GameBoard(5, 5), Piece::Pawn);
}

TEST_F(WindowTest, TheWheelOverTheGameBoardStepsOneHalfMoveANotch) {
    ASSERT_TRUE(Load(kSample));
    window->SetBoardSize(125);
    const BoardGeometry board = window->GameBoard();
    const QPointF onBoard = QPointF(board.origin + QPoint(40, 40));
    const QPointF offBoard(5, 5);
    const auto turn = [&](QPointF at, int degrees8) {
        QWheelEvent wheel(at, window->Client()->mapToGlobal(at), {}, QPoint(0, degrees8), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->Client(), &wheel);
    };
    turn(onBoard, -120);  // towards the user: forward
    EXPECT_EQ(window->Slider1->value(), 0);
    turn(onBoard, -240);
    EXPECT_EQ(window->Slider1->value(), 2);
    turn(onBoard, 60);  // half a notch: nothing yet
    EXPECT_EQ(window->Slider1->value(), 2);
    turn(onBoard, 60);
    EXPECT_EQ(window->Slider1->value(), 1);
    turn(offBoard, -120);
    EXPECT_EQ(window->Slider1->value(), 1);
}

TEST_F(WindowTest, NoTwoMenuItemsShareAKeyAndTheGameMenuStepsThroughTheGames) {
    ASSERT_TRUE(Load(kSample));
    std::set<QString> keys;
    for (QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_TRUE(keys.insert(key.toString()).second) << key.toString().toStdString();
        }
    }
    EXPECT_EQ(window->Action(MenuItem::ctlNextGame)->shortcut(), QKeySequence("Ctrl+PgDown"));
    window->Action(MenuItem::ctlNextGame)->trigger();
    window->Action(MenuItem::ctlNextGame)->trigger();
    EXPECT_EQ(window->CurrentGame(), 3);
    window->Action(MenuItem::ctlPreviousGame)->trigger();
    EXPECT_EQ(window->CurrentGame(), 2);
}

}  // namespace
}  // namespace tavrel::ui::testing
