#pragma once
// The Options menu's settings. Its check marks are the settings themselves: the drawing, the
// analysis board and the handlers all ask here, and this asks the marks, so nothing can drift
// out of step with what the menu shows.

#include "ui/board/BoardPainter.h"
#include "MenuTable.h"
#include "WindowScale.h"

namespace tavrel::ui {

class Options {
public:
    explicit Options(const Menus& menus)
        : beep_(menus[MenuItem::ctlBeep]),
          colour_(menus[MenuItem::Color_or_mono]),
          display_(menus[MenuItem::ctlDisplay]),
          reverse_(menus[MenuItem::ctlReverse]),
          coordinates_(menus[MenuItem::ctlCoordinates]),
          lastMove_(menus[MenuItem::ctlLastMove]) {
        for (std::size_t i = 0; i < sizes_.size(); ++i) sizes_[i] = menus[SizeItem(static_cast<int>(i))];
    }

    // Only a press beside the analysis board heeds this; every other beep sounds regardless.
    bool BeepOnError() const { return beep_->isChecked(); }
    bool AnalysisShown() const { return display_->isChecked(); }
    bool Reversed() const { return reverse_->isChecked(); }
    bool CoordinatesShown() const { return coordinates_->isChecked(); }
    bool LastMoveShown() const { return lastMove_->isChecked(); }
    // The board size in per cent: the checked size item's.
    int BoardSizePercent() const {
        for (std::size_t i = 0; i < sizes_.size(); ++i) {
            if (sizes_[i]->isChecked()) return kBoardSizes[i];
        }
        return 100;
    }
    // 0 the colour swatches, 1 the grey ones.
    int ColorSquares() const { return colour_->isChecked() ? 0 : 1; }
    BoardView View() const {
        const int start = Reversed() ? 8 : 1;
        return BoardView{ColorSquares(), start, start, Reversed() ? -1 : 1};
    }

private:
    QAction* beep_;
    QAction* colour_;
    QAction* display_;
    QAction* reverse_;
    QAction* coordinates_;
    QAction* lastMove_;
    std::array<QAction*, kBoardSizes.size()> sizes_{};
};

}  // namespace tavrel::ui
