#pragma once
// An arrow from one square's centre to another's, over the pieces of a board on the canvas.

#include <QPainter>

#include "core/Board.h"
#include "ui/board/BoardPainter.h"

namespace tavrel::ui {

void PaintMoveArrow(QPainter& painter, const BoardGeometry& board, const BoardView& view, Move move);

}  // namespace tavrel::ui
