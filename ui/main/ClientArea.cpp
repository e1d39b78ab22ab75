#include "ClientArea.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace tavrel::ui {
namespace {

constexpr int kNotch = 120;  // a wheel's notch, in eighths of a degree

}  // namespace

ClientArea::ClientArea(QSize size, int widest, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    Rescale(size, widest, 1);
}

void ClientArea::Rescale(QSize size, int widest, double pixelRatio) {
    pixelRatio_ = pixelRatio;
    const auto pixels = [pixelRatio](int logical) { return static_cast<int>(std::ceil(logical * pixelRatio)); };
    canvas_ = QImage(QSize(pixels(std::max(widest, size.width())), pixels(size.height())), QImage::Format_RGB32);
    canvas_.fill(QColor(192, 192, 192));
    setFixedSize(size);
    update();
}

// The canvas pixel under a point; a fraction is dropped as the board's own integer pixel rule
// does.
QPoint ClientArea::CanvasPixel(QPointF logical) const {
    return {static_cast<int>(std::floor(logical.x() * pixelRatio_)),
            static_cast<int>(std::floor(logical.y() * pixelRatio_))};
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRectF shown(event->rect());
    painter.drawImage(shown, canvas_,
                      QRectF(shown.topLeft() * pixelRatio_, shown.size() * pixelRatio_));
    if (overlay_) {
        painter.scale(1 / pixelRatio_, 1 / pixelRatio_);
        overlay_(painter);
    }
}

void ClientArea::mousePressEvent(QMouseEvent* event) { emit MouseDown(event->button(), CanvasPixel(event->position())); }

void ClientArea::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(CanvasPixel(event->position())); }

void ClientArea::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event->button(), CanvasPixel(event->position())); }

void ClientArea::wheelEvent(QWheelEvent* event) {
    wheelTurned_ += event->angleDelta().y();
    const int notches = wheelTurned_ / kNotch;
    wheelTurned_ -= notches * kNotch;
    if (notches != 0) emit Wheel(notches, CanvasPixel(event->position()));
    event->accept();
}

}  // namespace tavrel::ui
