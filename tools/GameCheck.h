#pragma once
// Replaying every half-move of a game as the viewer would, for the check tool and the tests.

#include <string>
#include <utility>
#include <vector>

#include "core/GameState.h"
#include "pgn/GameRecord.h"

namespace tavrel {

struct GameCheck {
    int plies = 0;  // half-move texts, leaving out empty entries and results
    std::vector<std::pair<int, std::string>> unmatched;  // (1-based ply, text)
    std::vector<std::string> fens;  // "<placement> <w|b>" after each ply, when asked for
    std::string final;              // the same after the last ply
    std::string error;              // why the game cannot be replayed at all (no ply is played)
};

// Plays the game's rows from its start (the FEN's position, or the initial one), one half-move
// after another through the matcher, on `state` (reused between games to spare allocations).
GameCheck CheckGame(GameState& state, const pgn::GameRecord& game, bool wantFens);

}  // namespace tavrel
