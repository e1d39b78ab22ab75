#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTextBlock>

#include "../WindowFixture.h"
#include "core/Board.h"
#include "pgn/GameReader.h"
#include "ui/gametext/GameText.h"

namespace tavrel::ui::testing {
namespace {

using Kind = pgn::MovetextItem::Kind;

pgn::AnnotatedGame Collect(std::string_view movetext) {
    return pgn::ReadAnnotatedGame(movetext);
}

TEST(GameTextDocument, ABookPageOfTheGame) {
    const struct {
        const char* why;
        const char* movetext;
        const char* page;
    } rows[] = {
        {"words before the first move stand apart, a variation in its own paragraph",
         "{An old   game.} 1. e4! e5 (1... c5 $14 {the Sicilian} 2. Nf3) 2. Nf3 $16 1-0",
         "An old game.\n1. e4! e5\n(1... c5 ⩲ the Sicilian 2. Nf3)\n2. Nf3 ±\n1-0"},
        {"a nested variation stays inside its parent; Black's move after a comment or a variation is numbered",
         "1. d4 {solid} d5 (1... Nf6 2. c4 (2. Nf3 g6) e6) *", "1. d4 solid 1... d5\n(1... Nf6 2. c4 (2. Nf3 g6) 2... e6)\n*"},
        {"a game of comments only", "{Nothing was played.} *", "Nothing was played.\n*"},
    };
    for (const auto& row : rows) {
        QTextDocument document;
        const pgn::AnnotatedGame game = Collect(row.movetext);
        const std::vector<TextSpan> spans = WriteGameText(document, game);
        EXPECT_EQ(document.toPlainText().toStdString(), row.page) << row.why;
        for (std::size_t i = 0; i < game.items.size(); ++i) {
            if (game.items[i].kind != Kind::Move) continue;
            QTextCursor cursor(&document);
            cursor.setPosition(spans[i].start);
            cursor.setPosition(spans[i].end, QTextCursor::KeepAnchor);
            EXPECT_EQ(cursor.selectedText().toStdString(), game.items[i].text) << row.why;
        }
    }
}

// An engine game with a comment on every move: the document is laid out once, not once per
// insert, and its main line is cut into paragraphs that the view can measure and paint in
// little time, each beginning with a move number.
TEST(GameTextDocument, ALongCommentedGameIsLaidOutOnceInParagraphsOfBoundedLength) {
    std::string movetext;
    for (int n = 1; n <= 400; ++n) {
        movetext += std::to_string(n) + ". Nf3 {d=31, +0.41 (5.1 s), 12345 kN/s} Nf6 {d=30, -0.38 (4.9 s)} ";
    }
    GameText window;
    QSignalSpy changes(window.Text->document(), &QTextDocument::contentsChange);
    window.SetGame(Collect(movetext + "*"), {});
    EXPECT_LT(changes.count(), 5);  // once per insert would be thousands
    const QTextDocument& document = *window.Text->document();
    EXPECT_GT(document.blockCount(), 20);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        EXPECT_LE(block.length(), 1200) << block.text().left(40).toStdString();
        EXPECT_TRUE(block.text().front().isDigit() || block.text() == "*") << block.text().left(40).toStdString();
    }
    EXPECT_EQ(document.toPlainText().count("Nf6"), 400);
}

const std::string kAnnotated =
    "[Event \"Lesson\"]\n[White \"Teacher\"]\n[Black \"Pupil\"]\n\n"
    "{A short lesson.} 1. e4 e5 (1... c5 2. Nf3 (2. c3 d5) d6) 2. Nf3 Nc6 3. Bb5 *\n";

class GameTextWindowTest : public WindowTest {
protected:
    GameText* OpenText() {
        window->ctlGameText_Click();
        return window->Text();
    }
    int ItemOf(const std::string& text, int depth) const {
        const auto& items = window->Text()->Game().items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].kind == Kind::Move && items[i].text == text && items[i].depth == depth) return static_cast<int>(i);
        }
        return -1;
    }
    void Click(int item) { emit window->Text()->Text->anchorClicked(QUrl("m" + QString::number(item))); }
};

