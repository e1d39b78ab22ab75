#include <gtest/gtest.h>

#include "Positions.h"
#include "core/MakeMove.h"
#include "core/MoveGen.h"
#include "core/SanMatch.h"

namespace tavrel {
namespace {

using testing::MoveOf;

// A game state at a FEN position with the side to move set, the way the replay calls the matcher.
GameState StateAt(const std::string& fen) {
    const FenResult result = ParseFen(fen);
    GameState state;
    static_cast<Position&>(state) = result.setUp->position;
    state.SideToMove = result.setUp->side;
    state.SetUp = result.setUp;  // its en passant square
    return state;
}

// Both ways of matching, which must agree: over the full list and by the targeted walk.
Move Match(GameState& state, const std::string& text) {
    GenerateLegalMoves(state, state.SideToMove);
    GameState copy = state;
    const Move listed = MatchSanMove(state, text);
    const Move targeted = FindSanMove(copy, text);
    EXPECT_EQ(listed, targeted) << text;
    return listed;
}

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// The plain texts of real games (disambiguation by file and rank, captures, castling, promotion
// with check, annotation marks) are decided by the replay of the real files against the references.
TEST(SanMatch, ReadsPiecesSquaresAndDisambiguation) {
    struct Row {
        const char* fen;
        const char* text;
        const char* from;
        const char* to;
    };
    const Row rows[] = {
        {kStart, "Pe4", "e2", "e4"},
        {"4k3/8/8/8/8/5N2/8/1N2K3 w - -", "Nfd2", "f3", "d2"},
        {"4k3/8/8/8/8/8/8/Q1Q1K2Q w - -", "Qa1b2", "a1", "b2"},
        {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "Pxd5", "e4", "d5"},
        {"4k3/8/8/8/8/8/8/R3K2R w KQ -", "Kg1", "e1", "g1"},  // castling is the king's move
        // Annotations before or after the check mark are not part of the square.
        {kStart, "e4?!", "e2", "e4"},
        {"4k3/8/8/8/8/8/8/3RK3 w - -", "Rd8+!!", "d1", "d8"},
        {"4k3/8/8/8/8/8/8/3RK3 w - -", "Rd8!+", "d1", "d8"},
        // Promotion written without "=".
        {"7k/4P3/8/8/8/8/8/4K3 w - -", "e8Q", "e7", "e8"},
        {"4k3/8/8/8/8/8/1p6/R3K3 b - -", "bxa1N+", "b2", "a1"},
        // Coordinates, where SAN names nothing: the piece is the one on the first square. Plain ones
        // and castling in them are replayed from a real file.
        {kStart, "b1-c3", "b1", "c3"},
        {"4k3/8/8/8/8/8/8/3r2RK w - -", "g1xd1", "g1", "d1"},
        {"r3k2r/8/8/8/8/8/8/4K3 b kq -", "e8c8+", "e8", "c8"},
        {"7k/4P3/8/8/8/8/8/4K3 w - -", "e7e8q", "e7", "e8"},
        // An en passant mark after the capture.
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "dxe3e.p.", "d4", "e3"},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "dxe3 e.p.+", "d4", "e3"},
        // Castling in every spelling, so that a variation's "0-0" plays as the score's does; and
        // "++" as a check mark.
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "0-0", "e1", "g1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "o-o-o+", "e8", "c8"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "O-0-O", "e1", "c1"},
        {"4k3/8/8/8/8/8/8/3RK3 w - -", "Rd8++", "d1", "d8"},
    };
    for (const Row& row : rows) {
        GameState state = StateAt(row.fen);
        EXPECT_EQ(Match(state, row.text), MoveOf(row.from, row.to)) << row.fen << " " << row.text;
        EXPECT_EQ(state.Moves.ResolvedSquares(state.SideToMove, 1), MoveOf(row.from, row.to));
    }
}

