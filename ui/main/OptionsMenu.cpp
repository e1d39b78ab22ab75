// The Options menu and the analysis board's reset button. Each option handler runs after the
// click has turned its mark over, and applies the mark as it now stands.

#include "../analysis/AnalysisEditor.h"
#include "Skelda.h"
#include "WindowWidth.h"

namespace tavrel::ui {

// The mark is all there is to it: a press beside the analysis board reads it.
void Skelda::ctlBeep_Click() {}

// Both boards in the other scheme; the redraw also puts the game position on the analysis board.
void Skelda::Color_or_mono_Click() { DrawBoard(); }

void Skelda::ctlReverse_Click() { DrawBoard(); }

void Skelda::ctlDisplay_Click() {
    if (options_.AnalysisShown()) {
        SetClientWidth(kWideWidth);
        PaintBoardFrame(client_->Canvas(), kAnalysisBoardOrigin);
    } else {
        // The board stays drawn beyond the narrowed window, out of sight.
        SetClientWidth(kNarrowWidth);
    }
    DrawBoard();
}

void Skelda::SetClientWidth(int width) {
    client_->setFixedWidth(width);
    Toolbar1->resize(width, Toolbar1->height());
    txtFileName->resize(width - txtFileName->x() - (kNarrowWidth - 110 - 209), txtFileName->height());
    adjustSize();
}

void Skelda::btnReset_Click() {
    DrawBoard();
    Slider1->setFocus();
}

}  // namespace tavrel::ui
