#include "GameWalk.h"

#include <algorithm>

#include "core/Fen.h"
#include "core/MakeMove.h"
#include "core/SanMatch.h"
#include "core/Variant.h"
#include "pgn/Lexer.h"

namespace tavrel::search {
namespace {

std::uint16_t LeadingNumber(std::string_view text, std::size_t maxDigits) {
    unsigned value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && digits < maxDigits && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<unsigned>(text[digits++] - '0');
    }
    return digits == 0 ? 0 : static_cast<std::uint16_t>(value);
}

class Walker final : public pgn::Visitor {
public:
    Walker(WalkedGame& game, int maxPlies, const char* windowEnd, bool wholeGame,
           std::vector<GameWalker::FirstMove>* firstMoves)
        : game_(game), maxPlies_(maxPlies), windowEnd_(windowEnd), wholeGame_(wholeGame), firstMoves_(firstMoves) {}

    pgn::Next Tag(std::string_view name, std::string_view value) override {
        if (KeepTag(name, value, game_, variant_)) resultTag_ = true;
        return pgn::Next::Go;
    }

    pgn::Next BeginMovetext() override {
        started_ = true;
        if (!StartGame()) {
            game_.excluded = true;
            game_.complete = true;
            return pgn::Next::Skip;
        }
        return pgn::Next::Go;
    }

    void Move(const pgn::MoveToken& token) override {
        if (token.depth != 0 || stopped_) return;
        if (!wholeGame_ && token.written.data() + token.written.size() >= windowEnd_) {
            stopped_ = true;  // the window may have cut this token: read more of the game
            return;
        }
        if (static_cast<int>(game_.codes.size()) >= maxPlies_) {
            stopped_ = true;
            full_ = true;
            return;
        }
        if (IsNullMoveText(token.san)) {
            game_.codes.push_back(kNullMove);
            opponentLast_ = {};
            side_ = -side_;
            return;
        }
        if (firstMoves_ && game_.codes.empty() && game_.fen.empty()) return FirstMove(token.san);
        SanQuery query;
        const tavrel::Move move = FindTextMove(Board(), side_, opponentLast_, token.san, query);
        if (move.IsNone()) {
            stopped_ = true;
            game_.complete = true;  // the rest cannot be replayed
            return;
        }
        const int promotion = IsPromotion(move) ? PromotionNumber(query.promotion) : 0;
        if (IsPromotion(move) && promotion == 0) {
            ApplyMove(position_, side_, move, "Q");
            game_.codes.push_back(EncodeMove(move, 1));
        } else {
            ApplyMove(position_, side_, move, PromotionLetter(promotion));
            game_.codes.push_back(EncodeMove(move, promotion));
        }
        opponentLast_ = move;
        side_ = -side_;
    }

    // Only the main line is kept.
    pgn::Next BeginVariation() override { return pgn::Next::Skip; }

    // Nothing after this move can change the walk: it stopped, and the outcome is known from the
    // Result tag (or, in a window, the whole game is read again anyway).
    [[nodiscard]] bool Done() const { return stopped_ && (resultTag_ || !wholeGame_); }

    void Result(std::string_view text, int depth) override {
        if (depth == 0 && !resultTag_) game_.outcome = OutcomeOf(text);
    }

    // The walk of this window is the game's answer: it read the whole game, or it kept all the
    // plies it may keep, or it met a move that is not legal before the window's end.
    [[nodiscard]] bool Settled() const {
        if (wholeGame_) return true;
        if (!started_ || !resultTag_) return false;
        return game_.complete || full_;
    }
    void Finish() {
        if (wholeGame_ && !full_) game_.complete = true;
        if (!started_ && game_.fen.empty() && !wholeGame_) return;
        if (!started_ && !StartGame()) game_.excluded = true;
    }

private:
    // The first move of a game from the start position, matched once for each way it is written.
    // No promotion can be among them.
    void FirstMove(std::string_view san) {
        auto known = std::find_if(firstMoves_->begin(), firstMoves_->end(),
                                  [san](const GameWalker::FirstMove& m) { return m.san == san; });
        if (known == firstMoves_->end()) {
            SanQuery query;
            const tavrel::Move move = FindTextMove(Board(), side_, opponentLast_, san, query);
            firstMoves_->push_back({std::string(san), move.IsNone() ? MoveCode{0} : EncodeMove(move, 0), !move.IsNone()});
            known = firstMoves_->end() - 1;
        }
        if (!known->legal) {
            stopped_ = true;
            game_.complete = true;  // the rest cannot be replayed
            return;
        }
        game_.codes.push_back(known->code);
        const tavrel::Move move = DecodeMove(known->code);
        // The board is needed only to match a second move.
        if (maxPlies_ > 1) ApplyMove(Board(), side_, move, "");
        opponentLast_ = move;
        side_ = -side_;
    }

