#include <QScreen>

#include "WindowFixture.h"

namespace tavrel::ui::testing {
namespace {

class OptionsMenuTest : public WindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Load(kSample)); }
    void Toggle(MenuItem item) { window->Action(item)->trigger(); }
    QRgb Pixel(int x, int y) const { return WindowTest::Pixel({x, y}); }
    QRgb AnalysisPixel(int row, int col) const {
        return WindowTest::Pixel(ScreenSquarePixel(kAnalysisBoardOrigin, {row, col}));
    }
};

TEST_F(OptionsMenuTest, AnalysisBoardWidensTheWindowAndNarrowsItBackExactly) {
    const int narrow = window->Client()->width();
    const QPoint place = window->pos();
    const int box = window->txtFileName->width();
    const int margin = narrow - 1 - window->txtFileName->geometry().right();
    for (int round = 0; round < 2; ++round) {
        Toggle(MenuItem::ctlDisplay);
        const int wide = window->Client()->width();
        EXPECT_EQ(wide, 2 * narrow - 30);
        // Grown to the left while the screen has room, so the score window stays clear.
        const int screenLeft = window->screen()->availableGeometry().left();
        EXPECT_EQ(window->x(), std::max(screenLeft, place.x() - (wide - narrow)));
        EXPECT_EQ(wide - 1 - window->txtFileName->geometry().right(), margin);  // the box reaches the right edge
        EXPECT_EQ(window->Game().AnalysisBoard, window->Game().GameBoard);
        Toggle(MenuItem::ctlDisplay);
        EXPECT_EQ(window->Client()->width(), narrow);
        EXPECT_EQ(window->txtFileName->width(), box);
        EXPECT_EQ(window->pos(), place);
    }
}

TEST_F(OptionsMenuTest, BothBoardsInBothSchemesAndOrientationsAndBackAgain) {
    Toggle(MenuItem::ctlDisplay);
    window->Slider1->setValue(2);
    const QImage start = window->Canvas().copy();
    const Board game = window->Game().GameBoard;
    const auto occupant = [&](int row, int col) {
        return Occupant(SquarePixel(kGameBoardOrigin, window->Settings().View(), row, col));
    };
    Toggle(MenuItem::Color_or_mono);
    EXPECT_FALSE(window->Action(MenuItem::Color_or_mono)->isChecked());
    EXPECT_EQ(PixelOfSquare(1, 1), kGreyLight);
    EXPECT_EQ(PixelOfSquare(1, 2), kGreyDark);
    EXPECT_EQ(AnalysisPixel(1, 1), kGreyLight);
    EXPECT_EQ(occupant(1, 1), 'b');  // pieces stay
    Toggle(MenuItem::Color_or_mono);
    EXPECT_EQ(window->Canvas(), start);

    Toggle(MenuItem::ctlReverse);
    // h1 at the top left of both boards and a8 at the bottom right, both drawn light.
    EXPECT_EQ(SquarePixel(kGameBoardOrigin, window->Settings().View(), 8, 8), QPoint(26, 54));
    EXPECT_EQ(SquarePixel(kGameBoardOrigin, window->Settings().View(), 1, 1), QPoint(25 + 33 * 7 + 1, 53 + 33 * 7 + 1));
    EXPECT_EQ(Pixel(26, 54), kLight);
    EXPECT_EQ(PixelOfSquare(1, 1), kLight);
    EXPECT_EQ(AnalysisPixel(1, 1), kLight);
    EXPECT_EQ(occupant(8, 8), 'w');
    Toggle(MenuItem::ctlReverse);
    EXPECT_EQ(window->Canvas(), start);
    EXPECT_EQ(window->Game().GameBoard, game);
    EXPECT_EQ(window->Game().AnalysisBoard, game);
}

TEST_F(OptionsMenuTest, HelpMenuGoesThroughTheDesktop) {
    Toggle(MenuItem::ctlHome);
    Toggle(MenuItem::ctlUSCF);
    Toggle(MenuItem::ctlPieceMove);
    Toggle(MenuItem::ctlAbout);
    ASSERT_EQ(dialogs.asked.size(), 3);
    const QUrl home(dialogs.asked[0].mid(4));
    EXPECT_TRUE(home.isLocalFile());
    EXPECT_TRUE(home.path().endsWith("/share/doc/tavrel/README.md")) << home.path().toStdString();
    EXPECT_EQ(dialogs.asked[1], "url|https://new.uschess.org/");
    EXPECT_EQ(dialogs.asked[2], "about|Tavrel|This chess program was written by:\nthe Tavrel developers");
    // The black pawn, without the white ground of its picture.
    EXPECT_EQ(qAlpha(dialogs.aboutIcon.pixel(0, 0)), 0);
    EXPECT_LT(qGray(dialogs.aboutIcon.pixel(16, 16)), 128);
}

}  // namespace
}  // namespace tavrel::ui::testing
