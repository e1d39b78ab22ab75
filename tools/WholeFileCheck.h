#pragma once
// The check tool's replay of a whole file: each game's bytes read by the lexer and its main line
// matched and made move by move as the lexer meets it, with no rows of move texts in between.

#include <cstdint>
#include <string>
#include <string_view>

#include "GameCheck.h"
#include "GamesInOrder.h"
#include "core/GameState.h"

namespace tavrel {

// One thread's replay. The position, the check and the tag values are kept from game to game,
// so that once the first games have sized them a game allocates nothing (a text that matches no
// move is kept for the report).
class CheckWorker final : public GameWorker {
public:
    explicit CheckWorker(bool wantFens) : fens_(wantFens) {}
    // Appends the game's JSON line (CheckReport.h).
    void Game(std::int64_t number, std::string_view bytes, std::string& out) override;

    // The values of the tags the report names and the replay starts from.
    struct Tags {
        std::string white, black, event, round, fen, variant;
    };
    bool allMatched = true;  // no game so far had a move that could not be read or a start that could not be used


private:
    bool fens_;
    GameState state_;
    GameCheck check_;
    Tags tags_;
    std::string text_;  // a move text rewritten for the matcher, its memory kept
};

}  // namespace tavrel
