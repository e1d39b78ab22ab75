// The tutorial window: its pages and pictures as the user sees them, typing into the text,
// the press feedback of the pictures, and its Help menu entry.

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "../FakeDialogs.h"
#include "ui/board/PiecePictures.h"
#include "ui/main/Skelda.h"
#include "ui/tutorial/TutBox.h"

namespace tavrel::ui {
namespace {

class TutBoxTest : public ::testing::Test {
  protected:
    TutBoxTest() : pictures(PiecePictures::Load()), box(pictures) {
        box.Form_Load();
        box.show();
    }
    QString Expected(Page page) const { return QString::fromStdString(BuildPage(page)); }
    int VisiblePictures() const {
        int visible = 0;
        for (const PiecePicture* picture : box.Piece) visible += picture->isVisible();
        return visible;
    }
    static QImage Negative(QImage image) {
        image.invertPixels();
        return image;
    }

    PiecePictures pictures;
    TutBox box;
};

TEST_F(TutBoxTest, OpensCentredWithAnEmptyTextAndEveryPicture) {
    EXPECT_EQ(box.windowTitle(), "Rules and Strategy of chess");
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((box.frameGeometry().center() - screenCentre).manhattanLength(), 40);
    EXPECT_TRUE(box.PageText().isEmpty());
    EXPECT_EQ(VisiblePictures(), 6);
}

TEST_F(TutBoxTest, ButtonsAndPicturesWriteTheirPages) {
    const struct {
        QPushButton* button;
        Page page;
        int pictures;
    } rows[] = {{box.RuleButton, RulesPage(), 0},
                {box.PiecesButton, PiecesPage(), 6},
                {box.NotationButton, NotationPage(), 0},
                {box.StrategyButton, StrategyPage(), 0},
                {box.PiecesButton, PiecesPage(), 6}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button->text().toStdString());
        QTest::mouseClick(row.button, Qt::LeftButton);
        EXPECT_EQ(box.PageText(), Expected(row.page));
        EXPECT_EQ(VisiblePictures(), row.pictures);
        EXPECT_TRUE(box.T->isVisible());
    }
    // A piece page replaces the last and leaves the pictures; a key works as a click.
    QTest::mouseClick(box.Piece[1], Qt::LeftButton);
    EXPECT_EQ(box.PageText(), Expected(PiecePage(1)));
    box.Piece[5]->setFocus();
    QTest::keyClick(box.Piece[5], Qt::Key_Space);
    EXPECT_EQ(box.PageText(), Expected(PiecePage(5)));
    EXPECT_EQ(VisiblePictures(), 6);
}

// Lines written to stand on their own (the draw rules, the book list) are never wrapped again
// by the text area, whatever the desktop's font.
TEST_F(TutBoxTest, ShortLinesKeepToOneLineOnScreen) {
    for (Page page : AllPages()) {
        box.T->setPlainText(QString::fromStdString(BuildPage(page)).replace("\r\n", "\n"));
        QTextBlock block = box.T->document()->firstBlock();  // one block for each entry
        for (const PageEntry& entry : page) {
            if (IsShortLine(entry)) {
                SCOPED_TRACE(entry.text);
                box.T->document()->documentLayout()->blockBoundingRect(block);
                EXPECT_EQ(block.layout()->lineCount(), 1);
            }
            block = block.next();
        }
    }
    EXPECT_GE(box.T->font().pointSizeF(), 7.0);
}

TEST_F(TutBoxTest, TypingDeletingAndPastingChangeNothing) {
    QTest::mouseClick(box.StrategyButton, Qt::LeftButton);
    const QString page = box.PageText();
    box.T->setFocus();
    QTest::keyClicks(box.T, "abc 123");
    QTest::keyClick(box.T, Qt::Key_Backspace);
    QTest::keyClick(box.T, Qt::Key_Delete);
    QTest::keyClick(box.T, Qt::Key_Return);
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClick(box.T, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.PageText(), page);
    // The page can still be selected and copied.
    QTest::keyClick(box.T, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box.T, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("THE STRATEGY FOR PLAYING CHESS"));
}

TEST_F(TutBoxTest, APressShowsTheNegativeAndOnlyAClickWritesAPage) {
    PiecePicture* pawn = box.Piece[0];
    const QImage original = pawn->Canvas();
    QSignalSpy clicks(pawn, &PiecePicture::clicked);
    const QPoint inside(10, 10), outside(200, 10);

    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(pawn, button, {}, inside);
        EXPECT_EQ(pawn->Canvas(), Negative(original));
        QTest::mouseRelease(pawn, button, {}, inside);
        EXPECT_EQ(pawn->Canvas(), original);
    }
    EXPECT_EQ(clicks.count(), 1);  // the left button only

    // Dragged off and released elsewhere: restored, no page.
    QTest::mousePress(pawn, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(pawn, Qt::LeftButton, {}, outside);
    EXPECT_EQ(pawn->Canvas(), original);
    EXPECT_EQ(clicks.count(), 1);

    // A double click: press, release, double click, release writes the page once.
    box.RuleButton->click();
    box.PiecesButton->click();
    QTest::mouseClick(pawn, Qt::LeftButton, {}, inside);
    QTest::mouseDClick(pawn, Qt::LeftButton, {}, inside);
    EXPECT_EQ(pawn->Canvas(), Negative(original));
    QTest::mouseRelease(pawn, Qt::LeftButton, {}, inside);
    EXPECT_EQ(pawn->Canvas(), original);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(box.PageText(), Expected(PiecePage(0)));

    // Hidden while held (a page button pressed by keyboard): it comes back as it was.
    QTest::mousePress(pawn, Qt::LeftButton, {}, inside);
    box.RuleButton->click();
    box.PiecesButton->click();
    EXPECT_EQ(pawn->Canvas(), original);
    QTest::mouseRelease(pawn, Qt::LeftButton, {}, inside);
    EXPECT_EQ(pawn->Canvas(), original);
}

TEST(TutorialMenu, PiecesAndRulesOpensOneModelessWindowAgainAfterClosing) {
    testing::FakeDialogs dialogs;
    Skelda window(dialogs);
    window.show();
    QAction* item = window.Action(MenuItem::ctlPieceMove);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&Pieces and Rules");
    item->trigger();
    TutBox* first = window.Tutorial();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    first->StrategyButton->click();
    item->trigger();
    EXPECT_EQ(window.Tutorial(), first);  // shown again, not a second window
    EXPECT_FALSE(first->PageText().isEmpty());

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.Tutorial(), nullptr);
    item->trigger();
    ASSERT_NE(window.Tutorial(), nullptr);
    EXPECT_TRUE(window.Tutorial()->PageText().isEmpty());  // loaded afresh
}

}  // namespace
}  // namespace tavrel::ui
