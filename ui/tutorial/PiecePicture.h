#pragma once
// One piece picture of the tutorial: a black piece on the window's ground that shows in
// negative while a mouse button is held on it, and reports a click.

#include <QImage>
#include <QWidget>

namespace tavrel::ui {

class PiecePicture : public QWidget {
    Q_OBJECT
  public:
    // `piece` is the piece on white and `mask` its silhouette in white on black, both 32 x 32;
    // the picture sits at the box's top left.
    PiecePicture(const QImage& piece, const QImage& mask, QSize box, QWidget* parent);

    // What the picture shows, for the tests.
    const QImage& Canvas() const { return canvas_; }

  signals:
    // A left-button press and release on the picture, or Space while it has the focus.
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // Reverses every colour of the picture; doing it twice restores it.
    void Invert();
    void ShowNegative(bool negative);

    QImage canvas_;
    bool negative_ = false;
    bool armed_ = false;  // a left press landed here, so its release may be a click
};

}  // namespace tavrel::ui
