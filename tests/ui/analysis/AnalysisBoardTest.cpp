#include <QMenu>

#include "../WindowFixture.h"
#include "ui/analysis/AnalysisEditor.h"

namespace tavrel::ui::testing {
namespace {

class AnalysisBoardTest : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Load(kSample));
        window->Action(MenuItem::ctlDisplay)->trigger();
    }
    // A button left held would turn the next test's first click into a double click.
    void TearDown() override {
        if (QMenu* popup = window->Menu(MenuName::mnuPopup)) popup->close();
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton})
            if (held_.testFlag(button)) Release({1, 1}, button);
    }
    // The middle of a screen square of the analysis board.
    static QPoint Middle(int row, int col) { return ScreenSquarePixel(kAnalysisBoardOrigin, {row, col}) + QPoint(16, 16); }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        held_.setFlag(button);
        QTest::mousePress(window->Client(), button, {}, at);
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        held_.setFlag(button, false);
        QTest::mouseRelease(window->Client(), button, {}, at);
    }
    void Move(QPoint at) { QTest::mouseMove(window->Client(), at); }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        Move(to);
        Release(to);
    }
    void Choose(MenuItem item) {
        window->Action(item)->trigger();
        window->Menu(MenuName::mnuPopup)->close();
    }
    const Board& Analysis() const { return window->Game().AnalysisBoard; }
    const DragState& Drag() const { return window->Analysis()->Drag(); }
    // Whether the screen square's picture shows anything but its swatch.
    bool ShowsPiece(int row, int col) const {
        return Occupant(ScreenSquarePixel(kAnalysisBoardOrigin, {row, col})) != ' ';
    }
    int WhiteDotsAround(QPoint square) const {
        int whites = 0;
        for (int i = -1; i < 33; ++i) {
            for (const QPoint p : {QPoint(square.x() + i, square.y() - 1), QPoint(square.x() + i, square.y() + 32),
                                   QPoint(square.x() - 1, square.y() + i), QPoint(square.x() + 32, square.y() + i)})
                whites += Pixel(p) == 0xFFFFFF;
        }
        return whites;
    }
    Qt::CursorShape Pointer() const {
        return window->Client()->testAttribute(Qt::WA_SetCursor) ? window->Client()->cursor().shape() : Qt::ArrowCursor;
    }

private:
    Qt::MouseButtons held_;
};

TEST_F(AnalysisBoardTest, PressesAtTheEdgesOfTheBoard) {
    struct Row {
        QPoint at;
        bool beepOption;
        int beeps;
        int picked;  // piece code picked up, 0 for none
    };
    const Row rows[] = {
        {{595, 60}, true, 0, -Piece::Rook},  // the last pixel column: h8
        {{596, 60}, true, 1, 0},
        {{596, 60}, false, 0, 0},
        {{332, 316}, true, 0, Piece::Rook},  // the last pixel row: a1
        {{332, 317}, true, 1, 0},
        {{331, 60}, true, 1, 0},
        {{100, 100}, true, 1, 0},  // the game board is beside the analysis board too
        {Middle(4, 4), true, 0, 0},  // an empty square: nothing at all
    };
    for (const Row& row : rows) {
        window->Action(MenuItem::ctlBeep)->setChecked(row.beepOption);
        dialogs.beeps = 0;
        Press(row.at);
        EXPECT_EQ(dialogs.beeps, row.beeps) << row.at.x() << "," << row.at.y();
        EXPECT_EQ(Drag().Dragging, row.picked != 0);
        EXPECT_EQ(Drag().Dragging ? Drag().DragPiece : 0, row.picked);
        Release(row.at);
        EXPECT_FALSE(Drag().Dragging);
    }
    window->Action(MenuItem::ctlBeep)->setChecked(true);
    window->Action(MenuItem::ctlDisplay)->trigger();  // hidden: presses do nothing at all
    Press({596, 60});
    Press(Middle(1, 1));
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_FALSE(Drag().Dragging);
}

