// When two positions are the same position: the key, and the en passant square it counts.

#include <gtest/gtest.h>

#include "core/Fen.h"
#include "core/MoveSan.h"
#include "core/PositionKey.h"

namespace tavrel {
namespace {

std::uint64_t KeyOf(const char* fen) {
    FenSetUp s = *ParseFen(fen).setUp;
    return PositionKey(s.position, s.side, s.opponentLast);
}

TEST(PositionKey, SamePositionOnlyWhenEverythingThatDecidesPlayAgrees) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        // Move counters do not count.
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 5 9", true},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1", false},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R w Kkq - 0 1", false},
        // A double step no pawn can take back leaves no en passant square.
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", true},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", false},
        // The capture would open the fifth rank onto the king: not legal, so no square.
        {"8/8/8/K2pP2r/8/8/8/7k w - d6 0 1", "8/8/8/K2pP2r/8/8/8/7k w - - 0 1", true},
    };
    for (const auto& row : rows) EXPECT_EQ(KeyOf(row.a) == KeyOf(row.b), row.same) << row.a << " / " << row.b;
}

TEST(MoveSan, WritesWhatTheMatcherReads) {
    const struct {
        const char* fen;
        Move move;
        const char* promotion;
        const char* san;
    } rows[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {{7, 5}, {5, 5}}, "", "e4"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", {{8, 5}, {8, 3}}, "", "O-O-O"},
        {"4k3/8/8/8/8/7K/8/R6R w - - 0 1", {{8, 1}, {8, 4}}, "", "Rad1"},
        {"4k3/8/8/8/R7/8/8/R3K3 w - - 0 1", {{8, 1}, {6, 1}}, "", "R1a3"},
        {"6k1/5ppp/8/8/8/8/8/R3K3 w - - 0 1", {{8, 1}, {1, 1}}, "", "Ra8#"},
        {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", {{2, 2}, {1, 2}}, "N", "b8=N"},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", {{4, 5}, {3, 4}}, "", "exd6"},
    };
    for (const auto& row : rows) {
        const FenSetUp s = *ParseFen(row.fen).setUp;
        EXPECT_EQ(MoveSan(s.position, s.side, s.opponentLast, row.move, row.promotion), row.san) << row.fen;
    }
}

}  // namespace
}  // namespace tavrel
