#include "FramedPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tavrel::ui {
namespace {

void PlaceNow(QWidget& window, const FramePlace& place) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // For a window, move() sets where its frame's top-left corner stands.
    window.move(place(screen->geometry(), window.frameGeometry().size()));
}

// Waits for the first sign of the window manager's frame, places the window by it and goes.
class FrameWatch : public QObject {
public:
    FrameWatch(QWidget& window, FramePlace place) : QObject(&window), window_(window), place_(std::move(place)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (watched == &window_ && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) &&
            window_.frameGeometry().size() != window_.size()) {
            window_.removeEventFilter(this);
            PlaceNow(window_, place_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    FramePlace place_;
};

}  // namespace

void PlaceByFrame(QWidget& window, FramePlace place) {
    PlaceNow(window, place);
    if (window.frameGeometry().size() == window.size()) new FrameWatch(window, std::move(place));
}

}  // namespace tavrel::ui
