#pragma once
// A label that keeps its whole text but draws it shortened with "…" when it does not fit, instead
// of cutting it off mid-word at the edge.

#include <QLabel>

namespace tavrel::ui {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as drawn in the label's present width.
    [[nodiscard]] QString ShownText() const;

    // A long text must not widen the status bar: the label takes the width it is given.
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tavrel::ui
