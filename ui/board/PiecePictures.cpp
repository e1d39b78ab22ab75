#include "PiecePictures.h"

#include "PieceShapes.h"

namespace tavrel::ui {
namespace {

constexpr int kDrawnSize = 32;  // the pictures kept as resources

QImage Swatch(QColor colour, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Picture(const QString& name) {
    return QImage(":/pieces/" + name + ".png").convertToFormat(QImage::Format_RGB32);
}

}  // namespace

PiecePictures PiecePictures::Load(int size, int inset) {
    static const char* kNames[6] = {"pawn", "king", "queen", "bishop", "knight", "rook"};
    PiecePictures pictures;
    pictures.Inset = inset;
    const bool drawn = size == kDrawnSize && inset == 1;
    for (int i = 0; i < 6; ++i) {
        pictures.WPiece[i] = drawn ? Picture(QString("white-") + kNames[i]) : RenderPiece(i, true, size, inset);
        pictures.BPiece[i] = drawn ? Picture(QString("black-") + kNames[i]) : RenderPiece(i, false, size, inset);
        pictures.PMask[i] = drawn ? Picture(QString("mask-") + kNames[i]) : RenderMask(i, size, inset);
    }
    pictures.Lsquare = {Swatch(QColor(255, 255, 128), size), Swatch(QColor(192, 192, 192), size)};
    pictures.Dsquare = {Swatch(QColor(0, 255, 0), size), Swatch(QColor(128, 128, 128), size)};
    return pictures;
}

QPixmap PieceCutOut(const PiecePictures& pictures, int code, double pixelRatio) {
    const int p = (code < 0 ? -code : code) - 1;
    const QImage& piece = code < 0 ? pictures.BPiece[p] : pictures.WPiece[p];
    const QImage& mask = pictures.PMask[p];
    QImage pointer(piece.size(), QImage::Format_ARGB32);
    for (int y = 0; y < piece.height(); ++y) {
        for (int x = 0; x < piece.width(); ++x) {
            const bool inside = qGray(mask.pixel(x, y)) > 127;
            pointer.setPixel(x, y, inside ? (piece.pixel(x, y) | 0xFF000000u) : 0u);
        }
    }
    pointer.setDevicePixelRatio(pixelRatio);
    return QPixmap::fromImage(pointer);
}

QCursor PiecePointer(const PiecePictures& pictures, int code, double pixelRatio) {
    const QPixmap picture = PieceCutOut(pictures, code, pixelRatio);
    // The hot spot is in logical pixels.
    const QSizeF logical = picture.deviceIndependentSize();
    return QCursor(picture, static_cast<int>(logical.width() / 2), static_cast<int>(logical.height() / 2));
}

}  // namespace tavrel::ui
