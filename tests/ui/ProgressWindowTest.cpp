#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

#include "WindowFixture.h"
#include "ui/splash/ProgressScan.h"
#include "ui/splash/frmSplash.h"

namespace tavrel::ui::testing {
namespace {

using tavrel::testing::TempFile;

// Progress points after every small block, so that even a small file lets events through often.
const pgn::ScanOptions kOften{.progressEvery = {}, .blockBytes = 4096, .workers = 2};

std::string ManyGames(std::size_t bytes) {
    const std::string games = SampleBytes();
    std::string out;
    while (out.size() < bytes) out += games;
    return out;
}

frmSplash* ShownSplash() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<frmSplash*>(widget); splash && splash->isVisible()) return splash;
    }
    return nullptr;
}

TEST_F(WindowTest, TheProgressWindowIsShownOnlyForALongScan) {
    const std::string game = "[Event \"a\"]\n[White \"W\"]\n[Black \"B\"]\n\n1. e4 *\n";
    for (const auto& [size, shown] : {std::pair{64007u, false}, std::pair{64008u, true}}) {
        ASSERT_TRUE(LoadText(game + std::string(size - game.size(), '\n')));
        EXPECT_EQ(window->LastScanShowedProgress(), shown) << size;
        EXPECT_EQ(window->Index().GameCount(), 1);
        EXPECT_EQ(ShownSplash(), nullptr);  // gone once the scan is over
    }
}

TEST(ProgressWindow, ShowsNameAndVersionAndTheScanProgress) {
    frmSplash splash;
    EXPECT_EQ(splash.lblProductName->text(), "Tavrel");  // not the placeholders the labels are made with
    EXPECT_EQ(splash.lblVersion->text(), "Version " TAVREL_VERSION);
    splash.SetProgress(37.5, 12);
    EXPECT_EQ(splash.lblProgress->text(), "Reading Game 12");
    EXPECT_EQ(splash.ProgressBar1->value() * 100 / splash.ProgressBar1->maximum(), 37);
    splash.SetDone();
    EXPECT_EQ(splash.lblProgress->text(), "Done!");
}

TEST(ProgressWindow, AKeyClosesItAndTheScanGoesOnToTheSameOffsets) {
    TempFile file(ManyGames(2 << 20));
    pgn::GameSource pgn;
    ASSERT_EQ(pgn.Open(file.path()), "");
    const pgn::GameIndex plain = pgn.Index();
    bool closedByKey = false, stayedClosed = true;
    int points = 0;
    const ProgressScan scan = IndexWithProgress(
        pgn, nullptr, [&] {
            if (++points > 3 && ShownSplash()) stayedClosed = false;
            return true;
        },
        kOften, [&](frmSplash& splash) {
            // A key on the focused "Cancel" closes the window instead of pressing the button.
            QTimer::singleShot(0, &splash, [&] {
                splash.Command1->setFocus();
                QTest::keyClick(splash.Command1, Qt::Key_Space);
                closedByKey = !splash.isVisible();
            });
        });
    EXPECT_TRUE(scan.showedWindow);
    EXPECT_TRUE(closedByKey);
    EXPECT_TRUE(stayedClosed);
    EXPECT_GT(points, 3);
    EXPECT_FALSE(scan.cancelled);
    EXPECT_FALSE(pgn.Index().stopped);
    EXPECT_EQ(pgn.Index().GameOffsets, plain.GameOffsets);
    EXPECT_TRUE(pgn.IsOpen());
}

TEST_F(WindowTest, NoCommandOfTheMainWindowStartsDuringAScan) {
    ASSERT_TRUE(Load(kSample));
    TempFile big(ManyGames(1 << 20));
    window->ScanSettings = kOften;
    window->Slider1->setValue(5);
    bool tried = false, held = false;
    QTimer::singleShot(0, window.get(), [&] {
        tried = true;
        QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);   // Exit
        QTest::keyClick(window.get(), Qt::Key_U, Qt::ControlModifier);   // Undo
        QTest::keyClick(window->Slider1, Qt::Key_Down);
        ClickScoreLine(8);
        held = window->isVisible() && window->Slider1->value() == 5;
    });
    OpenInDialog(big.path());
    EXPECT_TRUE(tried);
    EXPECT_TRUE(held);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Index().GameCount(), 4 * ((1 << 20) / QFileInfo(kSample).size() + 1));
}

TEST_F(WindowTest, ClosingTheWindowDuringAScanEndsTheProgram) {
    TempFile big(ManyGames(1 << 20));
    for (const bool firstScan : {true, false}) {
        window = std::make_unique<Skelda>(dialogs);
        window->ScanSettings = kOften;
        window->show();
        if (!firstScan) {
            ASSERT_TRUE(window->Form_Load(kSample));
        }
        QTimer::singleShot(0, window.get(), [&] { window->close(); });
        if (firstScan) {
            // Before the event loop runs, the program ends by Form_Load's answer.
            EXPECT_FALSE(window->Form_Load(QString::fromStdString(big.path())));
            EXPECT_TRUE(dialogs.asked.filter("open|").isEmpty());  // no file dialog after it
        } else {
            OpenInDialog(big.path());
        }
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->Score()->isVisible());
        EXPECT_EQ(ShownSplash(), nullptr);
        window.reset();
    }
}

// "Cancel" ends the whole program, the way main() runs it: at the first scan, and later with a
// game on show. Each runs in a child process, which must end by itself with status 0.
void RunAndCancel(const QString& first, const QString& second) {
    FakeDialogs dialogs;
    Skelda window(dialogs);
    window.ScanSettings = kOften;
    window.show();
    QTimer clicker;  // presses "Cancel" at the first progress point that shows the window
    QObject::connect(&clicker, &QTimer::timeout, [] {
        if (frmSplash* splash = ShownSplash()) splash->Command1->click();
    });
    clicker.start(0);
    QTimer::singleShot(30000, [] { std::_Exit(3); });  // a program that did not end
    // _Exit: the window and the application on this stack are never destroyed in the child, so
    // the leak check that exit() runs would report the font library's caches they hold.
    if (!window.Form_Load(first)) std::_Exit(0);
    if (second.isEmpty()) std::_Exit(2);
    dialogs.files = {second};
    QTimer::singleShot(0, &window, &Skelda::ctlOpen_Click);
    std::_Exit(QApplication::exec() == 0 && !window.isVisible() ? 0 : 4);
}

TEST(ProgressWindowDeathTest, CancelEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempFile big(ManyGames(1 << 20));
    const QString path = QString::fromStdString(big.path());
    EXPECT_EXIT(RunAndCancel(path, ""), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(RunAndCancel(kSample, path), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tavrel::ui::testing
