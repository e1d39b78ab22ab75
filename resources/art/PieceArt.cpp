// Draws Tavrel's pictures: the twelve 32 x 32 pieces on white, the six masks (white silhouette on
// black), the four toolbar arrows and the white-pawn logo. The pieces' outlines are the board's
// own (ui/board/PieceShapes), which draws them at every other size. Run it to change them:
//   cmake --build build --target piece-art && build/resources/piece-art resources

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "ui/board/PieceShapes.h"

namespace {

const char* kNames[6] = {"pawn", "king", "queen", "bishop", "knight", "rook"};

QImage Logo() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    tavrel::ui::PlaceDesignBox(p, 32, 1);
    p.setPen(QPen(Qt::black, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(tavrel::ui::PieceOutline(0).body);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : "resources";
    QDir().mkpath(out + "/pieces");
    QDir().mkpath(out + "/toolbar");
    for (int i = 0; i < 6; ++i) {
        tavrel::ui::RenderPiece(i, true, 32, 1).save(out + "/pieces/white-" + kNames[i] + ".png");
        tavrel::ui::RenderPiece(i, false, 32, 1).save(out + "/pieces/black-" + kNames[i] + ".png");
        tavrel::ui::RenderMask(i, 32, 1).save(out + "/pieces/mask-" + kNames[i] + ".png");
    }
    tavrel::ui::RenderToolbarArrow(true, false, 16).save(out + "/toolbar/first.png");
    tavrel::ui::RenderToolbarArrow(false, false, 16).save(out + "/toolbar/previous.png");
    tavrel::ui::RenderToolbarArrow(false, true, 16).save(out + "/toolbar/next.png");
    tavrel::ui::RenderToolbarArrow(true, true, 16).save(out + "/toolbar/last.png");
    Logo().save(out + "/logo.png");
    return 0;
}
