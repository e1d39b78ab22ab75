// The Options menu and the analysis board's reset button. Each option handler runs after the
// click has turned its mark over, and applies the mark as it now stands.

#include <QScreen>
#include <algorithm>

#include "../analysis/AnalysisEditor.h"
#include "DockLayout.h"
#include "Skelda.h"
#include "WindowWidth.h"

namespace tavrel::ui {

// The mark is all there is to it: a press beside the analysis board reads it.
void Skelda::ctlBeep_Click() {}

// Both boards in the other scheme; the redraw also puts the game position on the analysis board.
void Skelda::Color_or_mono_Click() { DrawBoard(); }

void Skelda::ctlReverse_Click() { DrawBoard(); }

void Skelda::ctlDisplay_Click() {
    // The single window keeps its size: the two boards are drawn as large as its middle allows.
    if (docks_->On()) {
        ShowAtSize(FittedPercent());
        DrawBoard();
        return;
    }
    // The window grows to the left as far as the screen allows, so that the game score beside it
    // stays in view; narrowing gives the room back.
    if (options_.AnalysisShown()) {
        const QScreen* shownOn = screen();
        const int room = shownOn ? x() - shownOn->availableGeometry().left() : 0;
        shiftedLeft_ = std::clamp(room, 0, scale_.Px(kWideWidth) - scale_.Px(kNarrowWidth));
        // The place is taken before the resize: a window manager may shift a window it resizes,
        // and the move must not add to that.
        const QPoint place(x() - shiftedLeft_, y());
        SetClientWidth(kWideWidth);
        move(place);
        PaintBoardFrame(client_->Canvas(), analysisBoard_);
    } else {
        // The board stays drawn beyond the narrowed window, out of sight.
        const QPoint place(x() + shiftedLeft_, y());
        SetClientWidth(kNarrowWidth);
        move(place);
        shiftedLeft_ = 0;
    }
    DrawBoard();
}

// `width` at the default size.
void Skelda::SetClientWidth(int width) {
    client_->setFixedWidth(scale_.Px(width));
    Toolbar1->resize(scale_.Px(width), Toolbar1->height());
    txtFileName->resize(scale_.Px(width - 110 - (kNarrowWidth - 110 - 209)), txtFileName->height());
    adjustSize();
}

void Skelda::RememberMarks() {
    stored_.SetMarks({options_.BeepOnError(), options_.ColorSquares() == 0, options_.AnalysisShown(), options_.Reversed()});
}

void Skelda::btnReset_Click() {
    DrawBoard();
    Slider1->setFocus();
}

}  // namespace tavrel::ui
