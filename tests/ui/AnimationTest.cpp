#include <QMenu>
#include <QSignalSpy>

#include "WindowFixture.h"
#include "ui/animation/Animation.h"

namespace tavrel::ui::testing {
namespace {

const QString kAsk = "ask|Animate|Please enter a delay in seconds between 0 and 255.\r\n\r\n"
                     "Tavrel will replay the game from the beginning with this delay between the moves.";
const QString kBad = "message|Bad delay value|Invalid delay value.  Please enter a value between 0 and 255.";

class AnimationTest : public WindowTest {
protected:
    bool LoadAnimated(const std::string& bytes) {
        if (!LoadText(bytes)) return false;
        window->Animator().SetSleep(std::chrono::milliseconds(1));  // a test clock: a second is 2 ms
        return true;
    }
    void Animate(std::initializer_list<std::optional<QString>> answers) {
        dialogs.texts.assign(answers.begin(), answers.end());
        window->Animator().ctlAnimate_Click();
    }
    bool Finishes() {
        return QTest::qWaitFor([&] { return !window->Animator().Running(); }, 60000);
    }
    // What the animation disables and hides, in one line: A(nimate) C(ancel) S(lider) F(ile)
    // O(ptions) H(elp) G(o to) R(eset) T(oolbar), each 1 when usable; then the Open shortcut.
    QString Controls() const {
        const auto on = [](bool b) { return b ? '1' : '0'; };
        QString s;
        s += on(window->Action(MenuItem::ctlAnimate)->isVisible());
        s += on(window->Action(MenuItem::ctlCancelAnimate)->isVisible());
        s += on(window->Slider1->isEnabled());
        s += on(window->Menu(MenuName::ctlFile)->isEnabled());
        s += on(window->Menu(MenuName::ctlOptions)->isEnabled());
        s += on(window->Menu(MenuName::ctlHelp)->isEnabled());
        s += on(window->Action(MenuItem::ctlGoToGame)->isEnabled());
        s += on(window->btnReset->isEnabled());
        s += on(window->Toolbar1->isEnabled());
        s += on(window->Action(MenuItem::ctlOpen)->isEnabled());
        return s;
    }
};

TEST_F(AnimationTest, DelayAnswersAcceptedRejectedAndRemembered) {
    struct Row {
        std::vector<std::optional<QString>> answers;
        bool runs;
        int delayMs;
        int badMessages;
        QString remembered;
    };
    const Row rows[] = {
        {{"0"}, true, 0, 0, "0"},
        {{"200"}, true, 200000, 0, "200"},
        {{" 2.9 s"}, true, 2000, 0, " 2.9 s"},
        {{"256", std::nullopt}, false, 0, 1, "prev"},
        {{"-1", "", }, false, 0, 1, "prev"},
        {{"-1", "256", "3"}, true, 3000, 2, "3"},
        {{std::nullopt}, false, 0, 0, "prev"},
    };
    ASSERT_TRUE(LoadAnimated(SampleBytes()));
    for (const Row& row : rows) {
        window->Animator().LastDelay = "prev";
        dialogs.asked.clear();
        dialogs.defaults.clear();
        dialogs.texts.assign(row.answers.begin(), row.answers.end());
        window->Animator().ctlAnimate_Click();
        const QString what = row.answers.front().value_or("(cancel)");
        EXPECT_EQ(window->Animator().Running(), row.runs) << what.toStdString();
        if (row.runs) {
            EXPECT_EQ(window->Animator().DelayMs(), row.delayMs) << what.toStdString();
        }
        EXPECT_EQ(dialogs.asked.count(kBad), row.badMessages) << what.toStdString();
        EXPECT_EQ(dialogs.asked.count(kAsk), static_cast<int>(row.answers.size())) << what.toStdString();
        // Every box, the ones after a rejected answer too, offers the delay last accepted.
        EXPECT_EQ(dialogs.defaults, QStringList(row.answers.size(), "prev")) << what.toStdString();
        EXPECT_EQ(window->Animator().LastDelay, row.remembered) << what.toStdString();
        window->Animator().ctlCancelAnimate_Click();
        ASSERT_TRUE(Finishes());
    }
}

TEST_F(AnimationTest, ReplaysFromTheFirstPositionToTheLastWithControlsHeld) {
    ASSERT_TRUE(LoadAnimated(SampleBytes()));
    window->Slider1->setValue(10);  // started in the middle, it begins again at the first position
    QList<int> shown;
    QStringList during;
    QObject::connect(window->Slider1, &QSlider::valueChanged, [&](int v) {
        shown << v;
        during << Controls();
    });
    Animate({"1"});
    ASSERT_TRUE(Finishes());
    QList<int> expected;
    for (int v = -1; v <= 44; ++v) expected << v;
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(during.count("0100000000"), during.size());
    EXPECT_EQ(Controls(), "1011111111");
    EXPECT_EQ(window->Slider1->value(), 44);
    EXPECT_EQ(Panel(2), "Move: 23 ");

    // Held items are really held: the Open shortcut does nothing while the animation runs.
    Animate({"1"});
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(dialogs.asked.contains("open|Open PGN file|PGN Files (*.pgn);;Compressed PGN Files (*.pgn.zst *.pgn.gz *.zst *.gz *.zip);;All Files (*)"));
    ASSERT_TRUE(Finishes());
}

TEST_F(AnimationTest, CancelDuringALongDelayKeepsThePositionReached) {
    ASSERT_TRUE(LoadAnimated(SampleBytes()));
    window->Animator().SetSleep(std::chrono::milliseconds(5));
    Animate({"10"});
    EXPECT_EQ(window->Slider1->value(), 0);  // the first step is made at once
    window->Animator().ctlCancelAnimate_Click();
    ASSERT_TRUE(Finishes());
    EXPECT_EQ(window->Slider1->value(), 0);
    EXPECT_EQ(Panel(2), "Move: 1 ");
    EXPECT_EQ(Controls(), "1011111111");
}

TEST_F(AnimationTest, AGameWhoseFirstPositionIsItsLastEndsAtOnce) {
    ASSERT_TRUE(LoadAnimated("[Event \"Empty\"]\n[White \"A\"]\n[Black \"B\"]\n\n*\n\n\n"));
    ASSERT_EQ(window->Slider1->maximum(), window->Slider1->minimum());
    QSignalSpy finished(&window->Animator(), &Animation::Finished);
    Animate({"3"});
    EXPECT_FALSE(window->Animator().Running());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(Controls(), "1011111111");
}

TEST_F(AnimationTest, TheWindowClosedOrTheFileShortenedDuringAnAnimation) {
    const std::string bytes = SampleBytes();
    ASSERT_TRUE(LoadAnimated(bytes));
    // Shortened: the game on show was read whole, so the animation goes on to its end.
    Animate({"0"});
    files.back().Write(bytes.substr(0, 40));
    ASSERT_TRUE(Finishes());
    EXPECT_EQ(window->Slider1->value(), 44);
    const int beeps = dialogs.beeps;
    window->Toolbar1_ButtonClick("Ngame");  // the next game is gone: a beep
    EXPECT_GT(dialogs.beeps, beeps);

    // Closed: the animation stops, nothing runs on afterwards, and the window can go.
    Animate({"1"});
    ASSERT_TRUE(window->Animator().Running());
    window->close();
    EXPECT_FALSE(window->Animator().Running());
    const int reached = window->Slider1->value();
    QTest::qWait(20);
    EXPECT_EQ(window->Slider1->value(), reached);
    EXPECT_FALSE(window->Score()->isVisible());
    window.reset();
}

}  // namespace
}  // namespace tavrel::ui::testing
