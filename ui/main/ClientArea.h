#pragma once
// The main window's client area: a persistent canvas the board is painted into, shown as it is.
// The toolbar, file name, slider and status bar sit on it at their pixel places; presses on the
// canvas itself are passed on as they come, in canvas pixels.

#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

namespace tavrel::ui {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    // The canvas is made `widest` pixels wide at once, so that what is drawn beyond the shown
    // width survives the window's narrowing and widening.
    ClientArea(QSize size, int widest, QWidget* parent = nullptr);

    QImage& Canvas() { return canvas_; }
    const QImage& Canvas() const { return canvas_; }
    // Drawn over the canvas on screen and never into it, so that what it shows (an engine's
    // arrow) goes with the next paint and leaves the board's pixels as they were.
    void SetOverlay(std::function<void(QPainter&)> paint) {
        overlay_ = std::move(paint);
        update();
    }

signals:
    void MouseDown(Qt::MouseButton button, QPoint at);
    void MouseMove(QPoint at);
    void MouseUp(Qt::MouseButton button, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage canvas_;
    std::function<void(QPainter&)> overlay_;
};

}  // namespace tavrel::ui
