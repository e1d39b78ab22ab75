#include "ClientArea.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace tavrel::ui {
namespace {

// The pixel under the pointer; on a scaled screen the position has a fraction, which is dropped
// as the board's own integer pixel rule does.
QPoint Pixel(const QMouseEvent* event) {
    return {static_cast<int>(std::floor(event->position().x())), static_cast<int>(std::floor(event->position().y()))};
}

}  // namespace

ClientArea::ClientArea(QSize size, int widest, QWidget* parent)
    : QWidget(parent), canvas_(QSize(std::max(widest, size.width()), size.height()), QImage::Format_RGB32) {
    canvas_.fill(QColor(192, 192, 192));
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_, event->rect());
    if (overlay_) overlay_(painter);
}

void ClientArea::mousePressEvent(QMouseEvent* event) { emit MouseDown(event->button(), Pixel(event)); }

void ClientArea::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(Pixel(event)); }

void ClientArea::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event->button(), Pixel(event)); }

}  // namespace tavrel::ui
