#pragma once
// Bringing the game to the position a slider value stands for. Value -1 is the initial position;
// value v >= 0 is the position after v + 1 half-moves (move number v / 2 + 1, White's half when v
// is even). The window's slider handler is a thin layer over ShowSliderValue.

#include "GameState.h"

namespace tavrel {

// One half-move of the side to move with the current move number. With useResolved, squares
// the replay already resolved are applied without matching. The side does not change here.
void PlayHalfMove(GameState& state, bool useResolved);

// Leaves `state` at slider value v: one step forward from state.LastSliderValue through the
// matcher, or any other jump replayed from the initial position with resolved half-moves taken
// as they are. `sliderMin` is the slider's minimum (the initial position). A value at or past
// state.Unplayable leaves the state at the last position the game reached before it.
void ShowSliderValue(GameState& state, int v, int sliderMin = -1);

// Plays the game's half-moves up to slider value `sliderMax` once, to find state.Unplayable;
// every half-move played on the way is resolved, so later jumps cost no matching. Leaves the
// state at the initial position.
void FindUnplayable(GameState& state, int sliderMax);

// The move number (as the game counts it), side and text of the half-move at slider value v.
struct HalfMovePlace {
    int moveNumber = 1;
    int16_t side = White;
    std::string text;
};
HalfMovePlace HalfMoveAt(const GameState& state, int v);

// While the thumb is dragged: the side and move number the value stands for. It depends on the
// value alone, so dragging costs the same on a game of any length and moves no piece.
// A game that starts with Black's move, and one set up at a later move number, count on from
// there.
struct SliderPlace {
    int16_t side = White;
    int moveNumber = 1;  // as the game counts it
};
SliderPlace PlaceOfSliderValue(int v, bool blackStarts = false, int firstMoveNumber = 1);

}  // namespace tavrel
