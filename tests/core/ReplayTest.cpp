#include <gtest/gtest.h>

#include "core/MoveGen.h"
#include "core/Replay.h"

namespace tavrel {
namespace {

TEST(Replay, UnmatchedTextLeavesThePositionAndTheSideStillAlternates) {
    GameState state;
    state.LoadMoveTexts({{"e4", "e5!!?"}, {"Nf3", "Zz9"}, {"Nc3", ""}});
    state.SetUpStartPosition();
    ShowSliderValue(state, 3);
    EXPECT_EQ(FenPlacement(state.GameBoard), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R");
    ShowSliderValue(state, 5);
    EXPECT_EQ(state.SideToMove, White);
    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("c3")], Piece::Knight);
    ShowSliderValue(state, 40);  // past the game's end: nothing more moves
    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("c3")], Piece::Knight);
}

}  // namespace
}  // namespace tavrel
