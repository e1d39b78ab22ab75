// The scan over arbitrary bytes, checked against the rule of where games start written out the
// slow way (tests/support/GameStartsByteByByte.h), with blocks and parts split anywhere; and the
// reader's stop, found by resuming the rule at each game, against the index's next game.

#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "pgn/GameIndex.h"
#include "pgn/GameStarts.h"
#include "support/GameStartsByteByByte.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace tavrel;
    pgn::PgnFile file(fuzz::BufferSizeFor(data, size));
    if (!file.Open(fuzz::AsFile(data, size)).empty()) fuzz::Fail("cannot open the input");
    // Tiny blocks and several parts put block and part boundaries inside tags, comments and markers;
    // whole blocks let the scan pass over a game's body at once.
    pgn::ScanOptions options;
    if (size > 1) {
        options.blockBytes = data[1] % 4 == 0 ? std::size_t{1} << 16 : 1 + data[1] % 61;
        options.workers = 1 + data[size - 1] % 3;
    }
    const pgn::GameIndex index = pgn::IndexGames(file, {}, options);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (index.GameOffsets != testing::GameStartsByteByByte(text)) fuzz::Fail("the scan disagrees with the rule");
    if (file.Position() != index.OffsetOf(1)) fuzz::Fail("the file is not left at game 1");
    for (std::int64_t k = 1; k <= index.GameCount(); ++k) {
        const std::int64_t next = k < index.GameCount() ? index.OffsetOf(k + 1) : file.Length() + 1;
        if (pgn::NextGameStart(file, index.OffsetOf(k)) != next) fuzz::Fail("a game read past its end or stopped short");
    }
    return 0;
}
