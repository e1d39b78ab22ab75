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

}  // namespace tavrel::ui
