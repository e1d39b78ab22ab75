// The game text window as the main window wires it, and the Game menu's copies to the clipboard.

#include <QClipboard>
#include <QGuiApplication>

#include "../analysis/AnalysisEditor.h"
#include "../common/EscapeCloses.h"
#include "../gametext/GameText.h"
#include "../header/GameHeader.h"
#include "Skelda.h"
#include "engine/AnalysedPosition.h"
#include "pgn/HeaderStore.h"
#include "pgn/Text.h"

namespace tavrel::ui {
namespace {

// A game larger than this is not put on the clipboard: no real game comes near it, and a damaged
// file of one endless game should not take the desktop's memory.
constexpr std::int64_t kMaxCopiedBytes = 16 * 1024 * 1024;

QString Shown(const std::string& bytes) { return QString::fromStdString(pgn::ShownTagText(bytes)); }

QString Players(const pgn::GameRecord& record) {
    if (record.WhitePlayer == "None" && record.BlackPlayer == "None") return {};
    return Shown(record.WhitePlayer) + " vs. " + Shown(record.BlackPlayer);
}

}  // namespace

void Skelda::ctlGameText_Click() {
    if (!gameText_) {
        gameText_ = new GameText(nullptr);
        gameText_->setWindowIcon(windowIcon());
        connect(gameText_, &GameText::MainLineMoveClicked, this,
                [this](int v) { Slider1->setValue(std::min(v, Slider1->maximum())); });
        connect(gameText_, &GameText::VariationMoveClicked, this, &Skelda::ShowVariationMove);
        gameText_->PlaceAtScreenEdge(screen());
        CloseOnEscape(*gameText_);
        PlaceTool(*gameText_, "gameText", Qt::RightDockWidgetArea);
    }
    gameText_->show();
    gameText_->raise();
    RefreshGameText();
}

void Skelda::RefreshGameText() {
    if (!gameText_ || !gameText_->isVisible()) return;
    gameText_->SetGame(session_.ReadAnnotated(), Players(session_.Record()), header_->OpeningText());
    gameText_->ShowSliderValue(Slider1->value());
}

// The variation is replayed from the main line's position where it branches; the game board and
// the slider stay where they are.
void Skelda::ShowVariationMove(int item) {
    const auto reached = session_.VariationPosition(gameText_->Game(), item);
    if (!options_.AnalysisShown()) {
        menus_[MenuItem::ctlDisplay]->setChecked(true);
        ctlDisplay_Click();
    }
    analysis_->EndDrag();
    Board& analysisBoard = session_.Game().AnalysisBoard;
    analysisBoard.CopyPlayingSquaresFrom(reached.at.position.GameBoard);
    PaintBoard(client_->Canvas(), scale_.AnalysisBoard(), analysisBoard, options_.View(), pictures_);
    client_->update();
    Toolbar1->update();
    gameText_->MarkVariationMove(item);
    // The engine reads side, castling and move number from where the line left the board.
    const pgn::AnnotatedGame& text = gameText_->Game();
    const pgn::AnnotatedGame::Path path = text.PathTo(item);
    const int branch = path.branch < 0 ? -1 : text.items[static_cast<std::size_t>(path.branch)].ply;
    analysisFrom_ = reached.at;
    analysisPly_ = branch + reached.at.played;
    HandPositionToEngine();
    FollowInTree();
    // A move the position does not allow: the board shows where the line could be followed to.
    if (!reached.whole) dialogs_.Beep();
}

// The analysis board's position while it is shown (it may have gone its own way from the game's),
// the game's otherwise.
void Skelda::ctlCopyFen_Click() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(options_.AnalysisShown() ? AnalysisFen() : session_.Fen()));
}

std::string Skelda::AnalysisFen() const {
    return FenText(engine::EditedPosition(Game().AnalysisBoard, analysisFrom_), 0, engine::NextMoveNumber(Game(), analysisPly_));
}

void Skelda::ctlCopyPgn_Click() {
    const std::optional<std::string> bytes = session_.GameBytes(kMaxCopiedBytes);
    if (!bytes) {
        dialogs_.Beep();
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(pgn::DisplayText(*bytes)).trimmed() + "\n");
}

}  // namespace tavrel::ui
