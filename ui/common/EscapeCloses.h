#pragma once
// Escape closes a tool window (or its pane in the single window) wherever the keyboard is in it.

class QWidget;

namespace tavrel::ui {

void CloseOnEscape(QWidget& window);

}  // namespace tavrel::ui
