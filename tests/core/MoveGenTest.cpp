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

TEST(MoveGen, InitialPositionInGeneratorOrder) {
    const Names expected = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3",
                            "d2d4", "e2e3", "e2e4", "f2f3", "f2f4", "g2g3", "g2g4",
                            "h2h3", "h2h4", "b1a3", "b1c3", "g1f3", "g1h3"};
    EXPECT_EQ(LegalMoveNames("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"), expected);
}

TEST(MoveGen, PieceDirectionOrders) {
    // Pieces come in slot order (here by file), then each piece's directions. Rook: towards column 1, towards 8, towards row 1, towards row 8. Bishop: the four diagonals
    // as (row, col) steps (+1,+1) (+1,-1) (-1,+1) (-1,-1). King steps: rows outer, columns inner.
    EXPECT_EQ(LegalMoveNames("7k/8/8/8/8/8/6p1/R3K3 w - -"),
              (Names{"a1b1", "a1c1", "a1d1", "a1a2", "a1a3", "a1a4", "a1a5", "a1a6", "a1a7",
                     "a1a8", "e1d2", "e1e2", "e1f2", "e1d1"}));
    EXPECT_EQ(LegalMoveNames("7k/8/8/3B4/8/8/8/K7 w - -"),
              (Names{"a1a2", "a1b2", "a1b1", "d5e4", "d5f3", "d5g2", "d5h1", "d5c4", "d5b3",
                     "d5a2", "d5e6", "d5f7", "d5g8", "d5c6", "d5b7", "d5a8"}));
    EXPECT_EQ(LegalMoveNames("7k/8/8/8/3N4/8/8/K7 w - -"),
              (Names{"a1a2", "a1b2", "a1b1", "d4b5", "d4b3", "d4f5", "d4f3", "d4c6", "d4c2",
                     "d4e6", "d4e2"}));
}

TEST(MoveGen, Castling) {
    struct Row {
        const char* why;
        const char* fen;
        bool kingSide, queenSide;
    };
    const Row rows[] = {
        {"free", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", true, true},
        {"in check", "r3k2r/8/8/8/8/8/4r3/R3K2R w KQ -", false, false},
        {"f1 attacked", "r3k2r/8/8/8/8/8/5r2/R3K2R w KQ -", false, true},
        {"g1 attacked", "4k3/8/8/8/8/8/6r1/R3K2R w KQ -", false, true},
        {"d1 attacked", "4k3/8/8/8/8/8/3r4/R3K2R w KQ -", true, false},
        {"b1 attacked only", "4k3/8/8/8/8/8/1r6/R3K2R w KQ -", true, true},
        {"b1 occupied", "4k3/8/8/8/8/8/8/RN2K2R w KQ -", true, false},
        {"rights gone", "4k3/8/8/8/8/8/8/R3K2R w - -", false, false},
        {"king side right only", "4k3/8/8/8/8/8/8/R3K2R w K -", true, false},
    };
    for (const Row& row : rows) {
        const Names names = LegalMoveNames(row.fen);
        EXPECT_EQ(Has(names, "e1g1"), row.kingSide) << row.why;
        EXPECT_EQ(Has(names, "e1c1"), row.queenSide) << row.why;
    }
    // King's side before queen's side, both before the king's ordinary steps.
    const Names names = LegalMoveNames("4k3/8/8/8/8/8/8/R3K2R w KQ -");
    const auto at = [&](const char* m) { return std::find(names.begin(), names.end(), m) - names.begin(); };
    EXPECT_LT(at("e1g1"), at("e1c1"));
    EXPECT_LT(at("e1c1"), at("e1d2"));
    EXPECT_TRUE(Has(LegalMoveNames("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -"), "e8g8"));
}

TEST(MoveGen, CastlingEndsWhenARookLeavesOrIsTakenInItsCorner) {
    Position pos = testing::PositionFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    ApplyMove(pos, White, MoveOf("h1", "h2"), "");
    ApplyMove(pos, Black, MoveOf("a8", "a1"), "");  // takes the a1 rook
    ApplyMove(pos, White, MoveOf("h2", "h1"), "");  // a rook stands on h1 again
    EXPECT_TRUE(pos.KingState[White].CastleFlags & Castle::KingSideBarred);
    EXPECT_TRUE(pos.KingState[White].CastleFlags & Castle::QueenSideBarred);
    EXPECT_TRUE(pos.KingState[Black].CastleFlags & Castle::QueenSideBarred);
    EXPECT_FALSE(pos.KingState[Black].CastleFlags & Castle::KingSideBarred);
    MoveList moves;
    GenerateLegalMoves(pos, White, {}, moves);
    EXPECT_FALSE(Has(testing::MoveNames(moves), "e1g1"));
}

TEST(MoveGen, EnPassantOnlyRightAfterTheDoubleStep) {
    const char* fen = "4k3/8/8/8/3pP3/8/8/4K3 b - -";
    EXPECT_TRUE(Has(LegalMoveNames(fen, MoveOf("e2", "e4")), "d4e3"));
    EXPECT_FALSE(Has(LegalMoveNames(fen, MoveOf("e3", "e4")), "d4e3"));
    EXPECT_FALSE(Has(LegalMoveNames(fen, {}), "d4e3"));
    // En passant comes after the pawn's steps and captures.
    const Names names = LegalMoveNames("4k3/8/8/3Pp3/8/8/8/4K3 w - -", MoveOf("e7", "e5"));
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 2), (Names{"d5d6", "d5e6"}));
    // Taking en passant may not uncover a rank attack on the king: both pawns leave the rank.
    EXPECT_FALSE(Has(LegalMoveNames("8/8/8/K2pP2r/8/8/8/7k w - -", MoveOf("d7", "d5")), "e5d6"));
}

