#include <gtest/gtest.h>

#include "core/Fen.h"
#include "core/Perft.h"

namespace tavrel {
namespace {

struct PerftCase {
    const char* name;
    const char* fen;
    int depth;
    std::uint64_t nodes;
};

// Published counts of the standard test positions. They exercise castling through and out of
// check, en passant that uncovers a check, promotions and pins in every direction.
constexpr PerftCase kCases[] = {
    {"initial", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5, 4865609},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
    {"rook endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
    {"discovered", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
    // The published count of this one belongs to the symmetric position with Black's bishop on g4.
    {"symmetric", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 4,
     3894594},
};

TEST(Perft, StandardPositionsMatchPublishedCounts) {
    for (const PerftCase& c : kCases) {
        const FenResult fen = ParseFen(c.fen);
        ASSERT_TRUE(fen.setUp) << c.name << ": " << fen.error;
        EXPECT_EQ(Perft(fen.setUp->position, fen.setUp->side, fen.setUp->opponentLast, c.depth),
                  c.nodes)
            << c.name;
    }
}

}  // namespace
}  // namespace tavrel
