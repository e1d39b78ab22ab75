#pragma once
// The check tool's --headers: each game's line of JSON, with its number, offset and every tag
// pair in file order.

#include <functional>
#include <string_view>

namespace tavrel::pgn {
class GameSource;
}

namespace tavrel {

// Writes every game's line, read in runs of games on `threads` threads: `emit` gets runs of
// whole lines in game order, on the calling thread.
void WriteHeaderLines(pgn::GameSource& source, const std::function<void(std::string_view)>& emit, int threads);

}  // namespace tavrel
