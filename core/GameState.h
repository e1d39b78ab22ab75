#pragma once
// The one object that holds the state of the game on show. The window owns one; the check tool
// and the tests make their own.

#include <string>

#include "Board.h"
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

    // Back to the initial position: board, side, move number, piece lists, king records, and
    // the analysis board. The game's moves and the slider value are left alone.
    void SetUpStartPosition();

    // Replaces the game's moves; promotions and resolved squares start empty.
    void LoadMoveTexts(const std::vector<std::pair<std::string, std::string>>& rows);
};

}  // namespace tavrel
