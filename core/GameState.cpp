#include "GameState.h"

#include "Variant.h"

namespace tavrel {

void GameState::SetUpStartPosition() {
    static_cast<Position&>(*this) = SetUp ? SetUp->position : StartPosition();
    MoveNumber = 1;
    SideToMove = SetUp ? SetUp->side : White;
    AnalysisBoard.CopyPlayingSquaresFrom(GameBoard);
}

void GameState::LoadStart(std::string_view fen, std::string_view variant) {
    SetUp.reset();
    // Most games start from the usual position: no need to ask about variants.
    if (fen.empty() && variant.empty()) {
        StartProblem.clear();
        return;
    }
    StartProblem = VariantProblem(variant, fen);
    if (fen.empty()) return;
    FenResult result = ParseFen(fen);
    if (result.setUp) {
        SetUp = std::move(result.setUp);
    } else if (StartProblem.empty()) {
        StartProblem = "Start position could not be read: " + result.error;
    }
}

void GameState::Load(const std::vector<std::pair<std::string, std::string>>& rows, std::string_view fen,
                     std::string_view variant) {
    LoadMoveTexts(rows);
    LoadStart(fen, variant);
    SetUpStartPosition();
    LastSliderValue = -1;
}

void GameState::LoadMoveTexts(const std::vector<std::pair<std::string, std::string>>& rows) {
    Moves.Clear();
    Unplayable.reset();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        MoveRow& row = Moves.Row(static_cast<int>(i) + 1);
        row.white.text = rows[i].first;
        row.black.text = rows[i].second;
    }
}

}  // namespace tavrel
