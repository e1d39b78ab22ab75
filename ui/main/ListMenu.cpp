// "List of games...": the list window beside the main window, on the open file's index.

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "../list/GameList.h"
#include "../score/GameScr.h"
#include "Skelda.h"

namespace tavrel::ui {

void Skelda::ctlListGames_Click() {
    if (scanning_ || !source_.IsOpen()) return;
    if (!list_) {
        list_ = new GameList(nullptr);
        list_->setWindowIcon(windowIcon());
        connect(list_, &GameList::GameChosen, this, &Skelda::ShowListedGame);
        PlaceList();
    }
    if (listStale_) {
        list_->Load(source_.Path(), source_.Index().GameOffsets);
        listStale_ = false;
    }
    list_->SelectGame(currentGame_);
    list_->show();
    list_->raise();
    list_->activateWindow();
}

void Skelda::ShowListedGame(std::int64_t number) {
    if (scanning_ || !menus_[MenuItem::ctlGoToGame]->isEnabled()) return;
    if (number < 1 || number > GameCount() || number == currentGame_) return;
    ShowGame(number);
}

// Across the screen, above or below the main window and the game score, where there is more
// room: both stay in view.
void Skelda::PlaceList() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry().united(score_->frameGeometry());
    const int above = frame.top() - area.top(), below = area.bottom() - frame.bottom();
    constexpr int kGap = 8, kTitle = 30, kLeast = 300;
    const int height = std::max(kLeast, std::max(above, below) - kGap - kTitle);
    const int top = below >= above ? std::min(frame.bottom() + kGap, area.bottom() - height - kTitle)
                                   : std::max(area.top(), frame.top() - kGap - height - kTitle);
    const int width = std::min(area.width() - 40, 1000);
    list_->setGeometry(area.left() + (area.width() - width) / 2, top + kTitle, width, height);
}

}  // namespace tavrel::ui
