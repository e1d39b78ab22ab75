#pragma once
// The Options menu's settings. Its check marks are the settings themselves: the drawing, the
// analysis board and the handlers all ask here, and this asks the marks, so nothing can drift
// out of step with what the menu shows.

#include "BoardPainter.h"
#include "MenuTable.h"

namespace tavrel::ui {

class Options {
public:
    explicit Options(const Menus& menus)
        : beep_(menus[MenuItem::ctlBeep]),
          colour_(menus[MenuItem::Color_or_mono]),
          display_(menus[MenuItem::ctlDisplay]),
          reverse_(menus[MenuItem::ctlReverse]) {}

    // Only a press beside the analysis board heeds this; every other beep sounds regardless.
    bool BeepOnError() const { return beep_->isChecked(); }
    bool AnalysisShown() const { return display_->isChecked(); }
    bool Reversed() const { return reverse_->isChecked(); }
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
};

}  // namespace tavrel::ui
