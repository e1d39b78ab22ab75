#include <gtest/gtest.h>

#include "core/GameState.h"

namespace tavrel {
namespace {

TEST(Board, StartPositionFollowsTheIndexConventions) {
    GameState state;
    state.SideToMove = Black;
    state.MoveNumber = 17;
    state.GameBoard(4, 4) = 3;
    state.SetUpStartPosition();

    EXPECT_EQ(state.GameBoard[SquareFromAlgebraic("a1")], Piece::Rook);
    EXPECT_EQ(SquareFromAlgebraic("a1"), (Square{8, 1}));
    EXPECT_EQ(state.GameBoard(4, 4), 0);
    EXPECT_EQ(state.SideToMove, White);
    EXPECT_EQ(state.MoveNumber, 1);
    EXPECT_EQ(state.KingState[White].square, (Square{8, 5}));
    EXPECT_EQ(state.KingState[Black].square, (Square{1, 5}));
    for (int i = -1; i <= 10; ++i) {
        for (int j : {-1, 0, 9, 10}) {
            EXPECT_EQ(state.GameBoard(i, j), 0);
            EXPECT_EQ(state.GameBoard(j, i), 0);
        }
    }
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            EXPECT_EQ(state.AnalysisBoard(row, col), state.GameBoard(row, col));
        }
    }
    EXPECT_EQ(FenPlacement(state.GameBoard), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
}

TEST(Board, AlgebraicNamesRoundTrip) {
    for (const char* name : {"a8", "h1", "e4", "d5"}) {
        EXPECT_EQ(AlgebraicName(SquareFromAlgebraic(name)), name);
    }
    EXPECT_EQ(SquareFromAlgebraic("i4"), Square{});
    EXPECT_EQ(SquareFromAlgebraic("e9"), Square{});
    EXPECT_EQ(SquareFromAlgebraic("e"), Square{});
}

TEST(MoveStore, GrowsBeyondTwoHundredMoves) {
    MoveStore store;
    store.MoveText(350, Black) = "Kh1";
    EXPECT_EQ(store.RowCount(), 350);
    EXPECT_EQ(store.Find(350)->black.text, "Kh1");
    EXPECT_EQ(store.Find(351), nullptr);
    EXPECT_EQ(store.Find(0), nullptr);
    EXPECT_TRUE(store.ResolvedSquares(White, 999).IsNone());
}

}  // namespace
}  // namespace tavrel
