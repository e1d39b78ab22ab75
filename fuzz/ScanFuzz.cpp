// The scan over arbitrary bytes, checked against the rule written out the slow way: one byte at a
// time, a "[" followed by "EVENT " in any case opens a game, the six are consumed either way,
// and a "[" among the last eight bytes is never examined.

#include <cctype>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "pgn/GameIndex.h"

namespace {

std::vector<std::int64_t> SlowScan(const unsigned char* data, std::size_t size) {
    std::vector<std::int64_t> offsets;
    const auto length = static_cast<std::int64_t>(size);
    for (std::int64_t p = 1; p <= length - 8;) {
        if (data[p - 1] != '[') {
            ++p;
            continue;
        }
        bool event = true;
        for (int i = 0; i < 6; ++i) event = event && std::toupper(data[p + i]) == "EVENT "[i];
        if (event) offsets.push_back(p);
        p += 7;
    }
    return offsets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace tavrel;
    pgn::PgnFile file(fuzz::BufferSizeFor(data, size));
    if (!file.Open(fuzz::AsFile(data, size)).empty()) fuzz::Fail("cannot open the input");
    // Tiny blocks and several parts put block and part boundaries inside runs of brackets.
    pgn::ScanOptions options;
    if (size > 1) {
        options.blockBytes = 1 + data[1] % 61;
        options.workers = 1 + data[size - 1] % 3;
    }
    const pgn::GameIndex index = pgn::IndexGames(file, {}, options);
    if (index.GameOffsets != SlowScan(data, size)) fuzz::Fail("the scan disagrees with the rule");
    if (file.Position() != index.OffsetOf(1)) fuzz::Fail("the file is not left at game 1");
    return 0;
}
