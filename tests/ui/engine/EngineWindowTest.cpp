#include <signal.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "../WindowFixture.h"
#include "engine/EngineProgram.h"
#include "support/FakeEngine.h"
#include "ui/analysis/AnalysisEditor.h"
#include "ui/engine/EngineWindow.h"

namespace tavrel::ui::testing {
namespace {

// Two depths: the second closes the set of the first, though it has one line of the three asked.
const std::vector<std::string> kLines = {"info depth 5 seldepth 7 multipv 1 score cp 25 nodes 5000 nps 250000 pv e7e5 g1f3",
                                         "info depth 6 multipv 1 score cp 20 pv e7e5"};

class EngineWindowTest : public WindowTest {
protected:
    void SetUp() override {
        Use("normal");
        ASSERT_TRUE(LoadText("[Event \"E\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n"));
    }
    void Use(const std::string& mode) {
        engine::RememberEngineProgram(::tavrel::testing::WriteFakeEngine(QDir(dir_.path()), mode, dir_.filePath("log"), kLines));
    }
    EngineWindow& Open() {
        window->Action(MenuItem::ctlEngine)->trigger();
        return *window->Engine();
    }
    bool ShowsLine(const QString& text) {
        return QTest::qWaitFor([&] { return window->Engine()->LineTexts().value(0).endsWith(text); }, 5000);
    }
    // What the board area shows on screen, the arrow included.
    QRgb ScreenPixel(QPoint origin, int row, int col) const {
        const QImage shown = window->Client()->grab().toImage();
        return shown.pixel(SquarePixel(origin, window->Settings().View(), row, col) + QPoint(16, 16)) & 0xFFFFFF;
    }
    static bool Bluish(QRgb p) { return qBlue(p) > qRed(p) + 60 && qBlue(p) > qGreen(p); }
    QTemporaryDir dir_;
};

TEST_F(EngineWindowTest, TheLinesAndTheArrowFollowTheBoard) {
    EngineWindow& engine = Open();
    Step(Qt::Key_Down);  // 1. e4: Black to move
    ASSERT_TRUE(ShowsLine("1... e5 2. Nf3"));
    EXPECT_EQ(engine.LineTexts()[0].simplified(), "-0.25 5/7 1... e5 2. Nf3");
    EXPECT_EQ(engine.EngineName->text(), "Fake Engine 1.0");
    // The arrow runs e7 to e5 over e6 on the game board; the option takes it off.
    EXPECT_TRUE(Bluish(ScreenPixel(kGameBoardOrigin, 3, 5)));
    engine.ShowArrow->setChecked(false);
    EXPECT_FALSE(Bluish(ScreenPixel(kGameBoardOrigin, 3, 5)));
    engine.ShowArrow->setChecked(true);

    // The analysis board, once shown, is the one analysed; an edit no game can reach is not sent.
    window->Action(MenuItem::ctlDisplay)->trigger();
    ASSERT_TRUE(ShowsLine("1... e5 2. Nf3"));
    EXPECT_TRUE(Bluish(ScreenPixel(kAnalysisBoardOrigin, 3, 5)));
    dialogs.yesNo.push_back(true);
    window->Analysis()->ctlClearAll_Click();
    EXPECT_TRUE(engine.LineTexts().isEmpty());
    EXPECT_TRUE(engine.Status().startsWith("This position cannot be analysed")) << engine.Status().toStdString();
    EXPECT_FALSE(Bluish(ScreenPixel(kAnalysisBoardOrigin, 3, 5)));
}

TEST_F(EngineWindowTest, AFaultOffersARestartAndClosingEndsTheEngine) {
    Use("exits");
    EngineWindow& engine = Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Restart->isVisible(); }, 5000));
    EXPECT_TRUE(engine.Status().contains("ended")) << engine.Status().toStdString();
    Use("normal");
    engine.Restart->click();
    // The fake's line from the first position: cut at once, as e7e5 is not White's move.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.LineTexts().isEmpty(); }, 5000));
    EXPECT_EQ(engine.LineTexts()[0].simplified(), "+0.25 5/7");
    const qint64 pid = engine.Engine().ProcessId();
    ASSERT_GT(pid, 0);
    window->close();
    window.reset();
    EXPECT_NE(::kill(static_cast<pid_t>(pid), 0), 0) << "the engine outlived the program";
}

TEST_F(EngineWindowTest, WithoutAnEngineTheWindowSaysHowToGetOne) {
    engine::RememberEngineProgram(dir_.filePath("gone"));
    QTemporaryDir empty;
    engine::EngineSettings settings;
    settings.engineFolders = {empty.path()};
    EngineWindow engine(dialogs, settings);
    engine.show();
    EXPECT_TRUE(engine.Status().contains("apt-get install stockfish")) << engine.Status().toStdString();
    EXPECT_EQ(engine.Engine().ProcessId(), 0);
}

}  // namespace
}  // namespace tavrel::ui::testing
