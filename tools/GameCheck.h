#pragma once
// Replaying every half-move of a game as the viewer would, for the check tool, the list's check
// and the tests.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/GameState.h"
#include "core/MoveGen.h"
#include "core/SanMatch.h"
#include "pgn/GameRecord.h"

namespace tavrel {

struct GameCheck {
    int plies = 0;  // half-move texts, leaving out empty entries and results
    std::vector<std::pair<int, std::string>> unmatched;  // (1-based ply, text)
    // The unmatched texts that more than one piece could play: (ply, the pieces that fit).
    std::vector<std::pair<int, TextMatch>> ambiguous;
    std::vector<std::string> fens;  // "<placement> <w|b>" after each ply, when asked for
    std::string final;              // the same after the last ply
    std::string error;              // why the game cannot be replayed at all (no ply is played)

    // Empties every field and keeps the memory, for the next game.
    void Clear();
};

// Plays one game's main line as its texts come, one half-move slot after another, without
// keeping the texts: the whole-file check hands it each move as the reader meets it. The
// position lives in a GameState that the next game reuses, so a move costs no allocation.
class CheckReplay {
public:
    CheckReplay(GameState& state, GameCheck& check, bool wantFens) : state_(state), check_(check), fens_(wantFens) {}

    // Starts the game from its FEN and Variant tag values (empty when absent). `blackStarts`:
    // the first slot is Black's, as a FEN with Black to move makes the game's rows count.
    // Clears the check.
    void Start(std::string_view fen, std::string_view variant, bool blackStarts);
    // The next slot's text. A move or a null move counts as a ply; an empty entry or a decided
    // result only takes the slot. A text that names no legal move (or several) leaves the
    // position, and the other side moves next.
    void HalfMove(std::string_view text);
    // Writes the final position.
    void Finish();

private:
    [[nodiscard]] bool Replays() const { return state_.StartProblem.empty(); }
    void AppendPosition(std::string& out, int sideToMove) const;

    GameState& state_;
    GameCheck& check_;
    bool fens_;
    int16_t side_ = White;
    Move last_;  // the previous slot's move, which alone decides en passant
    int16_t toMove_ = White;  // the side after the last ply played
    // What is known of the king of the side to move (in check or not), and whether the other
    // side's king is known to stand out of check: then the next move's check follows from what
    // that move changed alone (CheckAfter), and its legality tests are cheap.
    CheckState known_ = CheckState::Unknown;
    bool otherClear_ = false;
};

// The whole game at once from the reader's rows, on `state` (reused between games to spare
// allocations).
GameCheck CheckGame(GameState& state, const pgn::GameRecord& game, bool wantFens);

}  // namespace tavrel
