#pragma once
// Writing a chosen set of games to a new PGN file, each as it stands in the open file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pgn/GameSource.h"

namespace tavrel::session {

// Writes games `games` (numbers from 1, in this order) of `source` to `target`, byte for byte;
// a game whose bytes do not end a line is followed by a blank line so that the next one starts
// a line of its own. The text goes to a temporary file beside the target, renamed over it only
// when complete: a failure leaves the target as it was and no partial file. The open file itself
// is refused as a target. Returns why it failed, or nothing.
std::optional<std::string> SaveGames(pgn::GameSource& source, const std::vector<std::int64_t>& games,
                                     const std::string& target);

}  // namespace tavrel::session
