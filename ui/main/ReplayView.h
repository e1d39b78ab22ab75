#pragma once
// What the main window and the game score show of a position once the game has moved to a
// slider value: the side panel, the bold heading and the selected score line.

#include <cstdint>

#include "core/GameState.h"

namespace tavrel::ui {

struct ReplayView {
    int16_t namedSide = White;  // the status bar's side panel: "White " or "Black "
    bool whiteBold = true;      // which game-score heading is bold
    int selectLine = -1;        // the game-score line to select, or -1 for none
};

// The view of `game` now at the slider value it shows (game.LastSliderValue), which stood at
// `from` before. A single step forward bolds the side to move next; a jump bolds the side whose
// half-move is shown last. Both have always been so, and the window's users know the headings
// that way.
ReplayView ViewOfSliderValue(const GameState& game, int from, int sliderMin);

}  // namespace tavrel::ui
