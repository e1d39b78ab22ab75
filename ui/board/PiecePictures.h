#pragma once
// The pictures the board is composed from: square swatches, pieces on white, and masks, all one
// square's size.

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <array>

namespace tavrel::ui {

struct PiecePictures {
    // Indexed by the absolute piece code minus 1: pawn, king, queen, bishop, knight, rook.
    std::array<QImage, 6> WPiece;
    std::array<QImage, 6> BPiece;
    std::array<QImage, 6> PMask;
    // Indexed by the colour scheme: 0 colour, 1 monochrome.
    std::array<QImage, 2> Lsquare;
    std::array<QImage, 2> Dsquare;
    // How far in from the picture's left-top corner the piece's box starts: the board's ground
    // line, which the pictures share with the square swatches.
    int Inset = 1;

    [[nodiscard]] int Size() const { return Lsquare[0].width(); }

    // Pictures for `size`-pixel squares on a board with `inset`-pixel ground lines. The default
    // size has the program's drawn 32-pixel pictures; every other size draws the outlines anew.
    static PiecePictures Load(int size = 32, int inset = 1);
};

// A piece's picture (code signed by side, not 0) clear outside its silhouette, for places that
// have no square under it: the pointer that carries it, the About box. `pixelRatio` is the
// screen's device pixels per logical pixel, so that a picture drawn for the screen is not
// enlarged once more.
QPixmap PieceCutOut(const PiecePictures& pictures, int code, double pixelRatio = 1);
// The mouse pointer for carrying a piece: its cut-out held by the middle.
QCursor PiecePointer(const PiecePictures& pictures, int code, double pixelRatio = 1);

}  // namespace tavrel::ui
