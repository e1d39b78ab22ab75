#include "ClientArea.h"

#include <QPaintEvent>
#include <QPainter>

namespace tavrel::ui {

ClientArea::ClientArea(QSize size, QWidget* parent) : QWidget(parent), canvas_(size, QImage::Format_RGB32) {
    canvas_.fill(QColor(192, 192, 192));
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_, event->rect());
}

}  // namespace tavrel::ui