TEST(SanMatch, MatchesNothingForTextsThatNameNoLegalMove) {
    const char* texts[] = {"", "e", "=", "=Q", "+", "!", "e5", "0-0", "o-o", "1/2-1/2", "1-0",
                           "nf3", "Ke2", "Nf3xx", "e9", "Zf3", "O-O", "x", "abcdefgh", "Q", "Ra1",
                           "g8f6", "e2e5", "a1a2", "e1g1", "e2e4e"};
    for (const char* text : texts) {
        GameState state = StateAt(kStart);
        EXPECT_TRUE(Match(state, text).IsNone()) << "'" << text << "'";
        EXPECT_EQ(state.Match, Move{}) << text;
        EXPECT_TRUE(state.Moves.ResolvedSquares(White, 1).IsNone());
    }
}

TEST(SanMatch, PromotionLetterIsStoredEvenWithoutAMatch) {
    GameState state = StateAt(kStart);
    EXPECT_TRUE(Match(state, "e8=N").IsNone());
    EXPECT_EQ(state.Moves.MovePromotion(1, White), "N");
    for (const char* text : {"b1=R", "b2b1r", "b2b1R"}) {
        GameState under = StateAt("4k3/8/8/8/8/8/1p6/4K3 b - -");
        Match(under, text);
        MakeMove(under, under.Match);
        EXPECT_EQ(under.GameBoard[SquareFromAlgebraic("b1")], -Piece::Rook) << text;
    }
}

TEST(SanMatch, EnPassantIsTheDiagonalMoveToTheEmptySquare) {
    GameState state = StateAt("4k3/8/8/3pP3/8/8/8/4K3 w - -");
    state.MoveNumber = 2;
    state.Moves.MoveSquares(Black, 1) = MoveOf("d7", "d5");
    EXPECT_EQ(Match(state, "exd6"), MoveOf("e5", "d6"));
    state.Moves.MoveSquares(Black, 1) = MoveOf("d6", "d5");
    EXPECT_TRUE(Match(state, "exd6").IsNone());
}

// A text that two pieces could play names no move: the pieces that could are given instead. A pin
// that leaves one of them unable to move makes the text plain again.
TEST(SanMatch, AnAmbiguousTextNamesNoMove) {
    const struct {
        const char* fen;
        const char* text;
        std::vector<const char*> from;  // one square: the move made; more: the pieces that fit
    } rows[] = {
        {"4k3/8/8/8/8/5N2/8/1N2K3 w - -", "Nd2", {"b1", "f3"}},
        {"4k3/8/8/8/8/2N5/8/4K1N1 w - -", "Ne2", {"c3", "g1"}},
        {"4k3/8/8/b7/8/2N5/8/4K1N1 w - -", "Ne2", {"g1"}},  // the c3 knight is pinned
        {"4k3/8/8/8/8/8/8/R4RK1 w - -", "Rd1", {"a1", "f1"}},
        {"4k3/8/8/8/8/8/8/R3K2R w - -", "Rd1", {"a1"}},  // the king stands between
        {"4k3/8/8/8/8/8/8/Q1Q1K3 w - -", "Qb2", {"a1", "c1"}},
    };
    for (const auto& row : rows) {
        GameState state = StateAt(row.fen);
        const Move made = Match(state, row.text);
        SanQuery query;
        const TextMatch match = MatchText(state, state.SideToMove, {}, row.text, query);
        ASSERT_EQ(match.fits, static_cast<int>(row.from.size())) << row.fen << " " << row.text;
        for (std::size_t i = 0; i < row.from.size(); ++i) {
            EXPECT_EQ(AlgebraicName(match.from[i]), row.from[i]) << row.fen << " " << row.text;
        }
        EXPECT_EQ(made, row.from.size() == 1 ? match.move : Move{}) << row.fen << " " << row.text;
        EXPECT_EQ(match.Ambiguous(), row.from.size() > 1);
    }
}

}  // namespace
}  // namespace tavrel
