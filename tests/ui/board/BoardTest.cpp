// The board at every size: the default size as it always was, pixel for pixel; larger sizes
// with every square and piece in proportion; coordinates, the last move, and the size kept
// from one run to the next.

#include <QApplication>
#include <QPainter>
#include <set>

#include "../WindowFixture.h"
#include "ui/analysis/AnalysisEditor.h"
#include "ui/board/PieceShapes.h"

namespace tavrel::ui::testing {
namespace {

class BoardTest : public WindowTest {
protected:
    // Loads the sample with the analysis board shown, at 1. e4 e5 2. f4 exf4 3. Bc4.
    void LoadAtBishopMove() {
        ASSERT_TRUE(Load(kSample));
        window->Action(MenuItem::ctlDisplay)->trigger();
        Step(Qt::Key_Down, 5);
    }
    // The board squares whose picture's corner is not the plain swatch: the tinted ones.
    std::set<std::pair<int, int>> TintedSquares() const {
        std::set<std::pair<int, int>> tinted;
        for (int row = 1; row <= 8; ++row) {
            for (int col = 1; col <= 8; ++col) {
                const QRgb corner = Pixel(SquarePixel(window->GameBoard(), window->Settings().View(), row, col));
                if (corner != kLight && corner != kDark) tinted.insert({row, col});
            }
        }
        return tinted;
    }
    QImage Region(QRect area) const { return window->Canvas().copy(area); }
};

TEST_F(BoardTest, TheDefaultSizeIsTodaysCanvasPixelForPixel) {
    LoadAtBishopMove();
    const QImage today(QString(TAVREL_SOURCE_DIR) + "/tests/data/board/default-size-canvas.png");
    ASSERT_FALSE(today.isNull());
    EXPECT_EQ(window->Canvas(), today.convertToFormat(QImage::Format_RGB32));
    // Back from another size, the same again.
    window->SetBoardSize(250);
    window->SetBoardSize(100);
    EXPECT_EQ(window->Canvas(), today.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(window->Client()->size(), QSize(2 * 324 - 30, 359));
}

TEST_F(BoardTest, AtTwiceTheSizeEverySquareIsTwiceTodaysAndEveryPieceIsWhereThePositionHasIt) {
    LoadAtBishopMove();
    const qreal scoreText = window->Score()->Display->font().pointSizeF();
    const QSize scoreWindow = window->Score()->size();
    window->SetBoardSize(200);
    EXPECT_EQ(window->Client()->size(), QSize(2 * (2 * 324 - 30), 2 * 359));
    // The score window's text follows, and the window with it.
    EXPECT_EQ(window->Score()->size(), 2 * scoreWindow);
    EXPECT_DOUBLE_EQ(window->Score()->Display->font().pointSizeF(), 2 * scoreText);
    const BoardGeometry board = window->GameBoard();
    ASSERT_EQ(board.origin, 2 * kGameBoardOrigin);
    const BoardView view = window->Settings().View();
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const QPoint at = SquarePixel(board, view, row, col);
            const QRgb swatch = IsLightSquare(row, col) ? kLight : kDark;
            // 64 pixels of swatch, then the ground.
            EXPECT_EQ(Pixel(at), swatch);
            EXPECT_EQ(Pixel(at + QPoint(63, 0)), swatch);
            EXPECT_EQ(Pixel(at + QPoint(0, 63)), swatch);
            EXPECT_EQ(Pixel(at + QPoint(64, 0)), 0u);
            const int code = window->Game().GameBoard(row, col);
            const char expected = code == 0 ? ' ' : code > 0 ? 'w' : 'b';
            EXPECT_EQ(Occupant(at, 64), expected) << row << "," << col;
        }
    }
    // The analysis board the same, at its place.
    const BoardGeometry analysis = window->AnalysisBoard();
    EXPECT_EQ(analysis.origin, 2 * kAnalysisBoardOrigin);
    EXPECT_EQ(Region(QRect(analysis.origin, QSize(analysis.Span(), analysis.Span()))),
              Region(QRect(board.origin, QSize(board.Span(), board.Span()))));
}

// Run by ctest with QT_SCALE_FACTOR=2 (ui_tests_scale_factor_2); skipped on a screen of ratio 1.
TEST_F(BoardTest, OnAScreenScaledTwiceTheDefaultSizeIsDrawnInTheScreensOwnPixels) {
    if (qApp->devicePixelRatio() < 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
    LoadAtBishopMove();
    EXPECT_EQ(window->Client()->size(), QSize(2 * 324 - 30, 359));  // logical pixels, as today
    EXPECT_EQ(window->Canvas().size(), QSize(2 * (2 * 324 - 30), 2 * 359));
    const BoardGeometry board = window->GameBoard();
    EXPECT_EQ(board.pitch, 66);
    for (int col = 1; col <= 8; ++col) {
        EXPECT_EQ(Occupant(SquarePixel(board, window->Settings().View(), 7, col), 64), col == 5 || col == 6 ? ' ' : 'w');
    }
    // A press lands on the square under it: the logical point is half the canvas pixel.
    const BoardGeometry analysis = window->AnalysisBoard();
    const QPoint e2 = (ScreenSquarePixel(analysis, {7, 4}) + QPoint(32, 32)) / 2;
    QTest::mousePress(window->Client(), Qt::LeftButton, {}, e2);
    QTest::mouseRelease(window->Client(), Qt::LeftButton, {}, e2 + QPoint(0, -33));
    EXPECT_EQ(window->Game().AnalysisBoard(6, 4), Piece::Pawn);
}

// Carrying a piece on the analysis board at a size whose squares are not a whole multiple of
// today's: the square under the pointer is the square the piece leaves and lands on.
TEST_F(BoardTest, APieceCarriedAtOneAndAHalfTimesLandsOnTheSquareUnderThePointer) {
    LoadAtBishopMove();
    window->SetBoardSize(150);
    const BoardGeometry analysis = window->AnalysisBoard();
    EXPECT_EQ(analysis.pitch, 50);
    const auto middle = [&](int row, int col) {
        return ScreenSquarePixel(analysis, {row, col}) + QPoint(analysis.Square() / 2, analysis.Square() / 2);
    };
    ClientArea* area = window->Client();
    QTest::mousePress(area, Qt::LeftButton, {}, middle(8, 7));  // g1's knight
    QTest::mouseRelease(area, Qt::LeftButton, {}, middle(6, 6));  // to f3
    EXPECT_EQ(window->Game().AnalysisBoard(8, 7), 0);
    EXPECT_EQ(window->Game().AnalysisBoard(6, 6), Piece::Knight);
    EXPECT_EQ(Occupant(ScreenSquarePixel(analysis, {6, 6}), analysis.Square()), 'w');
    EXPECT_EQ(Occupant(ScreenSquarePixel(analysis, {8, 7}), analysis.Square()), ' ');
    // A change of size keeps the edit.
    window->SetBoardSize(125);
    EXPECT_EQ(window->Game().AnalysisBoard(6, 6), Piece::Knight);
}

TEST_F(BoardTest, CoordinatesNameTheRanksAndFilesAsTheBoardIsTurned) {
    ASSERT_TRUE(Load(kSample));
    const BoardGeometry board = window->GameBoard();
    // The label cells of screen row 1 and 8 (left of the frame) and of screen column 1 and 8
    // (under it).
    const auto rankCell = [&](int row) { return QRect(0, ScreenSquarePixel(board, {row, 1}).y(), 21, 32); };
    const auto fileCell = [&](int col) { return QRect(ScreenSquarePixel(board, {1, col}).x(), 322, 32, 19); };
    const QImage blank = Region(rankCell(1));
    window->Action(MenuItem::ctlCoordinates)->trigger();
    const QImage eight = Region(rankCell(1)), one = Region(rankCell(8));
    const QImage a = Region(fileCell(1)), h = Region(fileCell(8));
    EXPECT_NE(eight, blank);
    EXPECT_NE(eight, one);
    EXPECT_NE(a, h);
    window->Action(MenuItem::ctlReverse)->trigger();
    EXPECT_EQ(Region(rankCell(1)), one);
    EXPECT_EQ(Region(rankCell(8)), eight);
    EXPECT_EQ(Region(fileCell(1)), h);
    EXPECT_EQ(Region(fileCell(8)), a);
    window->Action(MenuItem::ctlCoordinates)->trigger();
    EXPECT_EQ(Region(rankCell(1)), blank);
}

TEST_F(BoardTest, TheLastMoveIsTintedAfterEveryWayOfReachingAPositionAndNoneAtTheStart) {
    ASSERT_TRUE(Load(kSample));
    window->Action(MenuItem::ctlLastMove)->trigger();
    using Squares = std::set<std::pair<int, int>>;
    const Squares none, e2e4{{7, 5}, {5, 5}}, e7e5{{2, 5}, {4, 5}}, d6e7{{3, 4}, {2, 5}};
    const struct {
        const char* how;
        std::function<void()> act;
        Squares tinted;
    } rows[] = {
        {"at the start", [] {}, none},
        {"a step", [&] { Step(Qt::Key_Down); }, e2e4},
        {"another", [&] { Step(Qt::Key_Right); }, e7e5},
        {"undo", [&] { window->ctlUndo_Click(); }, e2e4},
        {"End", [&] { Step(Qt::Key_End); }, d6e7},  // 23. Be7#
        {"reversed", [&] { window->Action(MenuItem::ctlReverse)->trigger(); }, d6e7},
        {"Home", [&] { Step(Qt::Key_Home); }, none},
        {"a step at twice the size", [&] { window->SetBoardSize(200); Step(Qt::Key_Down); }, e2e4},
        {"the next game", [&] { window->Action(MenuItem::ctlNextGame)->trigger(); }, none},
    };
    for (const auto& row : rows) {
        row.act();
        EXPECT_EQ(TintedSquares(), row.tinted) << row.how;
    }
    Step(Qt::Key_Down);
    window->Action(MenuItem::ctlLastMove)->trigger();
    EXPECT_EQ(TintedSquares(), none) << "the option off";
}

TEST_F(BoardTest, TheBoardSizeAndTheOptionsSurviveARestart) {
    ASSERT_TRUE(Load(kSample));
    EXPECT_EQ(window->Settings().BoardSizePercent(), 100);
    window->Action(MenuItem::ctlLarger)->trigger();
    window->Action(MenuItem::ctlLarger)->trigger();
    window->Action(MenuItem::ctlCoordinates)->trigger();
    window->Action(MenuItem::ctlLastMove)->trigger();
    EXPECT_EQ(window->Settings().BoardSizePercent(), 150);
    window.reset();
    ASSERT_TRUE(Load(kSample));
    EXPECT_EQ(window->Settings().BoardSizePercent(), 150);
    EXPECT_TRUE(window->Action(MenuItem::ctlSize150)->isChecked());
    EXPECT_EQ(window->Client()->width(), 486);
    EXPECT_TRUE(window->Settings().CoordinatesShown());
    EXPECT_TRUE(window->Settings().LastMoveShown());
    // The steps stop at the ends.
    const struct {
        MenuItem item;
        int times;
        int percent;
    } rows[] = {{MenuItem::ctlLarger, 9, 300}, {MenuItem::ctlSmaller, 1, 250}, {MenuItem::ctlSmaller, 9, 100},
                {MenuItem::ctlSize200, 1, 200}, {MenuItem::ctlActualSize, 1, 100}};
    for (const auto& row : rows) {
        for (int i = 0; i < row.times; ++i) window->Action(row.item)->trigger();
        EXPECT_EQ(window->Settings().BoardSizePercent(), row.percent);
        EXPECT_EQ(window->Client()->height(), std::lround(359 * row.percent / 100.0));
    }
}

// The outlines the board draws at every size are the ones the default size's pictures were
// made from.
TEST(PieceShapes, TheOutlinesAtTheDefaultSizeAreTheKeptPictures) {
    const char* names[6] = {"pawn", "king", "queen", "bishop", "knight", "rook"};
    for (int i = 0; i < 6; ++i) {
        const auto kept = [&](const char* kind) {
            return QImage(QString(":/pieces/%1-%2.png").arg(kind, names[i])).convertToFormat(QImage::Format_RGB32);
        };
        EXPECT_EQ(RenderPiece(i, true, 32, 1), kept("white")) << names[i];
        EXPECT_EQ(RenderPiece(i, false, 32, 1), kept("black")) << names[i];
        EXPECT_EQ(RenderMask(i, 32, 1), kept("mask")) << names[i];
    }
}

}  // namespace
}  // namespace tavrel::ui::testing
