#include "BoardPainter.h"

#include <QPainter>

namespace tavrel::ui {

QPoint SquarePixel(QPoint origin, const BoardView& view, int row, int col) {
    // Screen column i shows board column ViewStartCol + i * ViewStep, and likewise for rows.
    const int i = (col - view.ViewStartCol) * view.ViewStep;
    const int k = (row - view.ViewStartRow) * view.ViewStep;
    return {origin.x() + kSquarePitch * i + 1, origin.y() + kSquarePitch * k + 1};
}

void PaintBoard(QImage& canvas, QPoint origin, const Board& board, const BoardView& view,
                const PiecePictures& pictures) {
    QPainter painter(&canvas);
    const QRect pieceSource(1, 1, 31, 31);  // the picture from (1, 1), aligned with the square
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const QPoint at = SquarePixel(origin, view, row, col);
            // The colour belongs to the square, not the screen place: a8 is light both ways.
            const bool light = (row % 2) == (col % 2);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(at, light ? pictures.Lsquare[view.ColorSquares] : pictures.Dsquare[view.ColorSquares]);
            const int code = board(row, col);
            if (code == 0 || code > 6 || code < -6) continue;
            const int p = (code < 0 ? -code : code) - 1;
            const QPoint piece = at + QPoint(1, 1);
            painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            painter.drawImage(piece, pictures.PMask[p], pieceSource);
            painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            painter.drawImage(piece, code > 0 ? pictures.WPiece[p] : pictures.BPiece[p], pieceSource);
        }
    }
}

void PaintGameBoardFrame(QImage& canvas, QPoint frame) {
    QPainter painter(&canvas);
    painter.setPen(QPen(Qt::black, 0));
    const int f = frame.x(), t = frame.y();
    const auto box = [&](int x1, int y1, int x2, int y2) { painter.drawRect(x1, y1, x2 - x1, y2 - y1); };
    box(23, 51, 291, 319);
    box(f - 4, t - 4, f + 268, t + 268);
    painter.drawLine(f - 4, t - 4, f, t);
    painter.drawLine(f - 4, t + 268, f, t + 264);
    painter.drawLine(f + 268, t - 4, f + 264, t);
    painter.drawLine(f + 268, t + 268, f + 264, t + 264);
    painter.fillRect(QRect(QPoint(f, t), QPoint(f + 264, t + 264)), Qt::black);
}

}  // namespace tavrel::ui
