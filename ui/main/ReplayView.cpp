#include "ReplayView.h"

namespace tavrel::ui {

ReplayView ViewOfSliderValue(const GameState& game, int from, int sliderMin) {
    const int v = game.LastSliderValue;
    // The line of the move number the game stands at, when the score has one.
    const int line = game.MoveNumber - 1 < game.Moves.RowCount() ? game.MoveNumber - 1 : -1;
    if (v <= sliderMin) return {game.SideToMove, game.SideToMove == White, line};
    const bool blacksHalf = (v + (game.BlackStarts() ? 1 : 0)) % 2 == 1;
    const bool stepped = v == from + 1;
    return {static_cast<int16_t>(blacksHalf ? Black : White), stepped == blacksHalf, line};
}

}  // namespace tavrel::ui
