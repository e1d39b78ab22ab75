// "List of games...": the list window beside the main window, on the open file's index.

#include "../list/GameList.h"
#include "../score/GameScr.h"
#include "Skelda.h"

namespace tavrel::ui {

void Skelda::ctlListGames_Click() {
    if (scanning_ || !session_.IsOpen()) return;
    if (!list_) {
        list_ = new GameList(nullptr);
        list_->setWindowIcon(windowIcon());
        connect(list_, &GameList::GameChosen, this, &Skelda::ShowListedGame);
        list_->PlaceClearOf(frameGeometry().united(score_->frameGeometry()));
    }
    if (listStale_) {
        list_->Load(session_.Source().File().Ref(), session_.Index().GameOffsets);
        listStale_ = false;
    }
    list_->SelectGame(CurrentGame());
    list_->show();
    list_->raise();
    list_->activateWindow();
}

void Skelda::ShowListedGame(std::int64_t number) {
    if (scanning_ || !menus_[MenuItem::ctlGoToGame]->isEnabled()) return;
    if (!session_.HasGame(number) || number == CurrentGame()) return;
    ShowGame(number);
}

}  // namespace tavrel::ui
