// What the program remembers between runs (the options, the animation's delay, the open dialog's
// folder, the recent files), a settings file it cannot use, and files dropped on the window.

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>

#include "WindowFixture.h"
#include "settings/SettingsFile.h"
#include "support/Packers.h"
#include "ui/animation/Animation.h"
#include "ui/main/WindowWidth.h"

// Failures print the texts rather than their bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace tavrel::ui::testing {
namespace {

using ::tavrel::testing::TempDir;

const std::string kTwoGames = "[Event \"One\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. d4 d5 *\n\n[Event \"Two\"]\n\n1. c4 *\n";

class RememberedTest : public WindowTest {
protected:
    // A file of two games in the test's folder.
    QString MakeFile(const std::string& name) {
        const std::string path = dir / name;
        std::ofstream(path) << kTwoGames;
        return QString::fromStdString(path);
    }
    // The recent-file items shown in the File menu, as "caption|path".
    QStringList RecentItems() const {
        QStringList shown;
        for (int i = 0; i < StoredSettings::kRecentFiles; ++i) {
            const QAction* item = window->Action(RecentItem(i));
            if (item->isVisible()) shown << item->text() + "|" + item->data().toString();
        }
        return shown;
    }
    OptionMarks Marks() const {
        const Options& o = window->Settings();
        return {o.BeepOnError(), o.ColorSquares() == 0, o.AnalysisShown(), o.Reversed()};
    }
    // Drags `urls` onto the window and drops them; whether the window took the drag.
    bool Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setAccepted(false);
        QApplication::sendEvent(window.get(), &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }

    TempDir dir;
};

TEST_F(RememberedTest, OptionsDelayFolderAndRecentFilesSurviveARestart) {
    ASSERT_TRUE(Load(kSample));
    for (const MenuItem item : {MenuItem::ctlBeep, MenuItem::Color_or_mono, MenuItem::ctlDisplay, MenuItem::ctlReverse}) {
        window->Action(item)->trigger();
    }
    const QString other = MakeFile("other.pgn");
    dialogs.files = {other};
    window->ctlOpen_Click();
    dialogs.texts = {"7 seconds"};
    window->Animator().ctlAnimate_Click();
    window->Animator().Stop();
    window.reset();

    dialogs.files = {kSample};
    ASSERT_TRUE(Load(""));
    EXPECT_EQ(dialogs.folders.last(), QString::fromStdString(dir / "").chopped(1)) << "the open dialog's folder";
    EXPECT_EQ(Marks(), (OptionMarks{false, false, true, true}));
    EXPECT_EQ(window->Client()->width(), kWideWidth) << "the analysis board shown";
    dialogs.texts = {std::nullopt};
    window->Animator().ctlAnimate_Click();
    EXPECT_EQ(dialogs.defaults.last(), "7 seconds");
    // The file opened at this start is the latest; the one opened last time comes next.
    EXPECT_EQ(RecentItems(), QStringList({"&1 famous-games.pgn|" + kSample, "&2 other.pgn|" + other}));
    EXPECT_TRUE(window->Action(MenuItem::DashRecent)->isVisible());
    window->Action(RecentItem(1))->trigger();
    EXPECT_EQ(window->txtFileName->text(), other);
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 2");
    EXPECT_EQ(RecentItems().first(), "&1 other.pgn|" + other);
}

TEST_F(RememberedTest, EightRecentFilesAtMostAndAMissingOneIsTakenOffWithAMessage) {
    ASSERT_TRUE(Load(kSample));
    for (int i = 1; i <= 9; ++i) window->OpenFile(MakeFile(std::to_string(i) + "&.pgn"));
    QStringList recent = RecentItems();
    ASSERT_EQ(recent.size(), 8);
    EXPECT_TRUE(recent.front().startsWith("&1 9&&.pgn|")) << recent.front().toStdString();
    EXPECT_TRUE(recent.back().startsWith("&8 2&&.pgn|")) << recent.back().toStdString();

    const QString gone = QString::fromStdString(dir / "5&.pgn");
    QFile::remove(gone);
    window->Action(RecentItem(4))->trigger();
    EXPECT_EQ(dialogs.asked.last(), "message|Tavrel|The file\n" + gone + "\nis no longer there. It is taken off the list of recent files.");
    EXPECT_EQ(window->txtFileName->text(), QString::fromStdString(dir / "9&.pgn")) << "the file on show stays";
    recent.removeAt(4);
    for (int i = 4; i < recent.size(); ++i) recent[i].replace(1, 1, QString::number(i + 1));
    EXPECT_EQ(RecentItems(), recent);
    window.reset();
    ASSERT_TRUE(Load(kSample));
    EXPECT_FALSE(RecentItems().join("").contains("5&&.pgn"));
}

TEST_F(RememberedTest, ADamagedOrForeignSettingsFileGivesTheDefaults) {
    using namespace std::string_literals;
    const std::string files[] = {
        "\x01\xff[[[\n=\n\0garbage\x80\xfe"s,
        "[board]\nsizePercent=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5)\nshowCoordinates=maybe\n"
        "[options]\nbeepOnError=2\ncolourSquares=@ByteArray(x)\nanalysisBoard=yes\nreverseBoard=a, b\n"
        "[animation]\ndelay=999\n[files]\nopenFolder=/no/such/folder\nrecent=@Variant(broken\n",
        "[General]\nwindowState=@ByteArray(\\0\\0\\0\\xff)\n[files]\nrecent=@Invalid()\nopenFolder=a, b\n"
        "[animation]\ndelay=3, 4\n"s,
    };
    const QString ini = settings::Store().fileName();
    // Run on its own, nothing has written the settings yet, so their folder may not exist.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(ini).path()));
    for (const std::string& bytes : files) {
        QFile out(ini);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
        out.close();
        dialogs = {};
        dialogs.files = {kSample};
        ASSERT_TRUE(Load(""));
        EXPECT_EQ(dialogs.folders.last(), "");
        EXPECT_EQ(Marks(), OptionMarks{});
        EXPECT_EQ(window->Settings().BoardSizePercent(), 100);
        EXPECT_FALSE(window->Settings().CoordinatesShown());
        EXPECT_EQ(RecentItems(), QStringList{"&1 famous-games.pgn|" + kSample});
        dialogs.texts = {std::nullopt};
        window->Animator().ctlAnimate_Click();
        EXPECT_EQ(dialogs.defaults.last(), "");
        window.reset();
    }
}

TEST_F(RememberedTest, AFileDroppedOnTheWindowOpensAsOneChosenInTheDialog) {
    ASSERT_TRUE(Load(kSample));
    EXPECT_FALSE(Drop({QUrl("https://example.org/games.pgn")}));
    EXPECT_EQ(window->txtFileName->text(), kSample);
    const QString dropped = MakeFile("dropped.pgn");
    EXPECT_TRUE(Drop({QUrl("https://example.org/games.pgn"), QUrl::fromLocalFile(dropped), QUrl::fromLocalFile(kSample)}));
    EXPECT_EQ(window->txtFileName->text(), dropped);
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 2");
    if (!::tavrel::testing::HasTool("zip")) GTEST_SKIP() << "zip is not installed";
    ASSERT_TRUE(::tavrel::testing::Shell("cd " + (dir / "") + " && cp dropped.pgn b.pgn && zip -q two.zip dropped.pgn b.pgn"));
    dialogs.picks = {"b.pgn"};
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(dir / "two.zip"))}));
    EXPECT_EQ(window->txtFileName->text(), QString::fromStdString(dir / "two.zip:b.pgn"));
}

}  // namespace
}  // namespace tavrel::ui::testing
