// The Help menu: the two pages, the tutorial and the About box.

#include "Links.h"
#include "Skelda.h"

namespace tavrel::ui {

void Skelda::OpenUrl(const QUrl& address) { dialogs_.OpenUrl(address); }

void Skelda::ctlHome_Click() { OpenUrl(HomePageAddress()); }

void Skelda::ctlUSCF_Click() { OpenUrl(UscfAddress()); }

// The tutorial window is shown from here, without making it modal, once it exists.
void Skelda::ctlPieceMove_Click() {}

void Skelda::ctlAbout_Click() {
    dialogs_.About(this, "Tavrel", "This chess program was written by:\nthe Tavrel developers",
                   PieceCutOut(pictures_, -Piece::Pawn));
}

}  // namespace tavrel::ui
