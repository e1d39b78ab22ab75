#pragma once
// Replays games by number on its own handle of the file, for "Check the games": what matters is
// how many move texts match no legal move, and the first of them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/GameState.h"
#include "pgn/PgnFile.h"

namespace tavrel::ui {

struct CheckedGame {
    std::int32_t unmatched = 0;  // move texts that matched no legal move
    std::string firstUnmatched;  // the first of them, as written
};
using CheckBatch = std::vector<CheckedGame>;

class GameChecker {
public:
    GameChecker(const pgn::FileRef& file, std::shared_ptr<const std::vector<std::int64_t>> offsets);
    // Games first to first + count - 1 (from 1).
    CheckBatch Check(std::int64_t first, std::int64_t count);

private:
    pgn::PgnFile file_;
    std::string bytes_;  // the game being checked
    std::shared_ptr<const std::vector<std::int64_t>> offsets_;
    GameState state_;  // reused: a game state is large
};

}  // namespace tavrel::ui
