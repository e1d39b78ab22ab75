#include "GameSession.h"

#include <algorithm>

#include "core/Replay.h"

namespace tavrel::session {

std::optional<std::string> GameSession::OpenUnindexed(const std::string& path) {
    std::string why = source_.OpenUnindexed(path);
    // A file refused for what it holds leaves the open one, and the game on show, as they were.
    if (why.empty() || !source_.IsOpen()) current_ = 0;
    if (why.empty()) return std::nullopt;
    return why;
}

void GameSession::Indexed() {
    current_ = GameCount() > 0 ? 1 : 0;
}

void GameSession::Close() {
    source_.Close();
    current_ = 0;
}

std::optional<std::int64_t> GameSession::GameAt(GameStep step) const {
    std::int64_t target = 0;
    switch (step) {
        case GameStep::First:
            target = 1;
            break;
        case GameStep::Previous:
            target = current_ - 1;
            break;
        case GameStep::Next:
            target = current_ + 1;
            break;
        case GameStep::Last:
            target = GameCount();
            break;
    }
    if (target == current_ || !HasGame(target)) return std::nullopt;
    return target;
}

GameSession::ReadResult GameSession::ShowGame(std::int64_t number) {
    pgn::GameRecord record = source_.ReadGame(number);
    if (record.outcome == pgn::GameRecord::Outcome::AtEnd) return ReadResult::NotThere;
    current_ = number;
    record_ = std::move(record);
    game_.Load(record_.rows, record_.Fen, record_.Variant);
    FindUnplayable(game_, record_.SliderMax());
    // A game that cannot be replayed keeps its moves in the score, but the slider stays at its
    // start.
    range_ = {-1, game_.StartProblem.empty() ? record_.SliderMax() : -1, record_.LargeChange()};
    game_.LastSliderValue = -1;
    MoveToSliderValue(-1);
    return record_.Beeps() ? ReadResult::ShownBeeps : ReadResult::Shown;
}

void GameSession::ShowNoGame() {
    current_ = 0;
    record_ = {};
    game_.Load({});
    range_ = {};
    game_.LastSliderValue = -1;
    MoveToSliderValue(-1);
}

int GameSession::MoveToSliderValue(int v) {
    const int from = game_.LastSliderValue;
    ShowSliderValue(game_, v, range_.minimum);
    return from;
}

int GameSession::SliderValueOfLine(int line) const {
    // A game that starts with Black's move has no White half before it in the first line.
    return std::min(2 * line + 1 - (game_.BlackStarts() ? 1 : 0), range_.maximum);
}

pgn::AnnotatedGame GameSession::ReadAnnotated() {
    pgn::AnnotatedGame text;
    if (current_ > 0) text = source_.ReadAnnotatedGame(current_);
    // A set-up game is numbered as the score numbers it, from its FEN, whatever its movetext says.
    if (!record_.Fen.empty()) {
        text.firstMoveNumber = record_.firstMoveNumber;
        text.blackStarts = record_.blackStarts;
    }
    return text;
}

GameSession::VariationReached GameSession::VariationPosition(const pgn::AnnotatedGame& text,
                                                             int item) const {
    const pgn::AnnotatedGame::Path path = text.PathTo(item);
    const int branch = path.branch < 0 ? -1 : text.items[static_cast<std::size_t>(path.branch)].ply;
    std::vector<std::string> moves;
    for (int m : path.moves) moves.push_back(text.items[static_cast<std::size_t>(m)].text);
    LinePosition at = PlayLine(GamePositionAt(game_, branch), moves);
    const bool whole = at.played == static_cast<int>(moves.size());
    return {std::move(at), whole};
}

std::string GameSession::Fen() const {
    return GameFen(game_, game_.LastSliderValue);
}

std::optional<std::string> GameSession::GameBytes(std::int64_t limit) {
    return source_.ReadBytes(current_, limit);
}

}  // namespace tavrel::session
