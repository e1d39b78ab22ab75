// The game text window as the main window wires it, and the Game menu's copies to the clipboard.

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>

#include "../analysis/AnalysisEditor.h"
#include "../gametext/GameText.h"
#include "Skelda.h"
#include "core/LineReplay.h"
#include "pgn/GameReader.h"
#include "pgn/Text.h"

namespace tavrel::ui {
namespace {

// A game larger than this is not put on the clipboard: no real game comes near it, and a damaged
// file of one endless game should not take the desktop's memory.
constexpr std::int64_t kMaxCopiedBytes = 16 * 1024 * 1024;

QString Shown(const std::string& bytes) {
    return QString::fromStdString(pgn::DisplayText(bytes.substr(0, 400))).simplified().left(100);
}

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
        // At the right edge of the screen, beside the game score.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            gameText_->move(std::max(area.left(), area.right() - gameText_->width() - 12), area.top() + 40);
        }
    }
    gameText_->show();
    gameText_->raise();
    RefreshGameText();
}

void Skelda::RefreshGameText() {
    if (!gameText_ || !gameText_->isVisible()) return;
    pgn::GameRecord record;
    pgn::AnnotatedGame text;
    if (currentGame_ > 0) {
        record = source_.ReadGame(currentGame_);
        text = source_.ReadAnnotatedGame(currentGame_);
    }
    // A set-up game is numbered as the score numbers it, from its FEN, whatever its movetext says.
    if (!record.Fen.empty()) {
        text.firstMoveNumber = record.firstMoveNumber;
        text.blackStarts = record.blackStarts;
    }
    gameText_->SetGame(std::move(text), Players(record));
    gameText_->ShowSliderValue(Slider1->value());
}

// The variation is replayed from the main line's position where it branches; the game board and
// the slider stay where they are.
void Skelda::ShowVariationMove(int item) {
    const pgn::AnnotatedGame& text = gameText_->Game();
    const pgn::AnnotatedGame::Path path = text.PathTo(item);
    const int branch = path.branch < 0 ? -1 : text.items[static_cast<std::size_t>(path.branch)].ply;
    std::vector<std::string> moves;
    for (int m : path.moves) moves.push_back(text.items[static_cast<std::size_t>(m)].text);
    const LinePosition reached = PlayLine(GamePositionAt(game_, branch), moves);
    if (!options_.AnalysisShown()) {
        menus_[MenuItem::ctlDisplay]->setChecked(true);
        ctlDisplay_Click();
    }
    analysis_->EndDrag();
    game_.AnalysisBoard.CopyPlayingSquaresFrom(reached.position.GameBoard);
    PaintBoard(client_->Canvas(), kAnalysisBoardOrigin, game_.AnalysisBoard, options_.View(), pictures_);
    client_->update();
    Toolbar1->update();
    gameText_->MarkVariationMove(item);
    // A move the position does not allow: the board shows where the line could be followed to.
    if (reached.played < static_cast<int>(moves.size())) dialogs_.Beep();
}

void Skelda::ctlCopyFen_Click() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(GameFen(game_, game_.LastSliderValue)));
}

void Skelda::ctlCopyPgn_Click() {
    const std::optional<std::string> bytes = source_.ReadBytes(currentGame_, kMaxCopiedBytes);
    if (!bytes) {
        dialogs_.Beep();
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(pgn::DisplayText(*bytes)).trimmed() + "\n");
}

}  // namespace tavrel::ui
