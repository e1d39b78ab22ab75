#include "PiecePictures.h"


namespace tavrel::ui {
namespace {

QImage Swatch(QColor colour) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Picture(const QString& name) {
    return QImage(":/pieces/" + name + ".png").convertToFormat(QImage::Format_RGB32);
}

}  // namespace

PiecePictures PiecePictures::Load() {
    static const char* kNames[6] = {"pawn", "king", "queen", "bishop", "knight", "rook"};
    PiecePictures pictures;
    for (int i = 0; i < 6; ++i) {
        pictures.WPiece[i] = Picture(QString("white-") + kNames[i]);
        pictures.BPiece[i] = Picture(QString("black-") + kNames[i]);
        pictures.PMask[i] = Picture(QString("mask-") + kNames[i]);
    }
    pictures.Lsquare = {Swatch(QColor(255, 255, 128)), Swatch(QColor(192, 192, 192))};
    pictures.Dsquare = {Swatch(QColor(0, 255, 0)), Swatch(QColor(128, 128, 128))};
    return pictures;
}

QPixmap PieceCutOut(const PiecePictures& pictures, int code) {
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
    return QPixmap::fromImage(pointer);
}

QCursor PiecePointer(const PiecePictures& pictures, int code) {
    const QPixmap picture = PieceCutOut(pictures, code);
    return QCursor(picture, picture.width() / 2, picture.height() / 2);
}

}  // namespace tavrel::ui
