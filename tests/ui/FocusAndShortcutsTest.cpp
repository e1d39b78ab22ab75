// The keyboard at start belongs to the main window, and each window's keys act in that window:
// Ctrl+C copies in the list and the game text, and turns the squares grey only in the main window.

#include <QApplication>
#include <QClipboard>

#include "WindowFixture.h"
#include "ui/gametext/GameText.h"
#include "ui/list/GameList.h"

namespace tavrel::ui::testing {
namespace {

TEST_F(WindowTest, TheMainWindowHasTheKeyboardAtStart) {
    ASSERT_TRUE(Load(kSample));
    ASSERT_TRUE(BecomesActive(window.get()));
    EXPECT_TRUE(window->Score()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(window->Slider1->value(), 0);
}

TEST_F(WindowTest, CtrlCCopiesInTheListAndTheGameTextAndLeavesTheColoursAlone) {
    ASSERT_TRUE(Load(kSample));
    QAction* colour = window->Action(MenuItem::Color_or_mono);
    ASSERT_TRUE(colour->isChecked());
    window->ctlGameText_Click();
    window->ctlListGames_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->List()->PassRunning(); }));
    window->Text()->Text->selectAll();
    const struct {
        QWidget* keys;  // where Ctrl+C is pressed
        const char* copied;  // a part of what the clipboard holds after it
    } rows[] = {
        {window->Text()->Text, "1. e4 e5 2. f4"},  // the page, selected whole
        {window->List()->Table, "\tAnderssen, Adolf\t"},  // the row of the game on show
    };
    for (const auto& row : rows) {
        QGuiApplication::clipboard()->clear();
        row.keys->activateWindow();
        ASSERT_TRUE(BecomesActive(row.keys->window()));
        row.keys->setFocus();
        QTest::keyClick(row.keys, Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(colour->isChecked()) << row.keys->window()->objectName().toStdString();
        EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(row.copied))
            << QGuiApplication::clipboard()->text().left(40).toStdString();
    }
    window->activateWindow();
    ASSERT_TRUE(BecomesActive(window.get()));
    QTest::keyClick(window->Slider1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(colour->isChecked());
}

}  // namespace
}  // namespace tavrel::ui::testing
