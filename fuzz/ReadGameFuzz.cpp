// Reading every indexed game of arbitrary bytes through the lexer, then replaying each through
// the core.

#include <string_view>

#include "FuzzSupport.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace tavrel;
    pgn::PgnFile file(fuzz::BufferSizeFor(data, size));
    if (!file.Open(fuzz::AsFile(data, size)).empty()) fuzz::Fail("cannot open the input");
    const pgn::GameIndex index = pgn::IndexGames(file);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static GameState state;
    // Game 0 stands for a file without games, which the window reads from its first byte.
    for (std::int64_t k = index.GameCount() == 0 ? 0 : 1; k <= index.GameCount() && k <= 64; ++k) {
        const auto from = static_cast<std::size_t>(index.OffsetOf(k) - 1);
        const std::size_t to = k < index.GameCount() ? static_cast<std::size_t>(index.OffsetOf(k + 1) - 1) : size;
        if (from > to || to > size) fuzz::Fail("the index's offsets run backwards or past the file");
        // A copy of exactly the game's bytes, so that a read past them is caught.
        const std::string game(bytes.substr(from, to - from));
        const pgn::GameRecord record = pgn::ReadGame(game);
        if (record.rows.size() > pgn::kMaxMoveRows) fuzz::Fail("more rows than the reader keeps");
        for (const auto& [white, black] : record.rows) {
            if (white.size() > pgn::kMaxMoveTextBytes + 1 || black.size() > pgn::kMaxMoveTextBytes + 1) {
                fuzz::Fail("a move text longer than the reader keeps");
            }
        }
        if ((record.outcome == pgn::GameRecord::Outcome::AtEnd) != game.empty()) {
            fuzz::Fail("a game read as at its end, or not, against its bytes");
        }
        if (record.outcome != pgn::GameRecord::Outcome::Read && !record.rows.empty()) {
            fuzz::Fail("rows read from a game without movetext");
        }
        // The annotated game has at least the main line's moves.
        std::size_t mainMoves = 0;
        for (const pgn::MovetextItem& item : pgn::ReadAnnotatedGame(game).items) {
            mainMoves += item.kind == pgn::MovetextItem::Kind::Move && item.depth == 0;
        }
        std::size_t rowMoves = 0;
        for (const auto& [white, black] : record.rows) {
            rowMoves += !white.empty() && white != "1-0" && white != "0-1" && white != "1/2-1/2";
            rowMoves += !black.empty() && black != "1-0" && black != "0-1" && black != "1/2-1/2";
        }
        if (!record.rowsDropped && rowMoves > mainMoves) fuzz::Fail("rows hold moves that the annotated game lacks");
        pgn::ReadTagPairs(game);
        fuzz::ReplayAndCompare(state, record);
    }
    return 0;
}
