#include "BoardPainter.h"

#include <QPainter>

namespace tavrel::ui {

QPoint ScreenSquarePixel(QPoint origin, ScreenSquare square) {
    return {origin.x() + kSquarePitch * (square.col - 1) + 1, origin.y() + kSquarePitch * (square.row - 1) + 1};
}

std::optional<ScreenSquare> ScreenSquareAt(QPoint origin, QPoint point) {
    const QPoint offset = point - origin;
    if (offset.x() < 0 || offset.y() < 0 || offset.x() >= kBoardSpan || offset.y() >= kBoardSpan) {
        return std::nullopt;
    }
    return ScreenSquare{offset.y() / kSquarePitch + 1, offset.x() / kSquarePitch + 1};
}

Square BoardSquareOf(ScreenSquare square, const BoardView& view) {
    // Screen column i (from 0) shows board column ViewStartCol + i * ViewStep, and likewise rows.
    return {static_cast<int16_t>(view.ViewStartRow + (square.row - 1) * view.ViewStep),
            static_cast<int16_t>(view.ViewStartCol + (square.col - 1) * view.ViewStep)};
}

ScreenSquare ScreenSquareOf(Square square, const BoardView& view) {
    const Square mapped = BoardSquareOf({square.row, square.col}, view);
    return {mapped.row, mapped.col};
}

QPoint SquarePixel(QPoint origin, const BoardView& view, int row, int col) {
    return ScreenSquarePixel(origin, ScreenSquareOf(Square{static_cast<int16_t>(row), static_cast<int16_t>(col)}, view));
}

void PaintEmptySquare(QImage& canvas, QPoint at, bool light, int colorSquares, const PiecePictures& pictures) {
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(at, light ? pictures.Lsquare[colorSquares] : pictures.Dsquare[colorSquares]);
}

void PaintPiece(QImage& canvas, QPoint at, int code, const PiecePictures& pictures) {
    if (code == 0 || code > 6 || code < -6) return;
    const int p = (code < 0 ? -code : code) - 1;
    const QRect source(1, 1, 31, 31);  // the picture from (1, 1), one pixel in: aligned with the square
    const QPoint piece = at + QPoint(1, 1);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(piece, pictures.PMask[p], source);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(piece, code > 0 ? pictures.WPiece[p] : pictures.BPiece[p], source);
}

void PaintBoard(QImage& canvas, QPoint origin, const Board& board, const BoardView& view,
                const PiecePictures& pictures) {
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const ScreenSquare screen{row, col};
            const Square square = BoardSquareOf(screen, view);
            const QPoint at = ScreenSquarePixel(origin, screen);
            PaintEmptySquare(canvas, at, IsLightSquare(square.row, square.col), view.ColorSquares, pictures);
            PaintPiece(canvas, at, board[square], pictures);
        }
    }
}

void PaintBoardFrame(QImage& canvas, QPoint origin) {
    QPainter painter(&canvas);
    painter.setPen(QPen(Qt::black, 0));
    const int f = origin.x(), t = origin.y();
    const auto box = [&](int x1, int y1, int x2, int y2) { painter.drawRect(x1, y1, x2 - x1, y2 - y1); };
    box(f - 2, t - 2, f + 266, t + 266);
    box(f - 4, t - 4, f + 268, t + 268);
    painter.drawLine(f - 4, t - 4, f, t);
    painter.drawLine(f - 4, t + 268, f, t + 264);
    painter.drawLine(f + 268, t - 4, f + 264, t);
    painter.drawLine(f + 268, t + 268, f + 264, t + 264);
    painter.fillRect(QRect(QPoint(f, t), QPoint(f + kBoardSpan, t + kBoardSpan)), Qt::black);
}

}  // namespace tavrel::ui
