#include "TextSearch.h"

#include <algorithm>
#include <thread>

#include "Reaching.h"
#include "core/Fen.h"
#include "core/MakeMove.h"
#include "core/SanMatch.h"
#include "core/Variant.h"
#include "pgn/Lexer.h"

namespace tavrel::search {
namespace {

// One game's walk towards the target, fed by the lexer. The walk stops as soon as the game is
// ruled out, or once it has played its move from the target and its outcome is known.
class TextProbe final : public pgn::Visitor {
public:
    TextProbe(const Target& t, const Position& start)
        : t_(t), start_(start), startPieces_(PieceCount(start.GameBoard)),
          startMayReach_(startPieces_ >= t.pieces && HasHomePawns(start.GameBoard, t.homePawns)) {}

    void BeginGame() override {
        tags_.outcome = Outcome::Unknown;
        tags_.year = tags_.whiteElo = tags_.blackElo = 0;
        tags_.fen.clear();
        variant_.clear();
        resultTag_ = started_ = out_ = found_ = hasNext_ = false;
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

    void Move(const pgn::MoveToken& token) override {
        if (token.depth != 0 || out_ || found_) return;
        if (IsNullMoveText(token.san)) {
            if (reached_) return Next(kNullMove);
            opponentLast_ = {};
            side_ = -side_;
            return Played();
        }
        SanQuery query;
        Position& board = Board();
        const tavrel::Move move = FindTextMove(board, side_, opponentLast_, token.san, query);
        if (move.IsNone()) {
            // The game ends here: it counts with no move played next when it stands on the target.
            if (reached_) {
                found_ = true;
            } else {
                out_ = true;
            }
            return;
        }
        const int16_t piece = board.GameBoard[move.from];
        const bool promotes = (piece == Piece::Pawn && move.to.row == 1) || (piece == -Piece::Pawn && move.to.row == 8);
        // A promotion written without its piece becomes a queen, as the walk that keeps plies reads it.
        const int promotion = promotes ? std::max(1, PromotionNumber(query.promotion)) : 0;
        if (reached_) return Next(EncodeMove(move, promotion));
        if (RulesOut(t_, board.GameBoard, move, pieces_)) {
            out_ = true;
            return;
        }
        ApplyMove(board, side_, move, PromotionLetter(promotion));
        opponentLast_ = move;
        side_ = -side_;
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
        reached_ = false;
        atStart_ = true;
        side_ = White;
        opponentLast_ = {};
        pieces_ = startPieces_;
        if (!VariantProblem(variant_, tags_.fen).empty()) {
            out_ = true;  // another variant: no part of any search
            return;
        }
        const Position* start = &start_;
        if (!tags_.fen.empty()) {
            setUp_ = ParseFen(tags_.fen);
            if (!setUp_.setUp) {
                out_ = true;
                return;
            }
            position_ = setUp_.setUp->position;
            atStart_ = false;
            start = &position_;
            side_ = setUp_.setUp->side;
            opponentLast_ = setUp_.setUp->opponentLast;
            pieces_ = PieceCount(position_.GameBoard);
        }
        if (start == &start_ ? !startMayReach_ : pieces_ < t_.pieces || !HasHomePawns(start->GameBoard, t_.homePawns)) {
            out_ = true;
            return;
        }
        Check();
    }

    void Played() {
        ++ply_;
        Check();
    }
    void Check() {
        if (!StandsOn(t_, atStart_ ? start_ : position_, pieces_, side_, opponentLast_)) return;
        reached_ = true;
        reachedPly_ = ply_;
    }
    void Next(MoveCode code) {
        next_ = code;
        hasNext_ = true;
        found_ = true;
    }

    // The board, copied from the usual start only once a move is played on it.
    Position& Board() {
        if (atStart_) {
            position_ = start_;
            atStart_ = false;
        }
        return position_;
    }

    const Target& t_;
    const Position& start_;
    const int startPieces_;
    const bool startMayReach_;  // the usual start still has every man and home pawn the target has
    WalkedGame tags_;  // its tags only
    std::string variant_;
    FenResult setUp_;
    Position position_;
    bool atStart_ = true;
    int side_ = White;
    tavrel::Move opponentLast_;
    int pieces_ = 0;
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

void SearchRange(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target, std::int64_t first,
                 std::int64_t last, const SearchOptions& options, SearchResult& out) {
    const Position start = StartPosition();
    TextProbe probe(target, start);
    std::string bytes;
    for (std::int64_t chunk = first; chunk <= last; chunk += kChunkGames) {
        if (options.cancel && options.cancel->load(std::memory_order_relaxed)) return;
        const std::int64_t count = std::min(kChunkGames, last - chunk + 1);
        const std::int64_t from = ReadGames(file, index, chunk, count, bytes);
        const std::string_view all(bytes);
        for (std::int64_t game = chunk; game < chunk + count; ++game) {
            ++out.gamesSearched;
            // A file that shrank under the search gives its last games fewer bytes, or none.
            const auto at = static_cast<std::size_t>(std::clamp<std::int64_t>(index.OffsetOf(game) - from, 0,
                                                                              static_cast<std::int64_t>(all.size())));
            const std::int64_t end = game < index.GameCount() ? index.OffsetOf(game + 1) - from
                                                              : static_cast<std::int64_t>(all.size());
            const auto size = static_cast<std::size_t>(
                std::clamp<std::int64_t>(end - static_cast<std::int64_t>(at), 0, static_cast<std::int64_t>(all.size() - at)));
            pgn::LexGame(all.substr(at, size), probe);
            if (probe.Reaches()) CountGame(out, target, game, probe.Ply(), probe.NextMove(), probe.Facts(), options.wantReach);
        }
    }
}

}  // namespace

SearchResult SearchText(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
                        const SearchOptions& options) {
    const std::int64_t first = std::max<std::int64_t>(1, options.firstGame);
    const std::int64_t last = options.lastGame < 0 ? index.GameCount() : std::min(options.lastGame, index.GameCount());
    const std::int64_t games = std::max<std::int64_t>(0, last - first + 1);
    const int threads = static_cast<int>(std::clamp<std::int64_t>(games / 20000 + 1, 1,
                                                                  options.threads > 0 ? options.threads : pgn::PassThreads()));
    std::vector<SearchResult> parts(static_cast<std::size_t>(threads));
    const auto run = [&](int part) {
        SearchRange(file, index, target, first + games * part / threads, first + games * (part + 1) / threads - 1,
                    options, parts[static_cast<std::size_t>(part)]);
    };
    std::vector<std::thread> workers;
    for (int part = 1; part < threads; ++part) workers.emplace_back(run, part);
    run(0);
    for (std::thread& worker : workers) worker.join();
    SearchResult result;
    for (const SearchResult& part : parts) result.Add(part);
    return result;
}

}  // namespace tavrel::search
