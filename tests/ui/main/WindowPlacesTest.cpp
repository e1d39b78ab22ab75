// Where the windows stand: kept on the screen and clear of one another, the single window with
// its docked panes and growing board, and both remembered from one run to the next.

#include <QClipboard>
#include <QDockWidget>
#include <QScreen>
#include <QSettings>

#include "../WindowFixture.h"
#include "settings/SettingsFile.h"
#include "ui/common/FramedPlacement.h"
#include "ui/gametext/GameText.h"
#include "ui/list/GameList.h"
#include "ui/main/DockLayout.h"
#include "ui/tutorial/TutBox.h"

namespace tavrel::ui::testing {
namespace {

// Escape as the user presses it: in the active window, where the keyboard is.
void PressEscapeIn(QWidget* part) {
    part->activateWindow();
    ASSERT_TRUE(BecomesActive(part->window()));
    part->setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : part, Qt::Key_Escape);
}

TEST(WindowPlaceTest, AFrameIsFittedOntoTheScreenAndBesideTheOthers) {
    const QRect room(0, 0, 1024, 768);
    const QRect main(100, 100, 400, 450);
    struct Row {
        QRect wanted;
        std::vector<QRect> others;
        QRect placed;
    } rows[] = {
        {{10, 10, 300, 200}, {}, {10, 10, 300, 200}},               // on the screen: as it is
        {{900, 700, 300, 200}, {}, {724, 568, 300, 200}},           // past the corner: moved back
        {{-50, -20, 1200, 900}, {}, {0, 0, 1024, 768}},             // larger than the screen: smaller
        {{150, 120, 300, 200}, {main}, {508, 120, 300, 200}},       // under the main window: beside it
        {{600, 120, 500, 200}, {main}, {508, 120, 500, 200}},       // past the edge: beside it instead
        {{150, 120, 700, 700}, {main}, {150, 68, 700, 700}},        // no room clear of it: only fitted
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FitInto(ClearOf(row.wanted, room, row.others), room), row.placed) << row.wanted.x() << "," << row.wanted.y();
    }
}

class SingleWindowTest : public WindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Load(kSample)); }
    void Restart() {
        window->close();
        window.reset();
        ASSERT_TRUE(Load(kSample));
    }
    QDockWidget* ScoreDock() const { return window->Docks().DockOf(*window->Score()); }
};

TEST_F(SingleWindowTest, TheScoreIsDockedTheBoardGrowsWithTheWindowAndTheLayoutReturns) {
    const QSize fixedSize = window->size();
    window->Action(MenuItem::ctlSingleWindow)->trigger();
    ASSERT_TRUE(ScoreDock());
    EXPECT_FALSE(window->Score()->isWindow());
    EXPECT_TRUE(ScoreDock()->isVisible());
    EXPECT_FALSE(window->Action(MenuItem::ctlLarger)->isEnabled());  // the room sets the size
    window->resize(700, 500);
    QApplication::processEvents();
    const int small = window->GameBoard().Square();
    window->resize(1000, 760);
    QApplication::processEvents();
    EXPECT_GT(window->GameBoard().Square(), small);
    // The canvas, proportions kept, fits the room in the middle.
    const QSize room = window->centralWidget()->size();
    EXPECT_LE(window->Client()->width(), room.width());
    EXPECT_LE(window->Client()->height(), room.height());

    window->addDockWidget(Qt::LeftDockWidgetArea, ScoreDock());
    window->Action(MenuItem::ctlGameText)->trigger();
    window->addDockWidget(Qt::TopDockWidgetArea, window->Docks().DockOf(*window->Text()));
    const QSize size = window->size();
    Restart();
    ASSERT_TRUE(window->Action(MenuItem::ctlSingleWindow)->isChecked());
    ASSERT_TRUE(ScoreDock());
    EXPECT_EQ(window->dockWidgetArea(ScoreDock()), Qt::LeftDockWidgetArea);
    ASSERT_TRUE(window->Text() && window->Text()->isVisible());
    EXPECT_EQ(window->dockWidgetArea(window->Docks().DockOf(*window->Text())), Qt::TopDockWidgetArea);
    EXPECT_EQ(window->size(), size);

    // Off again: every window on its own and the main window in its fixed layout.
    window->Action(MenuItem::ctlSingleWindow)->trigger();
    EXPECT_TRUE(window->Score()->isWindow());
    EXPECT_TRUE(window->Score()->isVisible());
    EXPECT_EQ(window->size(), fixedSize);
    EXPECT_EQ(window->Client()->size(), QSize(324, 359));
    Restart();
    EXPECT_FALSE(window->Action(MenuItem::ctlSingleWindow)->isChecked());
    EXPECT_TRUE(window->Score()->isWindow());
}

