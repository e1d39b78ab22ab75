#include "AnalysisEditor.h"

namespace tavrel::ui {

AnalysisEditor::AnalysisEditor(ClientArea& area, Board& board, const BoardGeometry& place,
                               const PiecePictures& pictures, const Options& options, UserDialogs& dialogs,
                               const Menus& menus)
    : QObject(&area),
      area_(area),
      board_(board),
      place_(place),
      pictures_(pictures),
      options_(options),
      dialogs_(dialogs),
      popup_(menus[MenuName::mnuPopup]),
      white_(menus[MenuItem::ctlWhite]),
      black_(menus[MenuItem::ctlBlack]) {
    for (int index = 0; index < 6; ++index) {
        connect(menus[PieceItem(index)], &QAction::triggered, this, [this, index] { ctlPiece_Click(index); });
    }
    connect(white_, &QAction::triggered, this, &AnalysisEditor::ctlWhite_Click);
    connect(black_, &QAction::triggered, this, &AnalysisEditor::ctlBlack_Click);
    connect(menus[MenuItem::ctlClear], &QAction::triggered, this, &AnalysisEditor::ctlClear_Click);
    connect(menus[MenuItem::ctlClearAll], &QAction::triggered, this, &AnalysisEditor::ctlClearAll_Click);
}

// A dotted box just outside the square picture at (x, y), on the lines between squares (as many
// boxes as the lines are wide): drawn white to mark the square picked up from, black to put the
// lines back.
void AnalysisEditor::FrameSquare(int x, int y, QRgb color) {
    QImage& canvas = area_.Canvas();
    const auto dot = [&](int px, int py) {
        if ((px + py) % 2 == 0 && canvas.rect().contains(px, py)) canvas.setPixel(px, py, color);
    };
    for (int k = 1; k <= place_.line; ++k) {
        const QRect box(QPoint(x - k, y - k), QPoint(x + place_.Square() - 1 + k, y + place_.Square() - 1 + k));
        for (int px = box.left(); px <= box.right(); ++px) {
            dot(px, box.top());
            dot(px, box.bottom());
        }
        for (int py = box.top(); py <= box.bottom(); ++py) {
            dot(box.left(), py);
            dot(box.right(), py);
        }
    }
}

Square AnalysisEditor::Element(int row, int col) const {
    return BoardSquareOf(ScreenSquare{row, col}, options_.View());
}

// Sets the square being drawn, its pixels included.
void AnalysisEditor::MoveTo(int row, int col) {
    const QPoint at = ScreenSquarePixel(place_, ScreenSquare{row, col});
    drag_.SquareX = at.x();
    drag_.SquareY = at.y();
}

void AnalysisEditor::DrawEmptySquare(int row, int col) {
    // A screen square has the colour of the element it shows in either orientation.
    PaintEmptySquare(area_.Canvas(), QPoint(drag_.SquareX, drag_.SquareY), IsLightSquare(row, col),
                     options_.ColorSquares(), pictures_);
}

void AnalysisEditor::Form_MouseDown(Qt::MouseButton button, QPoint at) {
    if (!options_.AnalysisShown() || drag_.Dragging) return;
    const std::optional<ScreenSquare> square = ScreenSquareAt(place_, at);
    if (!square) {
        if (options_.BeepOnError()) dialogs_.Beep();
        return;
    }
    drag_.PressRow = square->row;
    drag_.PressCol = square->col;
    MoveTo(square->row, square->col);
    if (button == Qt::RightButton) {
        popup_->popup(area_.mapToGlobal(at));
        return;
    }
    drag_.DragPiece = board_[Element(square->row, square->col)];
    if (drag_.DragPiece == 0) return;
    drag_.DragPicture = std::abs(drag_.DragPiece) - 1;
    piecePointer_ = PiecePointer(pictures_, drag_.DragPiece, area_.PixelRatio());
    area_.setCursor(piecePointer_);
    drag_.Dragging = true;
    FrameSquare(drag_.SquareX, drag_.SquareY, 0xFFFFFFFF);
    DrawEmptySquare(square->row, square->col);
    area_.update();
}

void AnalysisEditor::Form_MouseMove(QPoint at) {
    if (!drag_.Dragging) return;
    if (ScreenSquareAt(place_, at)) {
        area_.setCursor(piecePointer_);
    } else {
        area_.setCursor(Qt::ForbiddenCursor);
    }
}

void AnalysisEditor::Form_MouseUp(Qt::MouseButton, QPoint at) {
    if (!drag_.Dragging) return;
    FrameSquare(drag_.SquareX, drag_.SquareY, 0xFF000000);
    const std::optional<ScreenSquare> square = ScreenSquareAt(place_, at);
    drag_.DropRow = square ? square->row : drag_.PressRow;  // off the board the piece goes back
    drag_.DropCol = square ? square->col : drag_.PressCol;
    MoveTo(drag_.DropRow, drag_.DropCol);
    DrawEmptySquare(drag_.DropRow, drag_.DropCol);
    PaintPiece(area_.Canvas(), QPoint(drag_.SquareX, drag_.SquareY), drag_.DragPiece, pictures_);
    if (drag_.DropRow != drag_.PressRow || drag_.DropCol != drag_.PressCol) {
        const Square from = Element(drag_.PressRow, drag_.PressCol);
        board_[Element(drag_.DropRow, drag_.DropCol)] = board_[from];  // whatever stood there goes
        board_[from] = 0;
    }
    area_.unsetCursor();
    area_.update();
    drag_.Dragging = false;
    if (drag_.DropRow != drag_.PressRow || drag_.DropCol != drag_.PressCol) emit BoardEdited();
}

void AnalysisEditor::EndDrag() {
    if (!drag_.Dragging) return;
    const QPoint press = ScreenSquarePixel(place_, ScreenSquare{drag_.PressRow, drag_.PressCol});
    Form_MouseUp(Qt::NoButton, press);
}

void AnalysisEditor::ctlPiece_Click(int index) {
    if (drag_.PressRow == 0 || index < 0 || index > 5) return;
    // Exactly one colour is checked at any time (see ctlWhite_Click), so the code always has a sign.
    const int code = (black_->isChecked() ? -1 : 1) * (index + 1);
    DrawEmptySquare(drag_.PressRow, drag_.PressCol);
    PaintPiece(area_.Canvas(), QPoint(drag_.SquareX, drag_.SquareY), code, pictures_);
    board_[Element(drag_.PressRow, drag_.PressCol)] = static_cast<int16_t>(code);
    area_.update();
    emit BoardEdited();
}

// Either colour item switches to the other colour, also when it was the checked one already.
// A click has already toggled the chosen item's own mark, so each handler sets the other item
// from its old mark and its own from that: exactly one stays checked, however it is called.
void AnalysisEditor::ctlWhite_Click() {
    black_->setChecked(!black_->isChecked());
    white_->setChecked(!black_->isChecked());
}

void AnalysisEditor::ctlBlack_Click() {
    white_->setChecked(!white_->isChecked());
    black_->setChecked(!white_->isChecked());
}

void AnalysisEditor::ctlClear_Click() {
    if (drag_.PressRow == 0) return;
    board_[Element(drag_.PressRow, drag_.PressCol)] = 0;
    DrawEmptySquare(drag_.PressRow, drag_.PressCol);
    area_.update();
    emit BoardEdited();
}

void AnalysisEditor::ctlClearAll_Click() {
    if (!dialogs_.AskYesNo(&area_, "Clear the board?",
                           "This action will remove all pieces from the analysis board.  Do you really want to do that?")) {
        return;
    }
    for (int col = 1; col <= 8; ++col) {
        for (int row = 1; row <= 8; ++row) {
            board_(row, col) = 0;
            PaintEmptySquare(area_.Canvas(), ScreenSquarePixel(place_, ScreenSquare{row, col}),
                             IsLightSquare(row, col), options_.ColorSquares(), pictures_);
        }
    }
    area_.update();
    emit BoardEdited();
}

}  // namespace tavrel::ui
