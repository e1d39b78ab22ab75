#include "TextSearch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "OpeningText.h"
#include "Reaching.h"
#include "core/Fen.h"
#include "core/MakeMove.h"
#include "core/SanMatch.h"
#include "core/Variant.h"
#include "pgn/Lexer.h"

namespace tavrel::search {
namespace {

// One game's walk towards the target, fed by the lexer. The walk stops as soon as the game is
// ruled out, or once it has played its move from the target and its outcome is known. A game
// from the usual start walks the tree of the openings' texts while it can; a game set up, or one
// that leaves the tree, is played on its own board.
class TextProbe final : public pgn::Visitor {
public:
    TextProbe(const Target& t, OpeningText& openings) : t_(t), openings_(openings) {}

    void BeginGame() override {
        tags_.outcome = Outcome::Unknown;
        tags_.year = tags_.whiteElo = tags_.blackElo = 0;
        tags_.fen.clear();
        variant_.clear();
        resultTag_ = started_ = out_ = reached_ = found_ = hasNext_ = false;
        ply_ = 0;
    }

    pgn::Next Tag(std::string_view name, std::string_view value) override {
        if (KeepTag(name, value, tags_, variant_)) resultTag_ = true;
        return pgn::Next::Go;
    }

    pgn::Next BeginMovetext() override {
        Start();
        return out_ ? pgn::Next::Skip : pgn::Next::Go;
    }

    // The bytes of the game about to be read.
    void Text(std::string_view game) { end_ = game.data() + game.size(); }

    void Move(const pgn::MoveToken& token) override {
        if (token.depth != 0 || out_ || found_) return;
        if (node_ >= 0) {
            // Every half-move is written in two bytes at least: a game whose text is too short
            // for the half-moves the target still needs can never stand on it.
            if (end_ - token.written.data() < 2 * needs_) {
                out_ = true;
                return;
            }
            if (InTree(token.san)) return;
        }
        if (IsNullMoveText(token.san)) {
            if (reached_) return Next(kNullMove);
            board_.opponentLast = {};
            board_.side = -board_.side;
            return Played();
        }
        SanQuery query;
        Position& pos = board_.pos;
        const tavrel::Move move = FindTextMove(pos, board_.side, board_.opponentLast, token.san, query);
        if (move.IsNone()) return Ends();
        const int16_t piece = pos.GameBoard[move.from];
        const bool promotes = (piece == Piece::Pawn && move.to.row == 1) || (piece == -Piece::Pawn && move.to.row == 8);
        // A promotion written without its piece becomes a queen, as the walk that keeps plies reads it.
        const int promotion = promotes ? std::max(1, PromotionNumber(query.promotion)) : 0;
        if (reached_) return Next(EncodeMove(move, promotion));
        if (RulesOut(t_, pos.GameBoard, move, pieces_)) {
            out_ = true;
            return;
        }
        ApplyMove(pos, board_.side, move, PromotionLetter(promotion));
        board_.opponentLast = move;
        board_.side = -board_.side;
        Played();
    }

    pgn::Next BeginVariation() override { return pgn::Next::Skip; }

    void Result(std::string_view text, int depth) override {
        if (depth == 0 && !resultTag_) tags_.outcome = OutcomeOf(text);
    }

    // Without a Result tag, the outcome is the last termination marker: the game is read on.
    [[nodiscard]] bool Done() const { return out_ || (found_ && resultTag_); }

    // After the lexer: the game reaches the target at Ply(), then plays NextMove() (null when it
    // ends there); or it does not reach it.
    [[nodiscard]] bool Reaches() {
        if (!started_) Start();  // a game of tags only stands on its start
        return !out_ && (found_ || reached_);
    }
    [[nodiscard]] int Ply() const { return reachedPly_; }
    [[nodiscard]] const MoveCode* NextMove() const { return hasNext_ ? &next_ : nullptr; }
    [[nodiscard]] GameFacts Facts() const { return {tags_.outcome, tags_.year, tags_.whiteElo, tags_.blackElo}; }

private:
    void Start() {
        started_ = true;
        if (!VariantProblem(variant_, tags_.fen).empty()) {
            out_ = true;  // another variant: no part of any search
            return;
        }
        if (tags_.fen.empty()) {
            node_ = OpeningText::kRoot;
            needs_ = openings_.Needs(node_);
            return Entered(openings_.Reached(node_), openings_.Out(node_));
        }
        node_ = -1;
        setUp_ = ParseFen(tags_.fen);
        if (!setUp_.setUp) {
            out_ = true;
            return;
        }
        board_.pos = setUp_.setUp->position;
        board_.side = setUp_.setUp->side;
        board_.opponentLast = setUp_.setUp->opponentLast;
        board_.node = -1;
        pieces_ = PieceCount(board_.pos.GameBoard);
        if (pieces_ < t_.pieces || !HasHomePawns(board_.pos.GameBoard, t_.homePawns)) {
            out_ = true;
            return;
        }
        Check();
    }