TEST_F(AnalysisBoardTest, DragAndDropInBothOrientations) {
    const Board game = window->Game().GameBoard;
    Press(Middle(7, 5));  // e2
    ASSERT_TRUE(Drag().Dragging);
    const QPoint square = ScreenSquarePixel(kAnalysisBoardOrigin, {7, 5});
    EXPECT_EQ(WhiteDotsAround(square), 4 * 17);  // the dotted box on the grid: every other pixel
    EXPECT_FALSE(ShowsPiece(7, 5));  // lifted off its square
    EXPECT_EQ(Analysis()(7, 5), Piece::Pawn);  // but still there until the drop
    Move(Middle(5, 5));
    Release(Middle(5, 5));
    EXPECT_EQ(WhiteDotsAround(square), 0);  // painted back black
    EXPECT_EQ(Analysis()(5, 5), Piece::Pawn);
    EXPECT_EQ(Analysis()(7, 5), 0);
    EXPECT_TRUE(ShowsPiece(5, 5));
    EXPECT_FALSE(ShowsPiece(7, 5));
    EXPECT_EQ(window->Game().GameBoard, game);  // the game board is never touched

    window->Action(MenuItem::ctlReverse)->trigger();
    EXPECT_EQ(Analysis(), game);
    Drag(Middle(1, 1), Middle(8, 8));  // h1 (8, 8) onto a8 (1, 1), taking the rook there
    EXPECT_EQ(Analysis()(1, 1), Piece::Rook);
    EXPECT_EQ(Analysis()(8, 8), 0);
    EXPECT_EQ(Pixel(ScreenSquarePixel(kAnalysisBoardOrigin, {8, 8})), kLight);  // a8 is light either way
    EXPECT_TRUE(ShowsPiece(8, 8));
}

TEST_F(AnalysisBoardTest, DropsOnItsOwnSquareOnItsOwnSideAndOffTheBoard) {
    const Board before = Analysis();
    const QImage canvas = window->Canvas().copy();
    Drag(Middle(8, 2), Middle(8, 2));  // b1 back on b1
    EXPECT_EQ(Analysis(), before);
    EXPECT_EQ(window->Canvas(), canvas);
    Drag(Middle(8, 2), {700, 60});  // off the board: back it goes
    EXPECT_EQ(Analysis(), before);
    EXPECT_EQ(window->Canvas(), canvas);
    Drag(Middle(8, 2), Middle(7, 4));  // the knight onto its own d2 pawn
    EXPECT_EQ(Analysis()(7, 4), Piece::Knight);
    EXPECT_EQ(Analysis()(8, 2), 0);
}

TEST_F(AnalysisBoardTest, MiddleButtonCarriesAndThePointerShowsWhereItMayDrop) {
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);
    Press(Middle(1, 4), Qt::MiddleButton);  // d8
    ASSERT_TRUE(Drag().Dragging);
    EXPECT_EQ(Drag().DragPiece, -Piece::Queen);
    EXPECT_EQ(Pointer(), Qt::BitmapCursor);
    Move({650, 100});
    EXPECT_EQ(Pointer(), Qt::ForbiddenCursor);
    Move(Middle(4, 4));
    EXPECT_EQ(Pointer(), Qt::BitmapCursor);
    Release(Middle(4, 4), Qt::MiddleButton);
    EXPECT_EQ(Pointer(), Qt::ArrowCursor);
    EXPECT_EQ(Analysis()(4, 4), -Piece::Queen);
}

