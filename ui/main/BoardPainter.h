#pragma once
// Painting a board array onto the window's canvas from the piece pictures.

#include <QImage>
#include <QPoint>

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

constexpr QPoint kGameBoardOrigin{25, 53};
constexpr QPoint kAnalysisBoardOrigin{332, 53};
constexpr int kSquarePitch = 33;

// The left-top pixel of the screen square showing board square (row, col).
QPoint SquarePixel(QPoint origin, const BoardView& view, int row, int col);

// 64 squares on a 33-pixel pitch at `origin`: the swatch copied, then the mask ORed and the
// piece ANDed, so the piece lands on its square without a background of its own.
void PaintBoard(QImage& canvas, QPoint origin, const Board& board, const BoardView& view,
                const PiecePictures& pictures);

// The black frame around the game board, drawn once at start.
void PaintGameBoardFrame(QImage& canvas, QPoint frame);

}  // namespace tavrel::ui
