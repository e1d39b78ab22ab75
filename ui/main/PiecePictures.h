#pragma once
// The pictures the board is composed from: square swatches, pieces on white, and masks.

#include <QCursor>
#include <QImage>
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

    static PiecePictures Load();
};

// The mouse pointer for carrying a piece (code signed by side): the piece's picture, clear
// outside its silhouette, held by its middle.
QCursor PiecePointer(const PiecePictures& pictures, int code);

}  // namespace tavrel::ui
