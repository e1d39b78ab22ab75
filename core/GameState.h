#pragma once
// The one object that holds the state of the game on show. The window owns one; the check tool
// and the tests make their own.

#include <optional>
#include <string>
#include <string_view>

#include "Board.h"
#include "Fen.h"
#include "MoveList.h"
#include "MoveStore.h"

namespace tavrel {

struct GameState : Position {
    // Follows GameBoard after every set-up and applied move; the user edits it freely between.
    Board AnalysisBoard;
    int16_t SideToMove = White;
    int MoveNumber = 1;
    MoveStore Moves;
    MoveList LegalMoves;
    // The move the matcher found last; None when the text named no legal move.
    Move Match;
    // The slider value whose position GameBoard shows; -1 is the initial position.
    int LastSliderValue = -1;
    // The slider value of the first half-move whose text names no legal move, once FindUnplayable
    // has looked; none when every half-move can be played. The game reaches no position past it.
    std::optional<int> Unplayable;

    // The game's own start when its FEN tag sets one up; empty for the usual initial position.
    std::optional<FenSetUp> SetUp;
    // Why the game cannot be replayed (a FEN that cannot be used, a variant of chess); empty when
    // it can. The board then stays at the game's start.
    std::string StartProblem;

    // Back to the initial position: board, side, move number, piece lists, king records, and
    // the analysis board. The game's moves and the slider value are left alone.
    void SetUpStartPosition();

    // Takes the game's start from its FEN and Variant tag values (empty when absent).
    void LoadStart(std::string_view fen, std::string_view variant);
    // A set-up game with Black to move: its first row has no White half-move.
    [[nodiscard]] bool BlackStarts() const { return SetUp && SetUp->side == Black; }
    // Move numbers as the game counts them: a set-up game counts on from its FEN's number.
    [[nodiscard]] int ShownMoveNumber() const { return MoveNumber + (SetUp ? SetUp->fullMoveNumber - 1 : 0); }

    // A game to replay: its move texts (row n at rows[n - 1]) and its start (the FEN and Variant
    // tag values, empty when absent), shown at its start. Promotions and resolved squares start
    // empty, and no half-move is known to be unplayable until FindUnplayable looks.
    void Load(const std::vector<std::pair<std::string, std::string>>& rows, std::string_view fen = {},
              std::string_view variant = {});

  private:
    void LoadMoveTexts(const std::vector<std::pair<std::string, std::string>>& rows);
};

}  // namespace tavrel