TEST_F(GameTextWindowTest, FollowsTheSliderAndMovesIt) {
    ASSERT_TRUE(LoadText(kAnnotated));
    GameText* text = OpenText();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isVisible());
    EXPECT_TRUE(text->windowTitle().startsWith("Game text - Teacher vs. Pupil")) << text->windowTitle().toStdString();
    EXPECT_EQ(text->HighlightedText(), "");
    Step(Qt::Key_Down, 2);
    EXPECT_EQ(text->HighlightedText(), "e5");

    Click(ItemOf("Bb5", 0));
    EXPECT_EQ(window->Slider1->value(), 4);
    EXPECT_EQ(text->HighlightedText(), "Bb5");
    EXPECT_EQ(window->Game().GameBoard(4, 2), Piece::Bishop);  // b5
}

TEST_F(GameTextWindowTest, AVariationMoveShowsOnTheAnalysisBoardAndTheGameStays) {
    ASSERT_TRUE(LoadText(kAnnotated));
    OpenText();
    Step(Qt::Key_Down, 4);
    const Board gameBoard = window->Game().GameBoard;
    EXPECT_FALSE(window->Settings().AnalysisShown());

    Click(ItemOf("d5", 2));  // 1. e4 c5 2. c3 d5, inside the variation of the variation
    EXPECT_TRUE(window->Settings().AnalysisShown());
    EXPECT_EQ(FenPlacement(window->Game().AnalysisBoard), "rnbqkbnr/pp2pppp/8/2pp4/4P3/2P5/PP1P1PPP/RNBQKBNR");
    EXPECT_EQ(window->Game().GameBoard, gameBoard);
    EXPECT_EQ(window->Slider1->value(), 3);
    EXPECT_EQ(dialogs.beeps, 0);

    Step(Qt::Key_Down);  // a change of position puts the game back on the analysis board
    EXPECT_EQ(window->Game().AnalysisBoard, window->Game().GameBoard);
}

// Set up at Black's move 23, its first move numbered as if it were White's: the FEN decides. The
// variation castles with zeros and in lower case, as the score may.
TEST_F(GameTextWindowTest, ASetUpGameWithBlackToMove) {
    ASSERT_TRUE(LoadText("[Event \"Set up\"]\n[FEN \"r3k2r/ppp2ppp/2n5/8/3pP3/5N2/PPP2PPP/R3K2R b KQkq e3 4 23\"]\n\n"
                         "23. dxe3 (23... 0-0-0 24. o-o) 24. fxe3 O-O (24... Kf8) *\n"));
    GameText* text = OpenText();
    EXPECT_TRUE(text->Text->toPlainText().startsWith("23... dxe3")) << text->Text->toPlainText().toStdString();
    Step(Qt::Key_Down, 2);
    EXPECT_EQ(text->HighlightedText(), "fxe3");
    window->Action(MenuItem::ctlCopyFen)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "r3k2r/ppp2ppp/2n5/8/8/4PN2/PPP3PP/R3K2R b KQkq - 0 24");

    Click(ItemOf("o-o", 1));  // 23... 0-0-0 24. o-o, from the set-up position
    EXPECT_EQ(FenPlacement(window->Game().AnalysisBoard), "2kr3r/ppp2ppp/2n5/8/3pP3/5N2/PPP2PPP/R4RK1");
    Click(ItemOf("Kf8", 1));  // after 24. fxe3
    EXPECT_EQ(FenPlacement(window->Game().AnalysisBoard), "r4k1r/ppp2ppp/2n5/8/8/4PN2/PPP3PP/R3K2R");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(GameTextWindowTest, CopiesThePositionAndTheGame) {
    ASSERT_TRUE(LoadText(kAnnotated + "\n[Event \"Next\"]\n1. d4 *\n"));
    Step(Qt::Key_Down);
    window->Action(MenuItem::ctlCopyFen)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    window->Action(MenuItem::ctlCopyPgn)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), kAnnotated);
}

}  // namespace
}  // namespace tavrel::ui::testing
