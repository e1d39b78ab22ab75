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

TEST(Replay, ViewsOfTheWindow) {
    GameState state = GameWithEverything();
    ReplayView view = ShowSliderValue(state, 0);  // single step: White's first move
    EXPECT_EQ(view.namedSide, White);
    EXPECT_FALSE(view.whiteBold);
    EXPECT_EQ(view.selectLine, 0);
    EXPECT_EQ(state.SideToMove, Black);

    view = ShowSliderValue(state, -1);
    EXPECT_EQ(view.namedSide, White);
    EXPECT_TRUE(view.whiteBold);
    EXPECT_EQ(state.GameBoard, GameState{[] { GameState s; s.SetUpStartPosition(); return s; }()}.GameBoard);

    view = ShowSliderValue(state, 5);  // a jump: after Black's third move
    EXPECT_EQ(state.MoveNumber, 3);
    EXPECT_EQ(state.SideToMove, White);
    EXPECT_EQ(view.namedSide, Black);
    EXPECT_FALSE(view.whiteBold);
    EXPECT_EQ(view.selectLine, 2);

    ShowSliderValue(state, 4);
    view = ShowSliderValue(state, 5);  // the same position by a single step
    EXPECT_EQ(state.SideToMove, White);
    EXPECT_EQ(view.namedSide, Black);
    EXPECT_TRUE(view.whiteBold);
    EXPECT_EQ(state.LastSliderValue, 5);
}

TEST(Replay, CastlingPromotionAndEnPassantThroughTheGame) {
    GameState state;
    state.LoadMoveTexts({{"e4", "Nf6"}, {"e5", "d5"}, {"exd6", "e6"}, {"Nf3", "Be7"}, {"Bc4", "h6"},
                         {"O-O", "g5"}});
    state.SetUpStartPosition();
    ShowSliderValue(state, 4);  // exd6 e.p.
    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("d5")], 0);
    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("d6")], Piece::Pawn);
    ShowSliderValue(state, 10);  // O-O
    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("g1")], Piece::King);
    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("f1")], Piece::Rook);
    EXPECT_EQ(state.WhitePieceList[16], SquareFromAlgebraic("f1"));
    EXPECT_EQ(state.Moves.ResolvedSquares(White, 6), (Move{{8, 5}, {8, 7}}));
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
