// Opening names by position. The names expected of real games were checked by hand against the
// moves of each game and the lines of data/openings.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "openings/OpeningNames.h"
#include "pgn/GameSource.h"

namespace tavrel::openings {
namespace {

std::string NameOf(const std::string& game) {
    const auto opening = GameOpening(game);
    return opening ? std::string(opening->eco) + " " + std::string(opening->name) : "";
}

TEST(OpeningNamesTest, NamesTheLastNamedPositionAlongTheGame) {
    const struct {
        const char* what;
        const char* game;
        const char* name;
    } rows[] = {
        {"the line as the table has it", "1. d4 Nf6 2. c4 e6 3. Nc3 Bb4 *", "E20 Nimzo-Indian Defense"},
        {"another move order to the same position", "1. c4 e6 2. Nc3 Nf6 3. d4 Bb4 *", "E20 Nimzo-Indian Defense"},
        {"moves past the last named position keep its name", "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. h4 h5 5. a4 *",
         "C70 Ruy Lopez: Morphy Defense"},
        {"a set-up game standing on a named position",
         "[FEN \"r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3\"]\n\n3... a6 *",
         "C70 Ruy Lopez: Morphy Defense"},
        {"a set-up game away from every named position", "[FEN \"8/8/4k3/8/8/4K3/4P3/8 w - - 0 1\"]\n\n1. e4 *", ""},
        {"a game of another variant", "[Variant \"Antichess\"]\n\n1. e3 b5 *", ""},
        {"the first position alone", "*", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(NameOf(row.game), row.name) << row.what;
}

// Famous games and games of the real files: where a game transposes or the file's ECO tag says
// otherwise, the position decides. (The header's test shows three more: the Immortal and Opera
// games, and Kramnik-Tiviakov.)
TEST(OpeningNamesTest, RealGamesHaveTheNamesCheckedByHand) {
    const struct {
        std::string file;
        std::int64_t game;
        const char* name;
    } rows[] = {
        // The Evergreen Game, 7...d3.
        {TAVREL_SOURCE_DIR "/samples/famous-games.pgn", 3, "C52 Italian Game: Evans Gambit, Dufresne Defense"},
        // Reti-Tartakower: 3.Nc3 dxe4 4.Nxe4 stands where the table's 3.Nd2 line stands.
        {TAVREL_SOURCE_DIR "/samples/famous-games.pgn", 4, "B15 Caro-Kann Defense: Main Line"},
        // Spassky-Bronstein: the tag says E40 (4.e3), the game played 4.Nf3.
        {TAVREL_SHARED_PGN "/moscow64.pgn", 2, "E21 Nimzo-Indian Defense: Three Knights Variation"},
    };
    for (const auto& row : rows) {
        if (!std::filesystem::exists(row.file)) continue;
        pgn::GameSource source;
        ASSERT_EQ(source.Open(row.file), "") << row.file;
        EXPECT_EQ(NameOf(std::string(source.GameBytes(row.game))), row.name) << row.file << " game " << row.game;
    }
}

}  // namespace
}  // namespace tavrel::openings
