// Whatever file is opened, the window stays usable: every command can be given, and the next
// file opens as usual.

#include "WindowFixture.h"

namespace tavrel::ui::testing {
namespace {

using ::tavrel::testing::TempFile;

const std::string kTags = "[Event \"E\"]\n[White \"W\"]\n[Black \"B\"]\n\n";

class BadFileWindowTest : public WindowTest {
protected:
    // Every way of moving through the file and the game, on whatever is open.
    void UseEverything() {
        Step(Qt::Key_End);
        Step(Qt::Key_PageUp);
        Step(Qt::Key_Down, 3);
        for (const char* key : {"Lgame", "Pgame", "Ngame", "Fgame"}) window->Toolbar1_ButtonClick(key);
        dialogs.texts = {"2"};
        window->ctlGoToGame_Click();
        window->ctlUndo_Click();
        if (ScoreLineCount() > 0) ClickScoreLine(0);
    }
    // The sample opens after it and plays its first move.
    void ExpectTheNextFileOpens(const std::string& what) {
        OpenInDialog(kSample.toStdString());
        EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 4") << what;
        Step(Qt::Key_Down);
        EXPECT_EQ(window->Game().GameBoard(5, 5), Piece::Pawn) << what;  // 1. e4
    }
};

TEST_F(BadFileWindowTest, DamagedFilesLeaveTheWindowUsable) {
    ASSERT_TRUE(Load(kSample));
    std::string endless = kTags;
    while (endless.size() < 5'000'000) endless += "1. a 2. b ";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty", ""},
        {"five bytes", "[Even"},
        {"ends in a tag value", "[Event \"E\"]\n[White \"Unfinished"},
        {"ends in a comment", kTags + "1. e4 {and then"},
        {"ends in a variation", kTags + "1. e4 (1. d4 d5"},
        {"deep variations", kTags + "1. e4 " + std::string(100000, '(') + " e5 2. Nf3"},
        {"odd bytes in names", std::string("[Event \"\0\xff\"]\n[White \"A\0B\"]\n[Black \"\xc3\"]\n\n1. e4 \0 e5 *\n", 47)},
        {"CR line ends", "[Event \"E\"]\r[White \"W\"]\r\r1. e4 e5\r2. Nf3 *\r"},
        {"a huge name", "[Event \"E\"]\n[White \"" + std::string(20'000'000, 'N') + "\"]\n\n1. e4 *\n"},
        {"endless move numbers", endless},
    };
    for (const auto& [what, bytes] : files) {
        TempFile file(bytes);
        OpenInDialog(file.path());
        UseEverything();
        // Names are kept to a line's worth, as the list keeps them.
        EXPECT_LE(window->windowTitle().size(), 820) << what;
        EXPECT_LE(window->StatusPanel[0]->text().size(), 1620) << what;
        EXPECT_FALSE(window->windowTitle().contains(QChar(0))) << what;
        ExpectTheNextFileOpens(what);
    }
}

TEST_F(BadFileWindowTest, PathsThatCannotBeOpenedAreSaidAndThenForgotten) {
    ASSERT_TRUE(Load(kSample));
    for (const std::string& path : {std::string("/no/such/file.pgn"), std::string(TAVREL_SOURCE_DIR)}) {
        const auto messages = dialogs.asked.size();
        OpenInDialog(path);
        ASSERT_GT(dialogs.asked.size(), messages);
        EXPECT_TRUE(dialogs.asked.last().contains(QString::fromStdString(path))) << path;
        EXPECT_EQ(window->Score()->GameCounter->text(), "Game 0 of 0");
        UseEverything();
        ExpectTheNextFileOpens(path);
    }
}

// A picture is refused for what it holds, whatever its name: the file and position on show stay;
// at start, with nothing open, the dialog asks for another file.
TEST_F(BadFileWindowTest, AFileThatIsNotPgnIsSaidAndTheFileOnShowStays) {
    TempFile picture(::tavrel::testing::FileBytes(TAVREL_SOURCE_DIR "/resources/logo.png"));
    dialogs.files = {kSample};
    ASSERT_TRUE(Load(QString::fromStdString(picture.path())));
    EXPECT_TRUE(dialogs.asked[0].startsWith("message|")) << dialogs.asked.join("\n").toStdString();
    EXPECT_TRUE(dialogs.asked[0].contains("Not a PGN file.")) << dialogs.asked[0].toStdString();
    EXPECT_TRUE(dialogs.asked[1].startsWith("open|"));
    Step(Qt::Key_Down);
    OpenInDialog(picture.path());
    EXPECT_TRUE(dialogs.asked.last().contains("Not a PGN file.")) << dialogs.asked.last().toStdString();
    EXPECT_EQ(window->txtFileName->text(), kSample);
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 4");
    EXPECT_EQ(window->Game().GameBoard(5, 5), Piece::Pawn);  // still after 1. e4
    Step(Qt::Key_Down);
    EXPECT_EQ(window->Game().GameBoard(4, 5), -Piece::Pawn);  // and the game goes on: 1... e5
}

}  // namespace
}  // namespace tavrel::ui::testing
