// The list of games from the main window: it opens on the game on show, follows every change of
// game, and shows a chosen game as "Go to game #..." does.

#include <QSignalSpy>

#include "ui/WaitUntil.h"
#include "ui/WindowFixture.h"
#include "ui/list/GameList.h"

namespace tavrel::ui::testing {
namespace {

class ListWindowTest : public WindowTest {};

TEST_F(ListWindowTest, FollowsTheGameOnShowAndShowsTheChosenOne) {
    ASSERT_TRUE(Load(kSample));
    QAction* list = window->Action(MenuItem::ctlListGames);
    window->Toolbar1_ButtonClick("Ngame");
    list->trigger();
    GameList* shown = window->List();
    ASSERT_NE(shown, nullptr);
    WAIT_UNTIL(!shown->PassRunning());
    const auto selected = [&] {
        const QModelIndexList rows = shown->Table->selectionModel()->selectedRows();
        return rows.size() == 1 ? shown->Model()->GameAt(rows[0].row()) : -1;
    };
    EXPECT_EQ(selected(), 2);
    window->Toolbar1_ButtonClick("Lgame");
    EXPECT_EQ(selected(), 4);

    shown->Table->setCurrentIndex(shown->Model()->index(0, 0));
    QTest::keyClick(shown->Table, Qt::Key_Return);
    EXPECT_EQ(window->CurrentGame(), 1);
    EXPECT_TRUE(window->Score()->GameCounter->text().startsWith("Game 1 of"));
    EXPECT_EQ(window->Slider1->value(), -1);

    // While "Go to game #..." is disabled (an animation runs), so is the list.
    window->Action(MenuItem::ctlGoToGame)->setEnabled(false);
    EXPECT_FALSE(list->isEnabled());
    shown->Table->setCurrentIndex(shown->Model()->index(2, 0));
    QTest::keyClick(shown->Table, Qt::Key_Return);
    EXPECT_EQ(window->CurrentGame(), 1);
    window->Action(MenuItem::ctlGoToGame)->setEnabled(true);
    EXPECT_TRUE(list->isEnabled());
}

}  // namespace
}  // namespace tavrel::ui::testing
