#pragma once
// Placing a window by its frame, the outer size the desktop gives it, rather than by its client
// area. The window manager adds the frame only once the window is shown, so the window is placed
// once at once and again when its frame is first known; after that, the user's moves stand.
//
// Every place is kept on the screen that holds the main window: a window is moved beside the
// program's other windows rather than under them while the screen has room for that, and one too
// large for the screen is made smaller rather than pushed past its edge.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class QWidget;

namespace tavrel::ui {

// The frame's top-left corner on a screen of the given geometry, from the frame's size.
using FramePlace = std::function<QPoint(const QRect& screen, const QSize& frame)>;

// `anchor` is the window whose screen this one opens on (the main window); none: the primary
// screen.
void PlaceByFrame(QWidget& window, FramePlace place, const QWidget* anchor = nullptr);
// The frame at `frame` (a remembered place, or the one the window already has), brought onto the
// anchor's screen as above.
void PlaceFrameAt(QWidget& window, const QRect& frame, const QWidget* anchor);

// `frame` made no larger than `room` and then moved, as little as it takes, to lie within it.
[[nodiscard]] QRect FitInto(QRect frame, const QRect& room);
// `frame` as it is when it covers none of `others`; else the nearest place within `room` beside
// one of them (right, left, below or above it) that covers none; else as it is.
[[nodiscard]] QRect ClearOf(const QRect& frame, const QRect& room, const std::vector<QRect>& others);

}  // namespace tavrel::ui