TEST_F(AnalysisBoardTest, PopUpCommandsInBothOrientations) {
    QMenu* popup = window->Menu(MenuName::mnuPopup);
    Press(Middle(4, 4), Qt::RightButton);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_FALSE(Drag().Dragging);
    Choose(MenuItem::ctlPiece2);
    EXPECT_EQ(Analysis()(4, 4), Piece::Queen);
    EXPECT_TRUE(ShowsPiece(4, 4));

    // Either colour item switches to the other; exactly one is ever checked.
    QAction* white = window->Action(MenuItem::ctlWhite);
    QAction* black = window->Action(MenuItem::ctlBlack);
    for (MenuItem item : {MenuItem::ctlWhite, MenuItem::ctlWhite, MenuItem::ctlBlack}) {
        const bool wasWhite = white->isChecked();
        Choose(item);
        EXPECT_EQ(white->isChecked(), !wasWhite);
        EXPECT_NE(white->isChecked(), black->isChecked());
    }
    ASSERT_TRUE(black->isChecked());
    Press(Middle(4, 4), Qt::RightButton);
    Choose(MenuItem::ctlPiece0);
    EXPECT_EQ(Analysis()(4, 4), -Piece::Pawn);

    window->Action(MenuItem::ctlReverse)->trigger();
    Press(Middle(1, 1), Qt::RightButton);
    Choose(MenuItem::ctlClear);
    EXPECT_EQ(Analysis()(8, 8), 0);
    EXPECT_FALSE(ShowsPiece(1, 1));
    EXPECT_EQ(Pixel(ScreenSquarePixel(kAnalysisBoardOrigin, {1, 1})), kLight);
    Choose(MenuItem::ctlPiece5);
    EXPECT_EQ(Analysis()(8, 8), -Piece::Rook);
    EXPECT_TRUE(ShowsPiece(1, 1));
}

TEST_F(AnalysisBoardTest, ClearBoardAsksFirst) {
    const Board game = window->Game().GameBoard;
    Press(Middle(2, 2), Qt::RightButton);
    dialogs.yesNo = {false};
    Choose(MenuItem::ctlClearAll);
    EXPECT_EQ(dialogs.asked.last(), "yesno|Clear the board?|This action will remove all pieces from the "
                                    "analysis board.  Do you really want to do that?");
    EXPECT_EQ(Analysis(), game);
    dialogs.yesNo = {true};
    Choose(MenuItem::ctlClearAll);
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            EXPECT_EQ(Analysis()(row, col), 0);
            EXPECT_FALSE(ShowsPiece(row, col)) << row << col;
        }
    }
    EXPECT_EQ(window->Game().GameBoard, game);
}

TEST_F(AnalysisBoardTest, ResetPutsTheGamePositionBackAndFocusesTheSlider) {
    window->Slider1->setValue(3);
    Drag(Middle(8, 7), Middle(4, 4));
    window->btnReset->setFocus();
    // The button sits under the analysis board, whole inside the widened window.
    EXPECT_TRUE(window->Client()->rect().contains(window->btnReset->geometry()));
    EXPECT_GE(window->btnReset->x(), kAnalysisBoardOrigin.x());
    QTest::mouseClick(window->btnReset, Qt::LeftButton);
    EXPECT_EQ(Analysis(), window->Game().GameBoard);
    EXPECT_FALSE(ShowsPiece(4, 4));
    EXPECT_EQ(window->focusWidget(), window->Slider1);
}

// Every change of the position or of the view ends the edits, and a drag that is going on
// ends cleanly: the arrow back and the carried piece on no square it does not hold.
TEST_F(AnalysisBoardTest, ChangesOfPositionOrViewEndEditsAndDrags) {
    const std::function<void()> changes[] = {
        [&] { Step(Qt::Key_Down); },
        [&] { window->Action(MenuItem::Color_or_mono)->trigger(); },
        [&] { window->Action(MenuItem::ctlReverse)->trigger(); },
        [&] {
            window->Action(MenuItem::ctlDisplay)->trigger();
            window->Action(MenuItem::ctlDisplay)->trigger();
        },
    };
    int i = 0;
    for (const auto& change : changes) {
        Drag(Middle(8, 1), Middle(4, 1));
        Press(Middle(1, 8));
        ASSERT_TRUE(Drag().Dragging);
        change();
        EXPECT_FALSE(Drag().Dragging) << i;
        EXPECT_EQ(Pointer(), Qt::ArrowCursor) << i;
        EXPECT_EQ(Analysis(), window->Game().GameBoard) << i;
        // The canvas shows the analysis board as the game board shows the game.
        const QImage canvas = window->Canvas();
        EXPECT_EQ(canvas.copy(QRect(kAnalysisBoardOrigin, QSize(264, 264))),
                  canvas.copy(QRect(kGameBoardOrigin, QSize(264, 264)))) << i;
        Release(Middle(4, 4));  // the release of the ended drag does nothing
        EXPECT_EQ(Analysis(), window->Game().GameBoard) << i++;
    }
}

}  // namespace
}  // namespace tavrel::ui::testing
