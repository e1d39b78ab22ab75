#include "FramedPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace tavrel::ui {
namespace {

constexpr int kGap = 8;  // between a window and the one it is put beside

// What the window wants on `screen`: its frame's place and size.
using FrameWanted = std::function<QRect(const QRect& screen, const QSize& frame)>;

const QScreen* ScreenOf(const QWidget* anchor) {
    if (anchor && anchor->screen()) return anchor->screen();
    return QGuiApplication::primaryScreen();
}

// The frames of the program's other windows on show: the ones a new window should not cover.
std::vector<QRect> OtherWindows(const QWidget& window) {
    std::vector<QRect> frames;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible() || !other->isWindow()) continue;
        const Qt::WindowType type = other->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen) continue;
        frames.push_back(other->frameGeometry());
    }
    return frames;
}

void PlaceNow(QWidget& window, const FrameWanted& wanted, const QWidget* anchor) {
    const QScreen* screen = ScreenOf(anchor);
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QSize margins = window.frameGeometry().size() - window.size();
    QRect frame = wanted(screen->geometry(), window.frameGeometry().size());
    frame = FitInto(ClearOf(frame, room, OtherWindows(window)), room);
    // A window of fixed size keeps it; the frame then starts where it fits best.
    const QSize client = (frame.size() - margins).expandedTo(window.minimumSize()).boundedTo(window.maximumSize());
    if (client != window.size()) window.resize(client);
    // For a window, move() sets where its frame's top-left corner stands.
    window.move(frame.topLeft());
}

// Waits for the first sign of the window manager's frame, places the window by it and goes.
class FrameWatch : public QObject {
public:
    FrameWatch(QWidget& window, FrameWanted wanted, const QWidget* anchor)
        : QObject(&window), window_(window), wanted_(std::move(wanted)), anchor_(anchor) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (watched == &window_ && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) &&
            window_.frameGeometry().size() != window_.size()) {
            window_.removeEventFilter(this);
            PlaceNow(window_, wanted_, anchor_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    FrameWanted wanted_;
    const QWidget* anchor_;
};

void Place(QWidget& window, const FrameWanted& wanted, const QWidget* anchor) {
    // A pane docked in the main window has its place from the main window's layout.
    if (!window.isWindow()) return;
    // The latest wish stands: an earlier watch still waiting for the frame would undo it.
    for (QObject* child : window.children()) {
        if (auto* earlier = dynamic_cast<FrameWatch*>(child)) {
            window.removeEventFilter(earlier);
            earlier->deleteLater();
        }
    }
    PlaceNow(window, wanted, anchor);
    if (window.frameGeometry().size() == window.size()) new FrameWatch(window, wanted, anchor);
}

}  // namespace

void PlaceByFrame(QWidget& window, FramePlace place, const QWidget* anchor) {
    Place(window, [place = std::move(place)](const QRect& screen, const QSize& frame) {
        return QRect(place(screen, frame), frame);
    }, anchor);
}

void PlaceFrameAt(QWidget& window, const QRect& frame, const QWidget* anchor) {
    // Until the frame is known the remembered frame stands for the client area; the second
    // placement, by the real frame, gives the frame that size.
    Place(window, [frame](const QRect&, const QSize& now) {
        return QRect(frame.topLeft(), frame.size().isValid() ? frame.size() : now);
    }, anchor);
}

QRect FitInto(QRect frame, const QRect& room) {
    frame.setSize(frame.size().boundedTo(room.size()));
    const int x = std::clamp(frame.left(), room.left(), room.right() + 1 - frame.width());
    const int y = std::clamp(frame.top(), room.top(), room.bottom() + 1 - frame.height());
    frame.moveTo(x, y);
    return frame;
}

QRect ClearOf(const QRect& frame, const QRect& room, const std::vector<QRect>& others) {
    const auto clear = [&](const QRect& place) {
        return room.contains(place) &&
               std::none_of(others.begin(), others.end(), [&](const QRect& other) { return other.intersects(place); });
    };
    if (clear(frame)) return frame;
    QRect best = frame;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect& other : others) {
        const QPoint beside[] = {{other.right() + 1 + kGap, frame.top()},
                                 {other.left() - kGap - frame.width(), frame.top()},
                                 {frame.left(), other.bottom() + 1 + kGap},
                                 {frame.left(), other.top() - kGap - frame.height()}};
        for (const QPoint& at : beside) {
            // Slid along the other window's side as far as it takes to stay on the screen.
            const QRect place = FitInto(QRect(at, frame.size()), room);
            const QPoint moved = place.topLeft() - frame.topLeft();
            const long long distance = 1LL * moved.x() * moved.x() + 1LL * moved.y() * moved.y();
            if (clear(place) && distance < bestDistance) {
                best = place;
                bestDistance = distance;
            }
        }
    }
    return best;
}

}  // namespace tavrel::ui
