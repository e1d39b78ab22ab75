#include "GameCheck.h"

#include "core/Replay.h"
#include "core/SanMatch.h"

namespace tavrel {
namespace {

std::string PositionText(const GameState& state, int sideToMove) {
    return FenPlacement(state.GameBoard) + (sideToMove == White ? " w" : " b");
}

}  // namespace

GameCheck CheckGame(GameState& state, const pgn::GameRecord& game, bool wantFens) {
    GameCheck check;
    state.LoadMoveTexts(game.rows);
    state.LoadStart(game.Fen, game.Variant);
    state.SetUpStartPosition();
    if (!state.StartProblem.empty()) {
        check.error = state.StartProblem;
        check.final = PositionText(state, state.SideToMove);
        return check;
    }
    for (int n = 1; n <= state.Moves.RowCount(); ++n) {
        for (int side : {White, Black}) {
            state.MoveNumber = n;
            state.SideToMove = static_cast<int16_t>(side);
            const std::string& text = state.Moves.Row(n).Of(side).text;
            PlayHalfMove(state, false);
            if (text.empty() || pgn::IsResultText(text)) continue;
            ++check.plies;
            // A null move passes: the position stays and the other side is to move.
            if (state.Match.IsNone() && !IsNullMoveText(text)) check.unmatched.emplace_back(check.plies, text);
            if (wantFens) check.fens.push_back(PositionText(state, -side));
        }
    }
    // The side to move follows the last ply actually played.
    int toMove = state.BlackStarts() ? Black : White;
    for (int n = state.Moves.RowCount(); n >= 1 && check.plies > 0; --n) {
        const MoveRow& row = state.Moves.Row(n);
        const auto counts = [](const std::string& t) { return !t.empty() && !pgn::IsResultText(t); };
        if (counts(row.black.text)) { toMove = White; break; }
        if (counts(row.white.text)) { toMove = Black; break; }
    }
    check.final = PositionText(state, toMove);
    return check;
}

}  // namespace tavrel
