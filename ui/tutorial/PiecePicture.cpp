#include "PiecePicture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tavrel::ui {

PiecePicture::PiecePicture(const QImage& piece, const QImage& mask, QSize box, QWidget* parent)
    : QWidget(parent), canvas_(box, QImage::Format_RGB32) {
    setFixedSize(box);
    setFocusPolicy(Qt::TabFocus);
    // The ground is the window's own colour, so the piece stands on the window, not on a tile.
    canvas_.fill(palette().color(QPalette::Window));
    QPainter painter(&canvas_);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(0, 0, mask);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(0, 0, piece);
}

void PiecePicture::Invert() {
    QPainter painter(&canvas_);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(canvas_.rect(), Qt::black);
    update();
}

void PiecePicture::ShowNegative(bool negative) {
    if (negative != negative_) Invert();
    negative_ = negative;
}

void PiecePicture::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.drawImage(0, 0, canvas_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void PiecePicture::mousePressEvent(QMouseEvent* event) {
    ShowNegative(true);
    if (event->button() == Qt::LeftButton) armed_ = true;
}

// The double click stands in for the second press: it shows the negative again, but the page
// was written by the first click, so its release writes nothing.
void PiecePicture::mouseDoubleClickEvent(QMouseEvent*) {
    ShowNegative(true);
    armed_ = false;
}

void PiecePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton) return;  // another button is still held
    ShowNegative(false);
    const bool click = armed_ && rect().contains(event->position().toPoint());
    armed_ = false;
    if (click) emit clicked();
}

void PiecePicture::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A picture hidden while held never sees its release; it must not come back in negative.
void PiecePicture::hideEvent(QHideEvent* event) {
    ShowNegative(false);
    armed_ = false;
    QWidget::hideEvent(event);
}

}  // namespace tavrel::ui
