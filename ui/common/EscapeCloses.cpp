#include "EscapeCloses.h"

#include <QEvent>
#include <QShortcut>
#include <QWidget>

namespace tavrel::ui {
namespace {

// On its own the window takes Escape wherever the keyboard is in it; docked in the single window
// only while the keyboard is in its pane, so that Escape closes that pane alone and does nothing
// on the board.
class EscapeKey : public QShortcut {
public:
    explicit EscapeKey(QWidget& window) : QShortcut(QKeySequence(Qt::Key_Escape), &window), window_(window) {
        Bind();
        connect(this, &QShortcut::activated, &window, &QWidget::close);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::ParentChange) Bind();
        return false;
    }

private:
    void Bind() { setContext(window_.isWindow() ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut); }

    QWidget& window_;
};

}  // namespace

void CloseOnEscape(QWidget& window) { new EscapeKey(window); }

}  // namespace tavrel::ui
