#pragma once
// The pictures the board is composed from: square swatches, pieces on white, and masks.

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

    static PiecePictures Load();
};

// A piece's picture (code signed by side) clear outside its silhouette, for places that have no
// square under it: the pointer that carries it, the About box.
QPixmap PieceCutOut(const PiecePictures& pictures, int code);
// The mouse pointer for carrying a piece: its cut-out held by the middle.
QCursor PiecePointer(const PiecePictures& pictures, int code);

}  // namespace tavrel::ui
