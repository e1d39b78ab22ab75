#include <gtest/gtest.h>

#include "core/LineReplay.h"

namespace tavrel {
namespace {

GameState GameOf(const std::vector<std::pair<std::string, std::string>>& rows, const std::string& fen = "") {
    GameState game;
    game.Load(rows, fen);
    return game;
}

// Set up at move 23 with Black to move, castling open to both and en passant on e3.
constexpr const char* kSetUp = "r3k2r/ppp2ppp/8/8/3pP3/8/PPP2PPP/R3K2R b KQkq e3 4 23";
const std::vector<std::pair<std::string, std::string>> kSetUpRows = {{"", "dxe3"}, {"O-O-O", "Kf8"}};

TEST(LineReplay, FenOfASetUpGameWithBlackToMove) {
    const GameState game = GameOf(kSetUpRows, kSetUp);
    EXPECT_EQ(GameFen(game, -1), "r3k2r/ppp2ppp/8/8/3pP3/8/PPP2PPP/R3K2R b KQkq e3 4 23");
    EXPECT_EQ(GameFen(game, 0), "r3k2r/ppp2ppp/8/8/8/4p3/PPP2PPP/R3K2R w KQkq - 0 24");
    EXPECT_EQ(GameFen(game, 1), "r3k2r/ppp2ppp/8/8/8/4p3/PPP2PPP/2KR3R b kq - 1 24");
    EXPECT_EQ(GameFen(game, 2), "r4k1r/ppp2ppp/8/8/8/4p3/PPP2PPP/2KR3R w - - 2 25");
}

TEST(LineReplay, FenOfTheGamePositionOnShow) {
    const GameState game = GameOf({{"e4", "e5"}, {"Nf3", "Nc6"}, {"Ke2", "Nf6"}, {"Ke1", "Rg8"}});
    struct Row {
        int v;
        const char* fen;
    };
    const Row rows[] = {
        {-1, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
        {0, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
        {2, "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2"},
        // The king walked out and back: White may no longer castle. The rook left h8: nor may Black there.
        {7, "r1bqkbr1/pppp1ppp/2n2n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w q - 6 5"},
    };
    for (const Row& row : rows) EXPECT_EQ(GameFen(game, row.v), row.fen) << "slider value " << row.v;
}

// Variations from the first position and after either side's move are replayed from the real files,
// and a set-up game's with Black to move in the game text's window test.
TEST(LineReplay, AVariationIsPlayedFromItsBranchAndStopsAtAnImpossibleMove) {
    const GameState game = GameOf({{"e4", "e5"}, {"Nf3", "Nc6"}});
    struct Row {
        const char* why;
        int branch;
        std::vector<std::string> moves;
        int played;
        const char* placement;
    };
    const Row rows[] = {
        {"a null move passes the turn", 0, {"--", "d4"}, 2, "rnbqkbnr/pppppppp/8/8/3PP3/8/PPP2PPP/RNBQKBNR"},
        {"en passant right after the branch", -1, {"e4", "a6", "e5", "d5", "exd6"}, 5,
         "rnbqkbnr/1pp1pppp/p2P4/8/8/8/PPPP1PPP/RNBQKBNR"},
        {"an impossible move ends it", 1, {"Nf3", "Qh4", "Qxh4", "d6"}, 2,
         "rnb1kbnr/pppp1ppp/8/4p3/4P2q/5N2/PPPP1PPP/RNBQKB1R"},
    };
    for (const Row& row : rows) {
        const LinePosition reached = PlayLine(GamePositionAt(game, row.branch), row.moves);
        EXPECT_EQ(reached.played, row.played) << row.why;
        EXPECT_EQ(FenPlacement(reached.position.GameBoard), row.placement) << row.why;
    }
}

}  // namespace
}  // namespace tavrel
