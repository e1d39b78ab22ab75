#include "BoardPainter.h"

#include <QFont>
#include <QPainter>
#include <cmath>

namespace tavrel::ui {
namespace {

// The last move's squares: an orange wash that reads on the yellow and green squares and on the
// grey ones alike, and leaves the pieces as they are.
const QColor kLastMoveTint(255, 96, 0, 110);
const QColor kCanvasGround(192, 192, 192);

}  // namespace

BoardGeometry BoardGeometry::Scaled(QPoint baseOrigin, double scale) {
    const auto scaled = [scale](int base) { return static_cast<int>(std::lround(base * scale)); };
    // Whole pixels each way, so that every square is the same size; the ground line thickens
    // with the board.
    return {QPoint(scaled(baseOrigin.x()), scaled(baseOrigin.y())), scaled(kSquarePitch),
            std::max(1, static_cast<int>(std::lround(scale)))};
}

QPoint ScreenSquarePixel(const BoardGeometry& board, ScreenSquare square) {
    return {board.origin.x() + board.pitch * (square.col - 1) + board.line,
            board.origin.y() + board.pitch * (square.row - 1) + board.line};
}

std::optional<ScreenSquare> ScreenSquareAt(const BoardGeometry& board, QPoint point) {
    const QPoint offset = point - board.origin;
    if (offset.x() < 0 || offset.y() < 0 || offset.x() >= board.Span() || offset.y() >= board.Span()) {
        return std::nullopt;
    }
    return ScreenSquare{offset.y() / board.pitch + 1, offset.x() / board.pitch + 1};
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

QPoint SquarePixel(const BoardGeometry& board, const BoardView& view, int row, int col) {
    return ScreenSquarePixel(board, ScreenSquareOf(Square{static_cast<int16_t>(row), static_cast<int16_t>(col)}, view));
}

void PaintEmptySquare(QImage& canvas, QPoint at, bool light, int colorSquares, const PiecePictures& pictures) {
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(at, light ? pictures.Lsquare[colorSquares] : pictures.Dsquare[colorSquares]);
}

void PaintPiece(QImage& canvas, QPoint at, int code, const PiecePictures& pictures) {
    if (code == 0 || code > 6 || code < -6) return;
    const int p = (code < 0 ? -code : code) - 1;
    // The picture from one ground line in: aligned with the square.
    const int inset = pictures.Inset;
    const QRect source(inset, inset, pictures.Size() - inset, pictures.Size() - inset);
    const QPoint piece = at + QPoint(inset, inset);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(piece, pictures.PMask[p], source);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(piece, code > 0 ? pictures.WPiece[p] : pictures.BPiece[p], source);
}

void PaintBoard(QImage& canvas, const BoardGeometry& board, const Board& squares, const BoardView& view,
                const PiecePictures& pictures, Move lastMove) {
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const ScreenSquare screen{row, col};
            const Square square = BoardSquareOf(screen, view);
            const QPoint at = ScreenSquarePixel(board, screen);
            PaintEmptySquare(canvas, at, IsLightSquare(square.row, square.col), view.ColorSquares, pictures);
            if (!lastMove.IsNone() && (square == lastMove.from || square == lastMove.to)) {
                QPainter(&canvas).fillRect(QRect(at, QSize(pictures.Size(), pictures.Size())), kLastMoveTint);
            }
            PaintPiece(canvas, at, squares[square], pictures);
        }
    }
}

void PaintBoardFrame(QImage& canvas, const BoardGeometry& board) {
    QPainter painter(&canvas);
    const int u = board.line, f = board.origin.x(), t = board.origin.y(), span = board.Span();
    // A box of u-wide lines whose outer edges are the pixels from `from` to `to`, each way.
    const auto box = [&](int from, int to) {
        const int length = to - from + 1;
        painter.fillRect(f + from, t + from, length, u, Qt::black);
        painter.fillRect(f + from, t + to - u + 1, length, u, Qt::black);
        painter.fillRect(f + from, t + from, u, length, Qt::black);
        painter.fillRect(f + to - u + 1, t + from, u, length, Qt::black);
    };
    // Outwards from the ground: a gap, the inner line, a gap, the outer line, each a line wide.
    box(-2 * u, span + 3 * u - 1);
    box(-4 * u, span + 5 * u - 1);
    // The mitres, from each outer corner to the ground's corner, a line wide.
    painter.setPen(QPen(Qt::black, 0));
    const int far = span + 5 * u - 1, near = span + u - 1;
    for (int k = 0; k < u; ++k) {
        painter.drawLine(f - 4 * u + k, t - 4 * u, f + k, t);
        painter.drawLine(f - 4 * u + k, t + far, f + k, t + near);
        painter.drawLine(f + far - k, t - 4 * u, f + near - k, t);
        painter.drawLine(f + far - k, t + far, f + near - k, t + near);
    }
    painter.fillRect(QRect(f, t, span + u, span + u), Qt::black);
}

void PaintCoordinates(QImage& canvas, const BoardGeometry& board, const BoardView& view, bool show) {
    const int u = board.line, f = board.origin.x(), t = board.origin.y(), span = board.Span();
    // Left of the frame, and under it as deep as the default layout leaves room (19 of 33).
    const QRect left(0, t, std::max(0, f - 4 * u), span);
    const QRect below(f - 4 * u, t + span + 5 * u, span + 9 * u, board.pitch * 19 / 33);
    QPainter painter(&canvas);
    painter.fillRect(left, kCanvasGround);
    painter.fillRect(below, kCanvasGround);
    if (!show) return;
    QFont font("Sans");
    font.setPixelSize(std::max(8, board.pitch / 3));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 1; i <= 8; ++i) {
        const Square rankOf = BoardSquareOf({i, 1}, view);  // row 1 is rank 8
        const Square fileOf = BoardSquareOf({1, i}, view);
        const int cell = board.pitch * (i - 1) + u;
        painter.drawText(QRect(left.x(), t + cell, left.width(), board.Square()), Qt::AlignCenter,
                         QString(QChar('0' + 9 - rankOf.row)));
        painter.drawText(QRect(f + cell, below.y(), board.Square(), below.height()), Qt::AlignCenter,
                         QString(QChar('a' + fileOf.col - 1)));
    }
}

}  // namespace tavrel::ui
