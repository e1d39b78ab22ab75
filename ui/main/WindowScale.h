#pragma once
// The main window's size: the board size the user chose, and the screen's device pixels per
// logical pixel. Widgets are placed in logical pixels at the chosen size; the canvas is drawn in
// the screen's own pixels, so a HiDPI screen gets a board drawn at its resolution, not enlarged.

#include <QRect>
#include <array>
#include <cmath>

#include "WindowWidth.h"
#include "ui/board/BoardPainter.h"

namespace tavrel::ui {

// The board sizes the Options menu offers, in per cent of the default.
constexpr std::array<int, 6> kBoardSizes{100, 125, 150, 200, 250, 300};

// The offered size `steps` away from `percent` (negative: smaller), held at the ends; a size not
// offered counts as the default.
int SteppedBoardSize(int percent, int steps);

struct WindowScale {
    int percent = 100;
    double pixelRatio = 1;

    [[nodiscard]] double Zoom() const { return percent / 100.0; }
    // Canvas pixels per pixel of the default layout.
    [[nodiscard]] double CanvasScale() const { return Zoom() * pixelRatio; }
    // A length or place of the default layout, in logical pixels at this size.
    [[nodiscard]] int Px(int base) const { return static_cast<int>(std::lround(base * Zoom())); }
    [[nodiscard]] QRect Place(int x, int y, int width, int height) const {
        return {Px(x), Px(y), Px(width), Px(height)};
    }
    [[nodiscard]] BoardGeometry GameBoard() const { return BoardGeometry::Scaled(kGameBoardOrigin, CanvasScale()); }
    [[nodiscard]] BoardGeometry AnalysisBoard() const {
        return BoardGeometry::Scaled(kAnalysisBoardOrigin, CanvasScale());
    }
};

}  // namespace tavrel::ui
