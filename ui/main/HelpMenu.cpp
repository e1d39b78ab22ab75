// The Help menu: the two pages, the tutorial and the About box.

#include "../common/EscapeCloses.h"
#include "../common/FramedPlacement.h"
#include "../tutorial/TutBox.h"
#include "Links.h"
#include "Skelda.h"

namespace tavrel::ui {

void Skelda::OpenUrl(const QUrl& address) { dialogs_.OpenUrl(address); }

void Skelda::ctlHome_Click() { OpenUrl(HomePageAddress()); }

void Skelda::ctlUSCF_Click() { OpenUrl(UscfAddress()); }

// The tutorial is modeless: the main window stays usable beside it. Closing it unloads it, so
// the next use loads it afresh, centred and empty.
void Skelda::ctlPieceMove_Click() {
    if (!tutorial_) {
        // The tutorial keeps its own layout, whatever the board size.
        tutorial_ = new TutBox(defaultPictures_);
        tutorial_->setAttribute(Qt::WA_DeleteOnClose);
        tutorial_->setWindowIcon(windowIcon());
        tutorial_->Form_Load(this);
        // Centred on the main window's screen, beside the other windows where there is room.
        const QPoint centred = tutorial_->pos();
        PlaceByFrame(*tutorial_, [centred](const QRect&, const QSize&) { return centred; }, this);
        CloseOnEscape(*tutorial_);
    }
    tutorial_->show();
    tutorial_->raise();
    tutorial_->activateWindow();
}

void Skelda::ctlAbout_Click() {
    dialogs_.About(this, "Tavrel", "This chess program was written by:\nthe Tavrel developers",
                   PieceCutOut(defaultPictures_, -Piece::Pawn));
}

}  // namespace tavrel::ui
