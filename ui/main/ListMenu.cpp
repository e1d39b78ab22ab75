// "List of games...": the list window beside the main window, on the open file's index.

#include <algorithm>

#include "../common/EscapeCloses.h"
#include "../list/GameList.h"
#include "../score/GameScr.h"
#include "Skelda.h"
#include "session/SaveGames.h"

namespace tavrel::ui {

void Skelda::ctlListGames_Click() {
    if (scanning_ || !session_.IsOpen()) return;
    if (!list_) {
        list_ = new GameList(nullptr);
        list_->setWindowIcon(windowIcon());
        connect(list_, &GameList::GameChosen, this, &Skelda::ShowListedGame);
        connect(list_, &GameList::SaveRequested, this, &Skelda::SaveListedGames);
        list_->PlaceClearOf(frameGeometry().united(score_->frameGeometry()), screen());
        CloseOnEscape(*list_);
        PlaceTool(*list_, "list", Qt::BottomDockWidgetArea);
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
    if (!session_.HasGame(number)) return;
    const std::optional<int> reached = list_ ? list_->Model()->ReachedAt(number) : std::nullopt;
    if (number != CurrentGame()) ShowGame(number);
    // A game listed for reaching a position opens where it first stands there.
    if (reached && number == CurrentGame()) Slider1->setValue(std::clamp(*reached - 1, Slider1->minimum(), Slider1->maximum()));
}

void Skelda::ListGamesReaching(const std::vector<std::pair<std::int64_t, int>>& games) {
    ctlListGames_Click();
    if (list_) list_->ShowOnly(games);
}

void Skelda::SaveListedGames() {
    if (!list_ || !session_.IsOpen()) return;
    const QString target = dialogs_.SaveFileName(list_, "Save games as", "PGN Files (*.pgn)");
    if (target.isEmpty()) return;
    if (const auto why = session::SaveGames(session_.Source(), list_->ShownGames(), target.toStdString())) {
        dialogs_.Message(list_, "Save games as", "The games were not saved: " + QString::fromStdString(*why) + ".");
    }
}

}  // namespace tavrel::ui
