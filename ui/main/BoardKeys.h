#pragma once
// The keys that move through the game on show, wherever in the main window the keyboard is:
// Right and Down one half-move on, Left and Up one back, Page Down and Page Up ten, Home and End
// to the first and last position. They act on the slider, whose change shows the position, so
// the slider's own (upside-down) arrow keys and the file name's cursor keys give way to them.

#include <QObject>
#include <optional>

class QKeyEvent;
class QSlider;
class QWidget;

namespace tavrel::ui {

// The slider value a key press leads to from `value` in [minimum, maximum]; nothing for a key
// that is not one of these, or with a modifier other than the keypad's.
std::optional<int> SliderValueAfterKey(const QKeyEvent& key, int value, int minimum, int maximum);

class BoardKeys : public QObject {
    Q_OBJECT
public:
    explicit BoardKeys(QSlider& slider, QObject* parent = nullptr);
    // Takes the keys when `widget` has the keyboard.
    void Watch(QWidget& widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSlider& slider_;
};

}  // namespace tavrel::ui
