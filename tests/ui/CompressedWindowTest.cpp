// A compressed file in the window: opened from the dialog like a plain one, an archive of several
// PGN files asks which, and damage is said with the games before it shown.

#include "WaitUntil.h"
#include "WindowFixture.h"
#include "support/Packers.h"
#include "ui/list/GameList.h"

namespace tavrel::ui::testing {
namespace {

using ::tavrel::testing::Shell;

class CompressedWindowTest : public WindowTest {
protected:
    void SetUp() override {
        for (const char* tool : {"zstd", "zip"}) {
            if (!::tavrel::testing::HasTool(tool)) GTEST_SKIP() << tool << " is not installed";
        }
    }
    ::tavrel::testing::TempDir dir;
};

TEST_F(CompressedWindowTest, OpensLikeAPlainFileWithItsList) {
    ASSERT_TRUE(Load(kSample));
    const std::string packed = dir / "famous.pgn.zst";
    ASSERT_TRUE(Shell("zstd -q -c '" + kSample.toStdString() + "' > " + packed));
    OpenInDialog(packed);
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 4");
    window->Toolbar1_ButtonClick("Lgame");
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 4 of 4");
    window->Action(MenuItem::ctlListGames)->trigger();
    GameList* list = window->List();
    ASSERT_NE(list, nullptr);
    WAIT_UNTIL(!list->PassRunning());
    EXPECT_EQ(list->Model()->rowCount(), 4);
    EXPECT_FALSE(list->Model()->index(3, 1).data().toString().isEmpty());
}

TEST_F(CompressedWindowTest, AnArchiveOfSeveralFilesAsksWhichAndDamageIsSaid) {
    ASSERT_TRUE(Load(kSample));
    const std::string sample = kSample.toStdString();
    ASSERT_TRUE(Shell("cd " + (dir / "") + " && cp '" + sample + "' a.pgn && head -c 2000 a.pgn > b.pgn && zip -q two.zip a.pgn b.pgn"));
    dialogs.picks = {"a.pgn"};
    OpenInDialog(dir / "two.zip");
    EXPECT_TRUE(dialogs.asked.contains("pick|Tavrel|The archive holds several PGN files. Which one?|a.pgn,b.pgn"))
        << dialogs.asked.join("\n").toStdString();
    EXPECT_EQ(window->txtFileName->text(), QString::fromStdString(dir / "two.zip:a.pgn"));
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 4");

    OpenInDialog(dir / "two.zip");  // cancelled: the file on show stays
    EXPECT_EQ(window->txtFileName->text(), QString::fromStdString(dir / "two.zip:a.pgn"));

    // Four frames, the last cut short.
    const std::string cut = dir / "cut.pgn.zst";
    ASSERT_TRUE(Shell("cd " + (dir / "") + " && split -n 4 a.pgn part. && for p in part.*; do zstd -q -c $p; done > whole.zst && "
                      "head -c $(( $(stat -c %s whole.zst) - 50 )) whole.zst > " + cut));
    OpenInDialog(cut);
    EXPECT_TRUE(dialogs.asked.last().startsWith("message|Tavrel|The file")) << dialogs.asked.last().toStdString();
    EXPECT_TRUE(dialogs.asked.last().contains("is damaged")) << dialogs.asked.last().toStdString();
    EXPECT_TRUE(window->Score()->GameCounter->text().startsWith("Game 1 of "));
}

}  // namespace
}  // namespace tavrel::ui::testing
