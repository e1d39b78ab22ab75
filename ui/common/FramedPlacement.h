#pragma once
// Placing a window by its frame, the outer size the desktop gives it, rather than by its client
// area. The window manager adds the frame only once the window is shown, so the window is placed
// once at once and again when its frame is first known; after that, the user's moves stand.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

namespace tavrel::ui {

// The frame's top-left corner on a screen of the given geometry, from the frame's size.
using FramePlace = std::function<QPoint(const QRect& screen, const QSize& frame)>;

void PlaceByFrame(QWidget& window, FramePlace place);

}  // namespace tavrel::ui
