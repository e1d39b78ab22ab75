#include "PieceShapes.h"

#include <QPainter>
#include <functional>

namespace tavrel::ui {
namespace {

QPainterPath Ellipse(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath p;
    p.addEllipse(x, y, w, h);
    return p;
}

QPainterPath Rounded(qreal x, qreal y, qreal w, qreal h, qreal r = 1.5) {
    QPainterPath p;
    p.addRoundedRect(x, y, w, h, r, r);
    return p;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}

PieceShape Pawn() {
    PieceShape s;
    s.body = Rounded(11, 34, 23, 6) | Polygon({{15, 34}, {30, 34}, {26.5, 23}, {18.5, 23}}) |
             Rounded(16, 19.5, 13, 4.5, 2) | Ellipse(16.5, 7, 12, 12);
    return s;
}

PieceShape Rook() {
    PieceShape s;
    s.body = Rounded(10, 34, 25, 6) | Rounded(12, 30, 21, 4.5) |
             Polygon({{14.5, 30}, {30.5, 30}, {29.5, 16}, {15.5, 16}}) |
             Polygon({{12, 16}, {33, 16}, {33, 7}, {29, 7}, {29, 10.5}, {25, 10.5}, {25, 7}, {20, 7},
                      {20, 10.5}, {16, 10.5}, {16, 7}, {12, 7}});
    s.details.moveTo(15.5, 16);
    s.details.lineTo(29.5, 16);
    s.details.moveTo(14.5, 30);
    s.details.lineTo(30.5, 30);
    return s;
}

PieceShape Bishop() {
    PieceShape s;
    QPainterPath mitre;
    mitre.moveTo(22.5, 7.5);
    mitre.cubicTo(31, 13, 32, 23, 27.5, 29);
    mitre.lineTo(17.5, 29);
    mitre.cubicTo(13, 23, 14, 13, 22.5, 7.5);
    s.body = Rounded(11, 34, 23, 6) | Rounded(15, 28.5, 15, 5, 2) | mitre | Ellipse(20, 2.5, 5, 5);
    s.details.moveTo(26, 14);
    s.details.lineTo(20.5, 20.5);
    s.details.moveTo(17, 29);
    s.details.lineTo(28, 29);
    return s;
}

PieceShape Knight() {
    PieceShape s;
    QPainterPath head;
    head.moveTo(13.5, 34);
    head.lineTo(32, 34);
    head.cubicTo(34, 25, 32.5, 14, 25, 9);
    head.lineTo(24, 4);
    head.lineTo(20.5, 8.5);
    head.lineTo(18, 5.5);
    head.lineTo(17, 10);
    head.cubicTo(12, 13, 8.5, 19, 7.5, 24.5);
    head.cubicTo(8, 27, 10.5, 28, 12.5, 26.5);
    head.lineTo(18, 22.5);
    head.cubicTo(19, 26, 14, 29, 13.5, 34);
    s.body = Rounded(10.5, 34, 24, 6) | head;
    s.details.addEllipse(17, 13.5, 2.6, 2.6);
    s.details.moveTo(26, 12);
    s.details.cubicTo(30, 17, 30.5, 25, 29, 33);
    return s;
}

PieceShape Queen() {
    PieceShape s;
    s.body = Rounded(10, 34, 25, 6) |
             Polygon({{12.5, 34}, {32.5, 34}, {36.5, 13}, {29, 25}, {29, 9.5}, {22.5, 24}, {16, 9.5},
                      {16, 25}, {8.5, 13}});
    for (QPointF p : {QPointF(8.5, 12), QPointF(16, 8.5), QPointF(22.5, 7), QPointF(29, 8.5), QPointF(36.5, 12)}) {
        s.body |= Ellipse(p.x() - 2.6, p.y() - 2.6, 5.2, 5.2);
    }
    s.details.moveTo(13, 30);
    s.details.lineTo(32, 30);
    return s;
}

PieceShape King() {
    PieceShape s;
    QPainterPath crown;
    crown.moveTo(12.5, 34);
    crown.lineTo(32.5, 34);
    crown.lineTo(35.5, 20);
    crown.cubicTo(33, 14, 26, 15, 22.5, 19.5);
    crown.cubicTo(19, 15, 12, 14, 9.5, 20);
    crown.closeSubpath();
    s.body = Rounded(10, 34, 25, 6) | crown | Rounded(20.8, 2, 3.4, 15, 0.5) | Rounded(17, 5.5, 11, 3.4, 0.5);
    s.details.moveTo(13, 29.5);
    s.details.lineTo(32, 29.5);
    s.details.moveTo(22.5, 19.5);
    s.details.lineTo(22.5, 29.5);
    return s;
}

const std::function<PieceShape()> kShapes[6] = {Pawn, King, Queen, Bishop, Knight, Rook};

constexpr double kDesignBox = 45.0;
constexpr double kOutlineWidth = 1.9;  // in design units, so the outline thickens with the piece

}  // namespace

PieceShape PieceOutline(int index) { return kShapes[index](); }

void PlaceDesignBox(QPainter& painter, int size, int inset) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(inset, inset);
    const double scale = (size - inset) / kDesignBox;
    painter.scale(scale, scale);
}

QImage RenderPiece(int index, bool white, int size, int inset) {
    const PieceShape shape = PieceOutline(index);
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PlaceDesignBox(p, size, inset);
    p.setPen(QPen(Qt::black, kOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(white ? QColor(255, 255, 255) : QColor(48, 48, 52));
    p.drawPath(shape.body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(white ? Qt::black : QColor(225, 225, 225), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shape.details);
    return image;
}

QImage RenderMask(int index, int size, int inset) {
    QImage alpha(size, size, QImage::Format_ARGB32);
    alpha.fill(Qt::transparent);
    QPainter p(&alpha);
    PlaceDesignBox(p, size, inset);
    p.setPen(QPen(Qt::black, kOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(PieceOutline(index).body);
    p.end();
    QImage mask(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) mask.setPixel(x, y, qAlpha(alpha.pixel(x, y)) >= 128 ? 0xFFFFFFFF : 0xFF000000);
    }
    return mask;
}

QImage RenderToolbarArrow(bool bars, bool forward, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    if (!forward) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 140));
    p.drawPolygon(QPolygonF({QPointF(bars ? 3.5 : 5, 2.5), QPointF(bars ? 11.5 : 12.5, 8), QPointF(bars ? 3.5 : 5, 13.5)}));
    if (bars) p.drawRect(QRectF(11.5, 2.5, 2, 11));
    return image;
}

}  // namespace tavrel::ui
