#include "GameCheck.h"

#include "core/MakeMove.h"
#include "core/Notation.h"

namespace tavrel {

using notation::IsDecidedResult;

void GameCheck::Clear() {
    plies = 0;
    unmatched.clear();
    ambiguous.clear();
    fens.clear();
    final.clear();
    error.clear();
}

void CheckReplay::AppendPosition(std::string& out, int sideToMove) const {
    AppendFenPlacement(out, state_.GameBoard);
    out += sideToMove == White ? " w" : " b";
}

void CheckReplay::Start(std::string_view fen, std::string_view variant, bool blackStarts) {
    check_.Clear();
    state_.LoadStart(fen, variant);
    state_.SetUpStartPosition();
    toMove_ = state_.SideToMove;
    side_ = blackStarts ? Black : White;
    // Before the game's first half-move the FEN's en passant square speaks for the move before.
    last_ = state_.SetUp && (side_ == White || state_.BlackStarts()) ? state_.SetUp->opponentLast : Move{};
    if (!Replays()) check_.error = state_.StartProblem;
    // A start the program accepts never has the side not to move in check.
    known_ = CheckState::Unknown;
    otherClear_ = side_ == state_.SideToMove;
}

void CheckReplay::HalfMove(std::string_view text) {
    const int side = side_;
    side_ = static_cast<int16_t>(-side_);
    if (!Replays()) return;
    if (text.empty() || IsDecidedResult(text)) {
        last_ = {};
        known_ = CheckState::Unknown;
        otherClear_ = false;
        return;
    }
    ++check_.plies;
    SanQuery query;
    const TextMatch match = MatchText(state_, side, last_, text, query, known_);
    if (!match.move.IsNone()) {
        ApplyMove(state_, side, match.move, query.hasPromotion ? std::string_view(query.promotion) : "");
        // A legal move leaves its own king out of check.
        known_ = otherClear_ ? CheckAfter(state_, side, match.move) : CheckState::Unknown;
        otherClear_ = true;
    } else {
        // The side passes, perhaps in check, and the other side moves: nothing is known.
        known_ = CheckState::Unknown;
        otherClear_ = false;
        // A null move passes on purpose: the position stays and the other side is to move.
        if (!IsNullMoveText(text)) {
            check_.unmatched.emplace_back(check_.plies, std::string(text));
            if (match.Ambiguous()) check_.ambiguous.emplace_back(check_.plies, match);
        }
    }
    last_ = match.move;
    toMove_ = static_cast<int16_t>(-side);
    if (fens_) AppendPosition(check_.fens.emplace_back(), toMove_);
}

void CheckReplay::Finish() {
    // The side to move follows the last ply actually played.
    const int toMove = !Replays() ? state_.SideToMove : check_.plies > 0 ? toMove_ : (state_.BlackStarts() ? Black : White);
    AppendPosition(check_.final, toMove);
}

GameCheck CheckGame(GameState& state, const pgn::GameRecord& game, bool wantFens) {
    GameCheck check;
    CheckReplay replay(state, check, wantFens);
    replay.Start(game.Fen, game.Variant, game.blackStarts);
    for (std::size_t i = 0; i < game.rows.size(); ++i) {
        if (i > 0 || !game.blackStarts) replay.HalfMove(game.rows[i].first);
        replay.HalfMove(game.rows[i].second);
    }
    replay.Finish();
    return check;
}

}  // namespace tavrel
