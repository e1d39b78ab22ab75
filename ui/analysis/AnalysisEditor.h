#pragma once
// The analysis board beside the game board: pieces picked up, carried and put down with the
// mouse, and placed or cleared from the pop-up menu, freely and without chess rules. It paints
// single squares on the window's canvas and edits the analysis board array; full redraws, which
// put the game position back, are the window's.

#include <QObject>

#include "core/Board.h"
#include "ui/board/BoardPainter.h"
#include "ui/main/ClientArea.h"
#include "ui/main/MenuTable.h"
#include "ui/main/Options.h"
#include "ui/board/PiecePictures.h"
#include "ui/main/UserDialogs.h"

namespace tavrel::ui {

// Where the mouse is in a drag, in screen squares and pixels of the analysis board.
struct DragState {
    int PressRow = 0;  // the square last pressed on the board; the pop-up menu acts on it
    int PressCol = 0;
    int DropRow = 0;
    int DropCol = 0;
    int DragPiece = 0;    // the code picked up
    int DragPicture = 0;  // its picture index, |DragPiece| - 1
    bool Dragging = false;
    int SquareX = 0;  // left-top pixel of the square last drawn
    int SquareY = 0;
};

class AnalysisEditor : public QObject {
    Q_OBJECT
public:
    // `place` is where the board lies on the canvas; the window keeps it current as the board
    // size changes.
    AnalysisEditor(ClientArea& area, Board& board, const BoardGeometry& place, const PiecePictures& pictures,
                   const Options& options, UserDialogs& dialogs, const Menus& menus);

    // Presses, moves and releases on the canvas, in canvas pixels.
    void Form_MouseDown(Qt::MouseButton button, QPoint at);
    void Form_MouseMove(QPoint at);
    void Form_MouseUp(Qt::MouseButton button, QPoint at);

    // The pop-up menu's commands; they act on the square of the last press.
    void ctlPiece_Click(int index);
    void ctlWhite_Click();
    void ctlBlack_Click();
    void ctlClear_Click();
    void ctlClearAll_Click();

    // Puts a carried piece back on its square and the arrow back, as if it had been dropped
    // where it was picked up. The window calls it before anything that redraws the boards.
    void EndDrag();

    const DragState& Drag() const { return drag_; }

signals:
    // The board array changed: a piece moved, placed or cleared.
    void BoardEdited();

private:
    Square Element(int row, int col) const;  // through the orientation
    void DrawEmptySquare(int row, int col);
    void FrameSquare(int x, int y, QRgb color);
    void MoveTo(int row, int col);

    ClientArea& area_;
    Board& board_;
    const BoardGeometry& place_;
    const PiecePictures& pictures_;
    const Options& options_;
    UserDialogs& dialogs_;
    QMenu* popup_;
    QAction* white_;
    QAction* black_;
    DragState drag_;
    QCursor piecePointer_;  // made once per pick-up, not on every move
};

}  // namespace tavrel::ui
