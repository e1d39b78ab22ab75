#include "MoveArrow.h"

#include <QPainterPath>
#include <QtMath>

namespace tavrel::ui {

void PaintMoveArrow(QPainter& painter, const BoardGeometry& board, const BoardView& view, Move move) {
    if (move.IsNone()) return;
    const QPointF half(board.pitch / 2.0, board.pitch / 2.0);
    const QPointF from = SquarePixel(board, view, move.from.row, move.from.col) + half;
    const QPointF to = SquarePixel(board, view, move.to.row, move.to.col) + half;
    const QLineF line(from, to);
    const double length = line.length();
    if (length < 1) return;
    // A shaft and a head as one shape, so the translucent colour does not overlap itself.
    // Sized for the default board and grown with it.
    const double size = static_cast<double>(board.pitch) / kSquarePitch;
    const double shaft = 3.5 * size, head = 10 * size, headLength = 15 * size;
    const QPointF along = (to - from) / length, across(-along.y(), along.x());
    const QPointF neck = to - along * headLength;
    QPainterPath arrow;
    arrow.moveTo(from + across * shaft);
    arrow.lineTo(neck + across * shaft);
    arrow.lineTo(neck + across * head);
    arrow.lineTo(to);
    arrow.lineTo(neck - across * head);
    arrow.lineTo(neck - across * shaft);
    arrow.lineTo(from - across * shaft);
    arrow.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 60, 140, 200), size));
    painter.setBrush(QColor(30, 120, 230, 170));
    painter.drawPath(arrow);
    painter.restore();
}

}  // namespace tavrel::ui
