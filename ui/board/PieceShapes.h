#pragma once
// The pieces as outlines: Tavrel's own artwork, drawn in a 45 x 45 design box, and the toolbar's
// arrows. The window renders them at the size in use, so they stay sharp at every board size and
// screen resolution; the pictures of the default size are made from the same outlines by
// resources/art.

#include <QImage>
#include <QPainterPath>

class QPainter;

namespace tavrel::ui {

struct PieceShape {
    QPainterPath body;
    QPainterPath details;  // lines drawn inside the body in the contrasting colour
};

// Indexed by the absolute piece code minus 1: pawn, king, queen, bishop, knight, rook.
PieceShape PieceOutline(int index);

// A square picture `size` pixels wide: the piece on white, its design box on the pixels from
// `inset` to the far edge (the part of the picture the board copies).
QImage RenderPiece(int index, bool white, int size, int inset);
// The piece's silhouette, white on black, on the same pixels: its outline counts as inside, so
// that a white piece shows white and not the square beneath.
QImage RenderMask(int index, int size, int inset);
// The toolbar's arrow on a clear `size`-pixel picture, drawn in a 16-pixel design box: to the
// first or last game with `bars`, to the next or previous without; pointing back unless
// `forward`.
QImage RenderToolbarArrow(bool bars, bool forward, int size);
// Maps the design box onto a `size`-pixel picture from `inset`.
void PlaceDesignBox(QPainter& painter, int size, int inset);

}  // namespace tavrel::ui
