#include "BoardKeys.h"

#include <QKeyEvent>
#include <QSlider>
#include <algorithm>

namespace tavrel::ui {
namespace {

constexpr int kPage = 10;  // half-moves

}  // namespace

std::optional<int> SliderValueAfterKey(const QKeyEvent& key, int value, int minimum, int maximum) {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return std::nullopt;
    std::optional<int> to;
    switch (key.key()) {
        case Qt::Key_Right:
        case Qt::Key_Down: to = value + 1; break;
        case Qt::Key_Left:
        case Qt::Key_Up: to = value - 1; break;
        case Qt::Key_PageDown: to = value + kPage; break;
        case Qt::Key_PageUp: to = value - kPage; break;
        case Qt::Key_Home: to = minimum; break;
        case Qt::Key_End: to = maximum; break;
        default: return std::nullopt;
    }
    return std::clamp(*to, minimum, std::max(minimum, maximum));
}

BoardKeys::BoardKeys(QSlider& slider, QObject* parent) : QObject(parent), slider_(slider) {}

void BoardKeys::Watch(QWidget& widget) { widget.installEventFilter(this); }

bool BoardKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return QObject::eventFilter(watched, event);
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const std::optional<int> to = SliderValueAfterKey(key, slider_.value(), slider_.minimum(), slider_.maximum());
    if (!to) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();  // the key comes here as a key press, whatever shortcut it might be
        return true;
    }
    // A disabled slider (an animation is running) holds the position as it is.
    if (slider_.isEnabled()) slider_.setValue(*to);
    return true;
}

}  // namespace tavrel::ui
