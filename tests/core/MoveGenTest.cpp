#include <gtest/gtest.h>

#include "Positions.h"
#include "core/MakeMove.h"
#include "core/MoveGen.h"
#include "core/Fen.h"
#include "core/SanMatch.h"

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

// The replay keeps what it knows of check from move to move: after each legal move, the check
// worked out from what the move changed must be the one a full test finds, and matching with it
// known must name the same piece as matching without, for every piece and target (a pinned
// piece, an en passant that uncovers the king, castling, a discovered check).
TEST(MoveGen, KnowingTheCheckChangesNoMatch) {
    for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
                            "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
                            "4k3/8/8/2KPp2r/8/8/8/8 w - e6", "K6k/8/8/3Pp3/8/8/1B6/8 w - e6",
                            "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -"}) {
        const FenResult root = ParseFen(fen);
        ASSERT_TRUE(root.setUp) << fen;
        const int side = root.setUp->side;
        Position start = root.setUp->position;
        MoveList moves;
        GenerateLegalMoves(start, side, root.setUp->opponentLast, moves);
        for (const Move& move : moves) {
            Position pos = start;
            ApplyMove(pos, side, move, "Q");
            const Square king = pos.KingState[-side].square;
            const CheckState known = CheckAfter(pos, side, move);
            ASSERT_EQ(known, KingSafeAfter(pos, -side, king, king) ? CheckState::Clear : CheckState::InCheck)
                << fen << " after " << AlgebraicName(move.from) << AlgebraicName(move.to);
            for (int row = 1; row <= 8; ++row) {
                for (int col = 1; col <= 8; ++col) {
                    const int16_t piece = pos.GameBoard(row, col);
                    if (piece * -side <= 0) continue;
                    for (int target = 0; target < 64; ++target) {
                        SanQuery query;
                        query.wanted = piece;
                        query.fromRow = static_cast<int16_t>(row);
                        query.fromCol = static_cast<int16_t>(col);
                        query.target = {static_cast<int16_t>(target / 8 + 1), static_cast<int16_t>(target % 8 + 1)};
                        EXPECT_EQ(MatchQuery(pos, -side, move, query, known).move, MatchQuery(pos, -side, move, query).move)
                            << fen << " after " << AlgebraicName(move.from) << AlgebraicName(move.to) << ", "
                            << AlgebraicName({query.fromRow, query.fromCol}) << AlgebraicName(query.target);
                    }
                }
            }
        }
    }
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
