#pragma once
// The main window's client widths: one board, or two side by side.

namespace tavrel::ui {

constexpr int kNarrowWidth = 324;
constexpr int kClientHeight = 359;
// With the analysis board the window is twice as wide less 30 pixels, which leaves that board's
// frame (up to pixel 598) a margin like the game board's on the left.
constexpr int kWideWidth = 2 * kNarrowWidth - 30;

}  // namespace tavrel::ui