    // The move played in the tree; false when the game goes on on its board from here.
    bool InTree(std::string_view san) {
        const OpeningText::Step step = openings_.Play(node_, san, board_);
        switch (step.child) {
            case OpeningText::kOffTree:
                if (board_.node != node_) openings_.PositionAt(node_, board_);
                pieces_ = openings_.Pieces(node_);
                node_ = board_.node = -1;
                return false;
            case OpeningText::kIllegal:
                Ends();
                return true;
            case OpeningText::kAfterTarget:
                Next(step.code);
                return true;
            default:
                node_ = step.child;
                ++ply_;
                needs_ = step.needs;
                Entered(step.reached, step.out);
                return true;
        }
    }
    void Entered(bool reached, bool out) {
        if (out) {
            out_ = true;
        } else if (reached) {
            reached_ = true;
            reachedPly_ = ply_;
        }
    }

    // A move that cannot be played: the game counts with none played next when it stands on the target.
    void Ends() {
        if (reached_) {
            found_ = true;
        } else {
            out_ = true;
        }
    }
    void Played() {
        ++ply_;
        Check();
    }
    void Check() {
        if (!StandsOn(t_, board_.pos, pieces_, board_.side, board_.opponentLast)) return;
        reached_ = true;
        reachedPly_ = ply_;
    }
    void Next(MoveCode code) {
        next_ = code;
        hasNext_ = true;
        found_ = true;
    }

    const Target& t_;
    OpeningText& openings_;
    WalkedGame tags_;  // its tags only
    std::string variant_;
    FenResult setUp_;
    std::int32_t node_ = -1;       // where the game stands in the tree; -1 when on its own board
    OpeningText::Cursor board_;    // the game's board, off the tree
    int pieces_ = 0;
    int needs_ = 0;              // PliesNeeded at node_
    const char* end_ = nullptr;  // where the game's bytes end
    int ply_ = 0;
    bool resultTag_ = false, started_ = false;
    bool out_ = false;      // ruled out, or the game cannot go on to the target
    bool reached_ = false;  // stands on the target now (at reachedPly_)
    bool found_ = false;    // reached it, and the move played next is known (or there is none)
    bool hasNext_ = false;
    int reachedPly_ = 0;
    MoveCode next_ = 0;
};

// Games read at a time: one read each, as the pass that keeps plies reads them.
constexpr std::int64_t kChunkGames = 4096;

// Games first .. first + count - 1 of the chunk in `bytes`, read from `from` on.
void SearchChunk(const pgn::GameIndex& index, const Target& target, std::int64_t first, std::int64_t count,
                 std::int64_t from, std::string_view bytes, bool wantReach, TextProbe& probe, SearchResult& out) {
    for (std::int64_t game = first; game < first + count; ++game) {
        ++out.gamesSearched;
        // A file that shrank under the search gives its last games fewer bytes, or none.
        const auto at = static_cast<std::size_t>(std::clamp<std::int64_t>(index.OffsetOf(game) - from, 0,
                                                                          static_cast<std::int64_t>(bytes.size())));
        const std::int64_t end = game < index.GameCount() ? index.OffsetOf(game + 1) - from
                                                          : static_cast<std::int64_t>(bytes.size());
        const auto size = static_cast<std::size_t>(std::clamp<std::int64_t>(
            end - static_cast<std::int64_t>(at), 0, static_cast<std::int64_t>(bytes.size() - at)));
        const std::string_view text = bytes.substr(at, size);
        probe.Text(text);
        pgn::LexGame(text, probe);
        if (probe.Reaches()) CountGame(out, target, game, probe.Ply(), probe.NextMove(), probe.Facts(), wantReach);
    }
}

}  // namespace

TextSearchPass::TextSearchPass(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
                               const SearchOptions& options)
    : target_(std::make_unique<const Target>(target)), firstGame_(std::max<std::int64_t>(1, options.firstGame)) {
    const std::int64_t last = options.lastGame < 0 ? index.GameCount() : std::min(options.lastGame, index.GameCount());
    const std::int64_t games = std::max<std::int64_t>(0, last - firstGame_ + 1);
    const int threads = options.threads > 0 ? options.threads : pgn::PassThreads();
    pass_ = std::make_unique<pgn::OrderedPass<SearchResult>>(
        games, kChunkGames, threads,
        [&file, &index, t = target_.get(), base = firstGame_ - 1, wantReach = options.wantReach] {
            // Each thread keeps its buffer and the tree of the openings' texts it has met.
            struct Own {
                explicit Own(const Target& target) : openings(target), probe(target, openings) {}
                OpeningText openings;
                TextProbe probe;
                std::string bytes;
            };
            return [&file, &index, t, base, wantReach, own = std::make_shared<Own>(*t)](std::int64_t first,
                                                                                      std::int64_t count) {
                SearchResult part;
                const std::int64_t at = ReadGames(file, index, base + first, count, own->bytes);
                SearchChunk(index, *t, base + first, count, at, own->bytes, wantReach, own->probe, part);
                return part;
            };
        });
}

bool TextSearchPass::TakeInto(SearchResult& result) {
    for (const SearchResult& part : pass_->Take()) result.Add(part);
    return pass_->Finished() && pass_->GamesTaken() >= pass_->Games();
}

SearchResult SearchText(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
                        const SearchOptions& options) {
    TextSearchPass pass(file, index, target, options);
    SearchResult result;
    while (!pass.TakeInto(result)) {
        if (options.cancel && options.cancel->load(std::memory_order_relaxed)) {
            pass.Cancel();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return result;
}

}  // namespace tavrel::search