TEST_F(SingleWindowTest, ToolWindowsArePanesWithTheirOwnKeys) {
    window->Action(MenuItem::ctlSingleWindow)->trigger();
    window->Action(MenuItem::ctlGameText)->trigger();
    window->Action(MenuItem::ctlListGames)->trigger();
    // Ctrl+C copies in the game text's pane and turns the squares grey on the board.
    QAction* colour = window->Action(MenuItem::Color_or_mono);
    window->Text()->Text->selectAll();
    QGuiApplication::clipboard()->clear();
    window->activateWindow();
    ASSERT_TRUE(BecomesActive(window.get()));
    window->Text()->Text->setFocus();
    QTest::keyClick(window->Text()->Text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("1. e4 e5 2. f4"));
    EXPECT_TRUE(colour->isChecked());
    window->Slider1->setFocus();
    QTest::keyClick(window->Slider1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(colour->isChecked());
    for (QWidget* tool : std::initializer_list<QWidget*>{window->Text(), window->List()}) {
        QDockWidget* dock = window->Docks().DockOf(*tool);
        ASSERT_TRUE(dock);
        EXPECT_TRUE(dock->isVisible());
        PressEscapeIn(tool);
        EXPECT_FALSE(dock->isVisible());
        EXPECT_FALSE(tool->isVisible());
    }
    // The menu brings a closed pane back.
    window->Action(MenuItem::ctlGameText)->trigger();
    EXPECT_TRUE(window->Docks().DockOf(*window->Text())->isVisible());
}

class ToolWindowTest : public WindowTest {};

TEST_F(ToolWindowTest, EscapeClosesTheToolWindowsAndNotTheScore) {
    ASSERT_TRUE(Load(kSample));
    window->Action(MenuItem::ctlGameText)->trigger();
    window->Action(MenuItem::ctlListGames)->trigger();
    window->Action(MenuItem::ctlPieceMove)->trigger();
    QPointer<TutBox> tutorial = window->Tutorial();
    for (QWidget* tool : std::initializer_list<QWidget*>{window->Text(), window->List(), tutorial.data()}) {
        ASSERT_TRUE(tool->isVisible());
        PressEscapeIn(tool);
        EXPECT_FALSE(tool->isVisible()) << tool->objectName().toStdString();
    }
    PressEscapeIn(window->Score()->Display);
    EXPECT_TRUE(window->Score()->isVisible());
}

// Run on a 1024 x 768 screen at scale 1, and on one of 1024 x 768 logical pixels at scale 2.
TEST_F(ToolWindowTest, EveryWindowStaysOnTheScreenAndItsPlaceIsRemembered) {
    ASSERT_TRUE(Load(kSample));
    window->Action(MenuItem::ctlGameText)->trigger();
    window->Action(MenuItem::ctlListGames)->trigger();
    window->Action(MenuItem::ctlDisplay)->trigger();
    QApplication::processEvents();
    const QRect room = window->screen()->availableGeometry();
    for (const QWidget* shown : std::initializer_list<const QWidget*>{window.get(), window->Score(), window->Text(), window->List()}) {
        EXPECT_TRUE(room.contains(shown->frameGeometry())) << shown->objectName().toStdString();
    }
    window->Text()->move(room.left() + 20, room.top() + 30);
    const QRect text = window->Text()->frameGeometry();
    window->close();
    window.reset();
    // A place remembered from a larger screen comes back onto this one.
    tavrel::settings::Store()
        .setValue("windows/frame/list", QRect(room.right() + 500, room.bottom() + 500, 700, 400));
    ASSERT_TRUE(Load(kSample));
    window->Action(MenuItem::ctlGameText)->trigger();
    window->Action(MenuItem::ctlListGames)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->Text()->frameGeometry(), text);
    EXPECT_TRUE(room.contains(window->List()->frameGeometry()));
}

TEST_F(ToolWindowTest, DamagedWindowSettingsGiveTheDefaults) {
    {
        QSettings stored = tavrel::settings::Store();
        stored.setValue("windows/single", "maybe");
        stored.setValue("windows/singleGeometry", QByteArray("\x01\x02garbage", 9));
        stored.setValue("windows/dockState", "not a state");
        stored.setValue("windows/frame/main", "wide");
        stored.setValue("windows/frame/score", QRect(0, 0, -5, 1 << 30));
    }
    ASSERT_TRUE(Load(kSample));
    EXPECT_FALSE(window->Action(MenuItem::ctlSingleWindow)->isChecked());
    EXPECT_TRUE(window->Score()->isWindow());
    EXPECT_EQ(window->Client()->size(), QSize(324, 359));
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(window->frameGeometry().right() + 1, std::max(screen.width() / 2, window->frameGeometry().width()));
}

}  // namespace
}  // namespace tavrel::ui::testing