    // The board, set up at the usual start only when a move is matched or played on it: most games
    // of a first-moves pass take their move from what the walker remembers.
    Position& Board() {
        if (atStart_) {
            position_ = StartPosition();
            atStart_ = false;
        }
        return position_;
    }

    bool IsPromotion(tavrel::Move move) const {
        const int16_t piece = position_.GameBoard[move.from];
        return (piece == Piece::Pawn && move.to.row == 1) || (piece == -Piece::Pawn && move.to.row == 8);
    }

    bool StartGame() {
        if (!VariantProblem(variant_, game_.fen).empty()) return false;
        if (game_.fen.empty()) {
            atStart_ = true;
            return true;
        }
        const FenResult fen = ParseFen(game_.fen);
        if (!fen.setUp) return false;
        position_ = fen.setUp->position;
        side_ = fen.setUp->side;
        opponentLast_ = fen.setUp->opponentLast;
        return true;
    }

    WalkedGame& game_;
    const int maxPlies_;
    const char* const windowEnd_;
    const bool wholeGame_;
    std::vector<GameWalker::FirstMove>* const firstMoves_;  // none: every move is matched
    std::string variant_;
    bool resultTag_ = false;
    bool started_ = false;
    bool stopped_ = false;
    bool full_ = false;
    Position position_;
    bool atStart_ = false;  // position_ is yet to be set to the usual start
    int side_ = White;
    tavrel::Move opponentLast_;
};

// Most games keep their first plies well within this many bytes, tags included.
constexpr std::size_t kFirstWindow = 1024;

void Reset(WalkedGame& game) {
    game.codes.clear();
    game.complete = false;
    game.excluded = false;
    game.outcome = Outcome::Unknown;
    game.year = game.whiteElo = game.blackElo = 0;
    game.fen.clear();
}

void Walk(std::string_view bytes, int maxPlies, WalkedGame& game, std::vector<GameWalker::FirstMove>* firstMoves) {
    if (bytes.size() > kFirstWindow) {
        Reset(game);
        const std::string_view window = bytes.substr(0, kFirstWindow);
        Walker walker(game, maxPlies, window.data() + window.size(), false, firstMoves);
        pgn::LexGame(window, walker);
        if (walker.Settled()) {
            walker.Finish();
            return;
        }
    }
    Reset(game);
    Walker walker(game, maxPlies, bytes.data() + bytes.size(), true, firstMoves);
    pgn::LexGame(bytes, walker);
    walker.Finish();
}

}  // namespace

Outcome OutcomeOf(std::string_view text) {
    if (text == "1-0") return Outcome::WhiteWins;
    if (text == "0-1") return Outcome::BlackWins;
    if (text == "1/2-1/2") return Outcome::Draw;
    return Outcome::Unknown;
}

bool KeepTag(std::string_view name, std::string_view value, WalkedGame& game, std::string& variant) {
    // By length first: most tags of a file are none of these, and every game's tags pass here.
    switch (name.size()) {
        case 3:
            if (name == "FEN") game.fen = value;
            return false;
        case 4:
            if (name == "Date") game.year = LeadingNumber(value, 4);
            return false;
        case 6:
            if (name != "Result") return false;
            game.outcome = OutcomeOf(value);
            return true;
        case 7:
            if (name == "Variant") variant = value;
            return false;
        case 8:
            if (name == "WhiteElo") game.whiteElo = LeadingNumber(value, 4);
            else if (name == "BlackElo") game.blackElo = LeadingNumber(value, 4);
            return false;
        default:
            return false;
    }
}

void WalkGame(std::string_view bytes, int maxPlies, WalkedGame& game) { Walk(bytes, maxPlies, game, nullptr); }

WalkedGame WalkGame(std::string_view bytes, int maxPlies) {
    WalkedGame game;
    WalkGame(bytes, maxPlies, game);
    return game;
}

void GameWalker::Walk(std::string_view bytes, int maxPlies, WalkedGame& game) {
    search::Walk(bytes, maxPlies, game, &firstMoves_);
}

}  // namespace tavrel::search
