#pragma once
// The main window's client area: a persistent canvas the board is painted into, shown as it is.
// The toolbar, file name, slider and status bar sit on it at their places; presses on the canvas
// itself are passed on as they come, in canvas pixels. The canvas has the screen's own pixels: on
// a screen with more device pixels than logical ones it is larger than the widget by that ratio.

#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

namespace tavrel::ui {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    // The canvas is made `widest` logical pixels wide at once, so that what is drawn beyond the
    // shown width survives the window's narrowing and widening.
    ClientArea(QSize size, int widest, QWidget* parent = nullptr);

    // A new, blank canvas for a widget of `size` (logical pixels), with `pixelRatio` canvas
    // pixels to each of them.
    void Rescale(QSize size, int widest, double pixelRatio);
    [[nodiscard]] double PixelRatio() const { return pixelRatio_; }

    QImage& Canvas() { return canvas_; }
    const QImage& Canvas() const { return canvas_; }
    // Drawn over the canvas on screen and never into it, so that what it shows (an engine's
    // arrow) goes with the next paint and leaves the board's pixels as they were. It paints in
    // canvas pixels.
    void SetOverlay(std::function<void(QPainter&)> paint) {
        overlay_ = std::move(paint);
        update();
    }

signals:
    void MouseDown(Qt::MouseButton button, QPoint at);
    void MouseMove(QPoint at);
    void MouseUp(Qt::MouseButton button, QPoint at);
    // The wheel turned by `notches` whole notches (positive away from the user) over `at`.
    void Wheel(int notches, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    [[nodiscard]] QPoint CanvasPixel(QPointF logical) const;

    QImage canvas_;
    double pixelRatio_ = 1;
    int wheelTurned_ = 0;  // eighths of a degree not yet making a notch (fine-grained wheels)
    std::function<void(QPainter&)> overlay_;
};

}  // namespace tavrel::ui