TEST(MoveGen, PinsAndChecksAnywhereOnTheBoard) {
    // The knight on d4 is pinned against a king that has left home; no knight move may be listed.
    for (const std::string& m : LegalMoveNames("8/8/5q2/8/3N4/8/1K6/7k w - -")) {
        EXPECT_NE(m.substr(0, 2), "d4") << m;
    }
    // Pinned on a diagonal, a bishop may still move along the pin.
    EXPECT_TRUE(Has(LegalMoveNames("7k/8/8/8/8/2q5/3B4/4K3 w - -"), "d2c3"));
    EXPECT_FALSE(Has(LegalMoveNames("7k/8/8/8/8/2q5/3B4/4K3 w - -"), "d2e3"));
    // In check from a rook far from home: only moves that answer it.
    EXPECT_EQ(LegalMoveNames("7k/8/8/8/r3K3/8/B7/8 w - -"),
              (Names{"a2c4", "e4d5", "e4e5", "e4f5", "e4d3", "e4e3", "e4f3"}));
    // Double check: only the king moves.
    for (const std::string& m : LegalMoveNames("4k3/8/8/8/8/5n2/8/1B2K2r w - -")) {
        EXPECT_EQ(m.substr(0, 2), "e1") << m;
    }
}

TEST(MoveGen, TheKingIsNeverTaken) {
    // Black is in check and White is to move again, as after a Black half-move that matched
    // nothing: the queen may go anywhere but onto the king's square.
    const Names moves = LegalMoveNames("4k3/8/8/8/8/8/8/K3Q3 w - -");
    EXPECT_FALSE(Has(moves, "e1e8"));
    EXPECT_TRUE(Has(moves, "e1e7"));
    EXPECT_FALSE(Has(LegalMoveNames("8/8/8/8/8/8/1k6/K7 w - -"), "a1b2"));
}

TEST(MoveGen, PawnsStepsBlockedAndLastRow) {
    EXPECT_EQ(LegalMoveNames("4k3/8/8/8/8/4n3/4P3/K7 w - -"), (Names{"a1a2", "a1b2", "a1b1"}));
    // A pawn a broken position left on its last row has nowhere to step and is not stepped off.
    const Position pos = [] {
        Position p = testing::PositionFromFen("4k3/8/8/8/8/8/8/K7 w - -");
        p.GameBoard(1, 1) = Piece::Pawn;
        p.WhitePieceList[2] = {1, 1};
        return p;
    }();
    Position copy = pos;
    MoveList moves;
    GenerateLegalMoves(copy, White, {}, moves);
    for (const Move& m : moves) EXPECT_TRUE(m.to.onBoard());
    EXPECT_EQ(moves.size(), 3);
}

TEST(MoveGen, ListHoldsTheLargestKnownPosition) {
    const Names names = LegalMoveNames("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - -");
    EXPECT_EQ(names.size(), 218u);
}

TEST(MakeMove, PromotionCastlingAndEnPassantUpdateBoardAndLists) {
    Position pos = testing::PositionFromFen("4k3/1P6/8/8/8/8/8/4K2R w K -");
    const int slot = [&] {
        for (int s = 1; s <= 16; ++s) if (pos.WhitePieceList[s] == SquareFromAlgebraic("b7")) return s;
        return 0;
    }();
    ApplyMove(pos, White, MoveOf("b7", "b8"), "N");
    EXPECT_EQ(pos.GameBoard[SquareFromAlgebraic("b8")], Piece::Knight);
    EXPECT_EQ(pos.WhitePieceList[slot], SquareFromAlgebraic("b8"));
    ApplyMove(pos, White, MoveOf("e1", "g1"), "");
    EXPECT_EQ(pos.GameBoard[SquareFromAlgebraic("f1")], Piece::Rook);
    EXPECT_EQ(pos.GameBoard[SquareFromAlgebraic("h1")], 0);
    EXPECT_EQ(pos.KingState[White].square, SquareFromAlgebraic("g1"));
    EXPECT_TRUE(pos.KingState[White].CastleFlags & Castle::KingMoved);

    Position bare = testing::PositionFromFen("4k3/8/8/8/8/8/1p6/4K3 b - -");
    ApplyMove(bare, Black, MoveOf("b2", "b1"), "");  // no letter: a queen
    EXPECT_EQ(bare.GameBoard[SquareFromAlgebraic("b1")], -Piece::Queen);
    ApplyMove(bare, White, MoveOf("e1", "e2"), "Q");  // a letter on a king move changes nothing
    EXPECT_EQ(bare.GameBoard[SquareFromAlgebraic("e2")], Piece::King);

    Position ep = testing::PositionFromFen("4k3/8/8/3Pp3/8/8/8/4K3 w - -");
    ApplyMove(ep, White, MoveOf("d5", "e6"), "");
    EXPECT_EQ(ep.GameBoard[SquareFromAlgebraic("e5")], 0);
    for (int s = 1; s <= 16; ++s) EXPECT_NE(ep.BlackPieceList[s], SquareFromAlgebraic("e5"));

    Position none = ep;
    ApplyMove(none, White, Move{}, "Q");
    EXPECT_EQ(none, ep);
}

}  // namespace
}  // namespace tavrel
