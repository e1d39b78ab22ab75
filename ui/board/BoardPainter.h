#pragma once
// Painting a board array onto the window's canvas from the piece pictures, and the one rule that
// ties a screen square to its pixels and to its array element, at any board size.

#include <QImage>
#include <QPoint>
#include <optional>

#include "PiecePictures.h"
#include "core/Board.h"

namespace tavrel::ui {

// How the board is shown: the colour scheme and the orientation. Normal is row 1 (rank 8) at the
// top and column 1 (file a) at the left; the reversed board starts at 8, 8 and steps back.
struct BoardView {
    int ColorSquares = 0;
    int ViewStartRow = 1;
    int ViewStartCol = 1;
    int ViewStep = 1;
};

// A square as the screen shows it, 1 to 8 each way: row 1 at the top, column 1 at the left,
// whatever the orientation.
struct ScreenSquare {
    int row = 0;
    int col = 0;
    bool operator==(const ScreenSquare&) const = default;
};

// The default size: 32-pixel squares on a 33-pixel pitch, a one-pixel ground line between them.
constexpr QPoint kGameBoardOrigin{25, 53};
constexpr QPoint kAnalysisBoardOrigin{332, 53};
constexpr int kSquarePitch = 33;
constexpr int kBoardSpan = 8 * kSquarePitch;  // 264: the black ground the squares are laid on

// Where a board lies on the canvas, in canvas pixels: the left-top of its black ground, the
// pitch from square to square and the ground line between squares (which is also the width of
// the frame's lines). A bare origin is a board of the default size there.
struct BoardGeometry {
    BoardGeometry(QPoint at = {}, int squarePitch = kSquarePitch, int lineWidth = 1)  // NOLINT: a place is a default-size board
        : origin(at), pitch(squarePitch), line(lineWidth) {}
    // The board that stands at `baseOrigin` at the default size, `scale` times as large.
    static BoardGeometry Scaled(QPoint baseOrigin, double scale);

    [[nodiscard]] int Square() const { return pitch - line; }  // a square picture's width
    [[nodiscard]] int Span() const { return 8 * pitch; }
    bool operator==(const BoardGeometry&) const = default;

    QPoint origin;
    int pitch;
    int line;
};

// The left-top pixel of a screen square's picture: one ground line into its cell, so the ground
// shows as a line between neighbours.
QPoint ScreenSquarePixel(const BoardGeometry& board, ScreenSquare square);
// The inverse: the screen square whose cell holds `point`, or nothing off the board (the board
// runs from the origin to Span() - 1 pixels right and down of it).
std::optional<ScreenSquare> ScreenSquareAt(const BoardGeometry& board, QPoint point);
// The array element a screen square shows, and back: the same either way, as the reversed
// board is the normal one turned half round.
Square BoardSquareOf(ScreenSquare square, const BoardView& view);
ScreenSquare ScreenSquareOf(Square square, const BoardView& view);
// The left-top pixel of the screen square showing board square (row, col).
QPoint SquarePixel(const BoardGeometry& board, const BoardView& view, int row, int col);
// The colour belongs to the square, not the screen place: a8 is light both ways, and a screen
// square has the colour of the element it shows.
constexpr bool IsLightSquare(int row, int col) { return (row + col) % 2 == 0; }

// 64 squares at `board`: the swatch copied, then the mask ORed and the piece ANDed, so the piece
// lands on its square without a background of its own. The squares of `lastMove` (none when it
// is Move{}) are tinted under their pieces.
void PaintBoard(QImage& canvas, const BoardGeometry& board, const Board& squares, const BoardView& view,
                const PiecePictures& pictures, Move lastMove = {});
// One square's swatch at `at`, wiping whatever piece was drawn there.
void PaintEmptySquare(QImage& canvas, QPoint at, bool light, int colorSquares, const PiecePictures& pictures);
// A piece (code signed by side, not 0) over the square already drawn at `at`.
void PaintPiece(QImage& canvas, QPoint at, int code, const PiecePictures& pictures);

// The double black frame with mitred corners around a board, and the black ground under its
// squares.
void PaintBoardFrame(QImage& canvas, const BoardGeometry& board);
// Files a-h under the board and ranks 1-8 left of it, as the orientation puts them; with `show`
// false the margins are blank (the background) again.
void PaintCoordinates(QImage& canvas, const BoardGeometry& board, const BoardView& view, bool show);

}  // namespace tavrel::ui
