#include <gtest/gtest.h>

#include "core/MoveGen.h"
#include "core/Replay.h"

namespace tavrel {
namespace {

// A short game with a capture chain, castling, and a promotion that captures.
GameState GameWithEverything() {
    GameState state;
    state.LoadMoveTexts({{"e4", "d5"}, {"exd5", "c5"}, {"dxc6", "Nf6"}, {"Nf3", "Bg4"},
                         {"Bc4", "Qc7"}, {"O-O", "e6"}, {"cxb7+", "Kd8"}, {"bxa8=N", "1-0"}});
    state.SetUpStartPosition();
    state.LastSliderValue = -1;
    return state;
}

TEST(Replay, StepForwardAndJumpEndInTheSameState) {
    GameState stepped = GameWithEverything();
    for (int v = 0; v <= 14; ++v) {
        ShowSliderValue(stepped, v);
        GameState jumped = GameWithEverything();
        ShowSliderValue(jumped, v);
        EXPECT_EQ(static_cast<Position&>(jumped), static_cast<Position&>(stepped)) << v;
        EXPECT_EQ(jumped.SideToMove, stepped.SideToMove) << v;
        EXPECT_EQ(jumped.MoveNumber, stepped.MoveNumber) << v;
        EXPECT_EQ(jumped.AnalysisBoard, stepped.GameBoard) << v;
    }
    EXPECT_EQ(FenPlacement(stepped.GameBoard), "Nn1k1b1r/p1q2ppp/4pn2/8/2B3b1/5N2/PPPP1PPP/RNBQ1RK1");
}

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
