// The board's size and what is drawn on and around it: coordinates and the last move.

#include <QScreen>

#include "../analysis/AnalysisEditor.h"
#include "../score/GameScr.h"
#include "DockLayout.h"
#include "Skelda.h"
#include "ui/board/PieceShapes.h"

namespace tavrel::ui {
namespace {

QFont Scaled(QFont font, double zoom) {
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * zoom);
    } else {
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * zoom)));
    }
    return font;
}

}  // namespace

void Skelda::SetBoardSize(int percent) {
    stored_.SetBoardSizePercent(percent);
    ShowAtSize(percent);
}

void Skelda::ShowAtSize(int percent) {
    analysis_->EndDrag();
    Rescale(percent);
    // The canvas is new: everything on it is painted again from the arrays.
    PaintBoardFrame(client_->Canvas(), scale_.GameBoard());
    if (options_.AnalysisShown()) PaintBoardFrame(client_->Canvas(), analysisBoard_);
    PaintBoards();
}

int Skelda::FittedPercent() const {
    const QSize room = docks_->BoardRoomSize();
    const int width = options_.AnalysisShown() ? kWideWidth : kNarrowWidth;
    return std::max(100, std::min(room.width() * 100 / width, room.height() * 100 / kClientHeight));
}

void Skelda::FitBoardToRoom() {
    if (docks_->On() && FittedPercent() != scale_.percent) ShowAtSize(FittedPercent());
}

void Skelda::Rescale(int percent) {
    for (std::size_t i = 0; i < kBoardSizes.size(); ++i) {
        menus_[SizeItem(static_cast<int>(i))]->setChecked(kBoardSizes[i] == percent);
    }
    scale_ = WindowScale{percent, devicePixelRatioF()};
    analysisBoard_ = scale_.AnalysisBoard();
    const BoardGeometry game = scale_.GameBoard();
    pictures_ = PiecePictures::Load(game.Square(), game.line);
    LayOut();
}

void Skelda::LayOut() {
    const int width = options_.AnalysisShown() ? kWideWidth : kNarrowWidth;
    client_->Rescale(QSize(scale_.Px(width), scale_.Px(kClientHeight)), scale_.Px(kWideWidth), scale_.pixelRatio);
    // In the single window only the board's own parts grow: the panes keep their text size.
    const bool single = docks_->On();
    setFont(single ? baseFont_ : Scaled(baseFont_, scale_.Zoom()));
    client_->setFont(Scaled(baseFont_, scale_.Zoom()));
    score_->SetZoom(single ? 1.0 : scale_.Zoom());
    Toolbar1->setGeometry(scale_.Place(0, 0, width, 28));
    Toolbar1->setIconSize(QSize(scale_.Px(16), scale_.Px(16)));
    // The arrows are drawn anew for any other size, as the pieces are.
    for (QAction* action : Toolbar1->actions()) {
        const QString key = action->objectName();
        const bool bars = key == "Fgame" || key == "Lgame", forward = key == "Ngame" || key == "Lgame";
        QImage arrow = scale_.CanvasScale() == 1
                           ? QImage(action->property(kDefaultIcon).toString())
                           : RenderToolbarArrow(bars, forward, static_cast<int>(std::lround(16 * scale_.CanvasScale())));
        arrow.setDevicePixelRatio(scale_.pixelRatio);
        action->setIcon(QIcon(QPixmap::fromImage(arrow)));
    }
    // The file name keeps its right margin as the window widens.
    txtFileName->setGeometry(scale_.Place(110, 3, width - 110 - (kNarrowWidth - 110 - 209), 19));
    Slider1->setGeometry(scale_.Place(298, 48, 26, 277));
    status_->setGeometry(scale_.Place(0, 341, 324, 18));
    // The single window's size is the user's; the board's least room is its default size.
    if (single) {
        centralWidget()->setMinimumSize(width, kClientHeight);
        PlaceResetButton();
        return;
    }
    adjustSize();
    PlaceResetButton();
    // A window grown past the screen's edge comes back onto it, as far as it fits.
    if (const QScreen* shownOn = screen(); shownOn && isVisible()) {
        const QRect room = shownOn->availableGeometry();
        const QRect frame = frameGeometry();
        const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
        const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
        if (x != frame.left() || y != frame.top()) move(pos() + QPoint(x - frame.left(), y - frame.top()));
    }
}

void Skelda::PaintBoards() {
    analysis_->EndDrag();
    const GameState& game = Game();
    const BoardView view = options_.View();
    PaintBoard(client_->Canvas(), scale_.GameBoard(), game.GameBoard, view, pictures_, HighlightedMove());
    PaintCoordinates(client_->Canvas(), scale_.GameBoard(), view, options_.CoordinatesShown());
    if (options_.AnalysisShown()) PaintBoard(client_->Canvas(), analysisBoard_, game.AnalysisBoard, view, pictures_);
    client_->update();
    Toolbar1->update();
}

Move Skelda::HighlightedMove() const {
    const GameState& game = Game();
    if (!options_.LastMoveShown() || CurrentGame() == 0 || !game.StartProblem.empty()) return {};
    // The half-move the board shows last: past one that cannot be played, the one before it.
    int v = game.LastSliderValue;
    if (game.Unplayable) v = std::min(v, *game.Unplayable - 1);
    if (v < 0 || v <= Slider1->minimum()) return {};
    const int halfMove = v + (game.BlackStarts() ? 1 : 0);
    return game.Moves.ResolvedSquares(halfMove % 2 == 1 ? Black : White, halfMove / 2 + 1);
}

void Skelda::ctlCoordinates_Click() {
    stored_.SetShowCoordinates(options_.CoordinatesShown());
    PaintBoards();
}

void Skelda::ctlLastMove_Click() {
    stored_.SetHighlightLastMove(options_.LastMoveShown());
    PaintBoards();
}

void Skelda::WheelOnBoard(int notches, QPoint at) {
    if (!Slider1->isEnabled() || !ScreenSquareAt(scale_.GameBoard(), at)) return;
    // A turn away from the user goes back, as a page scrolls up.
    Slider1->setValue(Slider1->value() - notches);
}

}  // namespace tavrel::ui
