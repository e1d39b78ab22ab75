#include "GameState.h"

namespace tavrel {

void GameState::SetUpStartPosition() {
    static_cast<Position&>(*this) = StartPosition();
    MoveNumber = 1;
    SideToMove = White;
    AnalysisBoard.CopyPlayingSquaresFrom(GameBoard);
}

void GameState::LoadMoveTexts(const std::vector<std::pair<std::string, std::string>>& rows) {
    Moves.Clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        MoveRow& row = Moves.Row(static_cast<int>(i) + 1);
        row.white.text = rows[i].first;
        row.black.text = rows[i].second;
    }
}

}  // namespace tavrel
