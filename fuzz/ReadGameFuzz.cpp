// Reading every indexed game of arbitrary bytes, then replaying each through the core.

#include "FuzzSupport.h"
#include "pgn/AnnotatedGame.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace tavrel;
    pgn::PgnFile file(fuzz::BufferSizeFor(data, size));
    if (!file.Open(fuzz::AsFile(data, size)).empty()) fuzz::Fail("cannot open the input");
    const pgn::GameIndex index = pgn::IndexGames(file);
    static GameState state;
    // Game 0 stands for a file without games, which the window reads from its first byte.
    for (std::int64_t k = index.GameCount() == 0 ? 0 : 1; k <= index.GameCount() && k <= 64; ++k) {
        file.Seek(index.OffsetOf(k));
        const pgn::GameRecord game = pgn::ReadGame(file);
        if (game.rows.size() > pgn::kMaxMoveRows) fuzz::Fail("more rows than the reader keeps");
        for (const auto& [white, black] : game.rows) {
            if (white.size() > pgn::kMaxMoveTextBytes + 1 || black.size() > pgn::kMaxMoveTextBytes + 1) {
                fuzz::Fail("a move text longer than the reader keeps");
            }
        }
        if (game.outcome == pgn::GameRecord::Outcome::AtEnd && !game.rows.empty()) {
            fuzz::Fail("moves read from a file at its end");
        }
        // Handing the comments and variations to a receiver must not change what is read.
        file.Seek(index.OffsetOf(k));
        pgn::AnnotationCollector collector;
        const pgn::GameRecord annotated = pgn::ReadGame(file, &collector);
        if (annotated.rows != game.rows || annotated.lastRowFlag != game.lastRowFlag) {
            fuzz::Fail("a receiver changed the rows");
        }
        fuzz::ReplayAndCompare(state, game);
    }
    return 0;
}
