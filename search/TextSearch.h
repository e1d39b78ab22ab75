#pragma once
// The questions of PositionSearch.h answered from the games' text alone, for a file whose
// openings are not kept (yet). Each game is read only as far as it can still reach the position:
// most are ruled out within a few half-moves, when a pawn leaves a square it keeps in the
// position or a capture leaves fewer men than it has. The answer is the one Search gives.

#include "PositionSearch.h"

namespace tavrel::search {

SearchResult SearchText(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
                        const SearchOptions& options = {});

}  // namespace tavrel::search
