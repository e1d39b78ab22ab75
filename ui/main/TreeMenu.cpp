// "Opening tree": the tree window beside the main window, following the position of interest
// (the game board's, or the analysis board's after a move played from the tree).

#include "../analysis/AnalysisEditor.h"
#include "../common/EscapeCloses.h"
#include "../tree/OpeningTree.h"
#include "ui/board/BoardPainter.h"
#include "Skelda.h"
#include "core/LineReplay.h"

namespace tavrel::ui {

void Skelda::ctlOpeningTree_Click() {
    if (scanning_ || !session_.IsOpen()) return;
    if (!tree_) {
        tree_ = new OpeningTree(nullptr);
        tree_->setWindowIcon(windowIcon());
        connect(tree_, &OpeningTree::MovePlayed, this, &Skelda::ShowTreeMove);
        connect(tree_, &OpeningTree::GamesReaching, this, &Skelda::ListGamesReaching);
        connect(analysis_, &AnalysisEditor::BoardEdited, this, &Skelda::FollowInTree);
        const QRect frame = frameGeometry();
        tree_->move(frame.left(), frame.bottom() + 8);
        CloseOnEscape(*tree_);
        PlaceTool(*tree_, "tree", Qt::BottomDockWidgetArea);
    }
    tree_->show();
    tree_->raise();
    FollowInTree();
}

void Skelda::FollowInTree() {
    if (!tree_ || !tree_->isVisible() || !session_.IsOpen()) return;
    if (treeStale_) {
        tree_->Load(session_.Source().File().Ref(), session_.Index(), session_.Source().Watched());
        treeStale_ = false;
    }
    // The analysis board's position while it is shown; a board edited into no position at all
    // (two white kings) leaves the tree where it was.
    const FenResult fen = ParseFen(options_.AnalysisShown() ? AnalysisFen() : GameFen(session_.Game(), session_.Game().LastSliderValue));
    if (fen.setUp) tree_->Follow(*fen.setUp);
}

void Skelda::ShowTreeMove(const FenSetUp& after) {
    // Showing the board redraws both from the game: the move is painted after that.
    if (!options_.AnalysisShown()) menus_[MenuItem::ctlDisplay]->trigger();
    analysis_->EndDrag();
    session_.Game().AnalysisBoard = after.position.GameBoard;
    // The board now stands a half-move further on, with the other side to move: the engine, the
    // FEN copy and the tree take side, castling and en passant from here.
    analysisFrom_ = {after.position, after.side, after.opponentLast, 0};
    ++analysisPly_;
    PaintBoard(client_->Canvas(), scale_.AnalysisBoard(), session_.Game().AnalysisBoard, options_.View(), pictures_);
    client_->update();
    HandPositionToEngine();
}

}  // namespace tavrel::ui
