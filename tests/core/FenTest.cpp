#include <gtest/gtest.h>

#include "Positions.h"
#include "core/Fen.h"

namespace tavrel {
namespace {

TEST(Fen, APositionThatCannotBeUsedSaysWhy) {
    const struct {
        const char* fen;
        const char* error;
    } kRows[] = {
        {"", "the FEN has fewer than 4 fields"},
        {"4k3/8/8/8/8/8/8/4K3 w -", "the FEN has fewer than 4 fields"},
        {"4k3/8/8/8/8/8/8/4K3 x - -", "the side to move is not w or b"},
        {"4k3/8/8/8/8/8/4K3 w - -", "the placement does not have 8 ranks"},
        {"4k3/8/8/8/8/8/8/8/4K3 w - -", "the placement has more than 8 ranks"},
        {"4k3/8/8/8/8/8/8/4K2 w - -", "rank 1 does not add up to 8 squares"},
        {"4k3/8/8/8/8/8/8/4K2X w - -", "unknown letter 'X' in the placement"},
        {"8/8/8/8/8/8/8/4K3 w - -", "Black has no king"},
        {"4k3/8/8/8/8/8/8/8 b - -", "White has no king"},
        {"k3k3/8/8/8/8/8/8/4K3 w - -", "Black has more than one king"},
        {"4k3/8/8/8/8/8/8/4QK2 w - -", "the side not to move is in check"},
        {"4k3/8/8/8/8/P7/QQQQQQQQ/QQQQKQQQ b - -", "White has more than 16 pieces"},
        {"P3k3/8/8/8/8/8/8/4K3 w - -", "a pawn stands on the first or last rank"},
        {"4k3/8/8/8/8/8/8/4K2p b - -", "a pawn stands on the first or last rank"},
    };
    for (const auto& row : kRows) {
        const FenResult result = ParseFen(row.fen);
        EXPECT_FALSE(result.setUp) << row.fen;
        EXPECT_EQ(result.error, row.error) << row.fen;
    }
}

TEST(Fen, WhatOtherReadersDropIsDroppedQuietly) {
    // Rights without king and rook at home, and an en passant square no double step explains.
    const FenResult result = ParseFen("4k2r/8/8/8/8/8/8/R3K3 w KQkq e6");
    ASSERT_TRUE(result.setUp) << result.error;
    EXPECT_EQ(result.setUp->position.KingState[White].CastleFlags,
              Castle::KingSideBarred);  // no rook on h1
    EXPECT_EQ(result.setUp->position.KingState[Black].CastleFlags,
              Castle::QueenSideBarred);  // no rook on a8
    EXPECT_TRUE(result.setUp->opponentLast.IsNone());
    EXPECT_EQ(result.setUp->fullMoveNumber, 1);  // move counters missing

    EXPECT_EQ(ParseFen("4k3/8/8/8/8/8/8/4K3 b - - 0 0").setUp->fullMoveNumber, 1);
    EXPECT_EQ(ParseFen("4k3/8/8/8/8/8/8/4K3 b - - 0 x").setUp->fullMoveNumber, 1);
}

TEST(Fen, CastlingNeedsTheRightNotOnlyThePieces) {
    // King and rooks at home, but only the queen's side may castle.
    const auto moves = testing::LegalMoveNames("4k3/8/8/8/8/8/8/R3K2R w Q - 0 1");
    EXPECT_NE(std::find(moves.begin(), moves.end(), "e1c1"), moves.end());
    EXPECT_EQ(std::find(moves.begin(), moves.end(), "e1g1"), moves.end());
}

TEST(Fen, Chess960CastlingIsRecognised) {
    EXPECT_TRUE(NeedsChess960Castling("bqnbrkrn/pppppppp/8/8/8/8/PPPPPPPP/BQNBRKRN w GEge - 0 1"));
    EXPECT_FALSE(NeedsChess960Castling("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"));
}

}  // namespace
}  // namespace tavrel
