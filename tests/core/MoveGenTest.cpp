#include <gtest/gtest.h>

#include "Positions.h"
#include "core/MakeMove.h"
#include "core/MoveGen.h"

namespace tavrel {
namespace {

using testing::LegalMoveNames;
using testing::MoveOf;
using Names = std::vector<std::string>;

bool Has(const Names& names, const std::string& move) {
    return std::find(names.begin(), names.end(), move) != names.end();
}

TEST(MoveGen, TheKingIsNeverTaken) {
    // Black is in check and White is to move again, as after a Black half-move that matched
    // nothing: the queen may go anywhere but onto the king's square.
    const Names moves = testing::LegalMoveNamesOf(testing::PositionFromFen("4k3/8/8/8/8/8/8/K3Q3 b - -"), White);
    EXPECT_FALSE(Has(moves, "e1e8"));
    EXPECT_TRUE(Has(moves, "e1e7"));
    Position kings = testing::PositionFromFen("8/8/8/8/8/8/8/K6k w - -");
    kings.GameBoard(8, 8) = 0;
    kings.GameBoard(7, 2) = -Piece::King;
    kings.KingState[Black].square = kings.BlackPieceList[1] = {7, 2};
    EXPECT_FALSE(Has(testing::LegalMoveNamesOf(kings, White), "a1b2"));
}

TEST(MoveGen, APawnOnItsLastRowIsNotSteppedOff) {
    // A pawn a broken position left on its last row has nowhere to step and is not stepped off.
    Position pos = testing::PositionFromFen("4k3/8/8/8/8/8/8/K7 w - -");
    pos.GameBoard(1, 1) = Piece::Pawn;
    pos.WhitePieceList[2] = {1, 1};
    MoveList moves;
    GenerateLegalMoves(pos, White, {}, moves);
    for (const Move& m : moves) EXPECT_TRUE(m.to.onBoard());
    EXPECT_EQ(moves.size(), 3);
}

TEST(MoveGen, ListHoldsTheLargestKnownPosition) {
    const Names names = LegalMoveNames("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - -");
    EXPECT_EQ(names.size(), 218u);
}

// Promotions, castling and en passant are decided by perft; these are the texts it never gives.
TEST(MakeMove, PromotionLettersAndNoMove) {
    Position bare = testing::PositionFromFen("4k3/8/8/8/8/8/1p6/4K3 b - -");
    ApplyMove(bare, Black, MoveOf("b2", "b1"), "");  // no letter: a queen
    EXPECT_EQ(bare.GameBoard[SquareFromAlgebraic("b1")], -Piece::Queen);
    ApplyMove(bare, White, MoveOf("e1", "e2"), "Q");  // a letter on a king move changes nothing
    EXPECT_EQ(bare.GameBoard[SquareFromAlgebraic("e2")], Piece::King);

    const Position before = bare;
    ApplyMove(bare, White, Move{}, "Q");
    EXPECT_EQ(bare, before);
}

}  // namespace
}  // namespace tavrel
