#include "Replay.h"

#include "MakeMove.h"
#include "Notation.h"
#include "SanMatch.h"

namespace tavrel {
namespace {

void StepForward(GameState& state, int v) {
    state.MoveNumber = v / 2 + 1;
    const bool blacksHalf = v % 2 == 1;
    state.SideToMove = blacksHalf ? Black : White;
    PlayHalfMove(state, false);
    state.SideToMove = blacksHalf ? White : Black;
}

void ReplayFromStart(GameState& state, int v) {
    state.SetUpStartPosition();
    const int fullMoves = v / 2;
    for (state.MoveNumber = 1; state.MoveNumber <= fullMoves; ++state.MoveNumber) {
        state.SideToMove = White;
        PlayHalfMove(state, true);
        state.SideToMove = Black;
        PlayHalfMove(state, true);
    }
    state.SideToMove = White;
    PlayHalfMove(state, true);
    state.SideToMove = Black;
    const bool blacksHalf = v % 2 == 1;
    if (blacksHalf) {
        PlayHalfMove(state, true);
        state.SideToMove = White;
    }
}

}  // namespace

void PlayHalfMove(GameState& state, bool useResolved) {
    if (useResolved) {
        const Move resolved = state.Moves.ResolvedSquares(state.SideToMove, state.MoveNumber);
        if (!resolved.IsNone()) {
            MakeMove(state, resolved);
            return;
        }
    }
    const MoveRow* row = state.Moves.Find(state.MoveNumber);
    const std::string text = row ? row->Of(state.SideToMove).text : std::string();
    MakeMove(state, FindSanMove(state, text));
}

void ShowSliderValue(GameState& state, int v, int sliderMin) {
    if (state.Unplayable && v >= *state.Unplayable) v = *state.Unplayable - 1;
    // A game that starts with Black's move has no White half in its first row: slider value v
    // stands where v + 1 stands in a game that starts with White's.
    const int halfMove = v + (state.BlackStarts() ? 1 : 0);
    if (v <= sliderMin) {
        state.SetUpStartPosition();
    } else if (v == state.LastSliderValue + 1) {
        StepForward(state, halfMove);
    } else {
        ReplayFromStart(state, halfMove);
    }
    state.LastSliderValue = v <= sliderMin ? sliderMin : v;
}

void FindUnplayable(GameState& state, int sliderMax) {
    state.Unplayable.reset();
    ShowSliderValue(state, -1);
    if (!state.StartProblem.empty()) return;
    for (int v = 0; v <= sliderMax; ++v) {
        ShowSliderValue(state, v);  // one step: the matcher
        // A null move passes the turn, and a result kept in a move's place (the "0-1" after
        // Black's mate) ends the game where it stands; any other text that names no move leaves
        // the game.
        const std::string text = HalfMoveAt(state, v).text;
        if (state.Match.IsNone() && !IsNullMoveText(text) && !notation::IsResultToken(text)) {
            state.Unplayable = v;
            break;
        }
    }
    ShowSliderValue(state, -1);
}

HalfMovePlace HalfMoveAt(const GameState& state, int v) {
    const int halfMove = v + (state.BlackStarts() ? 1 : 0);
    HalfMovePlace place;
    place.side = halfMove % 2 == 1 ? Black : White;
    const int row = halfMove / 2 + 1;
    place.moveNumber = row + (state.SetUp ? state.SetUp->fullMoveNumber - 1 : 0);
    if (const MoveRow* found = state.Moves.Find(row)) place.text = found->Of(place.side).text;
    return place;
}

SliderPlace PlaceOfSliderValue(int v, bool blackStarts, int firstMoveNumber) {
    if (blackStarts) {
        return {static_cast<int16_t>((v == -1 || v % 2 == 0) ? Black : White), (v + 1) / 2 + firstMoveNumber};
    }
    return {static_cast<int16_t>((v == -1 || v % 2 == 0) ? White : Black),
            (v < 0 ? -v : v) / 2 + firstMoveNumber};
}

}  // namespace tavrel
