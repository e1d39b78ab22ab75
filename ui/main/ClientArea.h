#pragma once
// The main window's client area: a persistent canvas the board is painted into, shown as it is.
// The toolbar, file name, slider and status bar sit on it at their pixel places.

#include <QImage>
#include <QWidget>

namespace tavrel::ui {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QSize size, QWidget* parent = nullptr);

    QImage& Canvas() { return canvas_; }
    const QImage& Canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage canvas_;
};

}  // namespace tavrel::ui
