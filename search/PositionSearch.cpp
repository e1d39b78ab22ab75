#include "PositionSearch.h"

#include <algorithm>
#include <climits>
#include <thread>

#include "Reaching.h"
#include "core/MakeMove.h"
#include "core/MoveSan.h"
#include "core/PositionKey.h"

namespace tavrel::search {
namespace {

// Where a game first stands on the target, replaying its codes from its start; -1 when it does
// not within them (or cannot reach it any more).
struct Probe {
    int ply = -1;
    bool settled = false;  // the codes answered the question: found, or the target is out of reach
};

// `complete`: the codes hold every half-move of the game, so a game that stands on the target
// after the last of them ends there rather than playing a move not kept. The game starts on
// `start` (with `pieces` pieces) and is played on `board`, copied from it only once a move is
// made: most games are settled before they make one.
Probe Walk(const Target& t, const Position& start, Position& board, int pieces, int side, Move opponentLast,
           const MoveCode* codes, int plies, bool complete) {
    if (pieces < t.pieces || !HasHomePawns(start.GameBoard, t.homePawns)) return {-1, true};
    const Position* pos = &start;
    const auto own = [&]() -> Position& {
        if (pos != &board) {
            board = start;
            pos = &board;
        }
        return board;
    };
    for (int ply = 0;; ++ply) {
        if (StandsOn(t, *pos, pieces, side, opponentLast)) {
            return ply < plies || complete ? Probe{ply, true} : Probe{-1, false};
        }
        if (ply == plies) return {-1, false};
        const MoveCode code = codes[ply];
        if (code == kNullMove) {
            opponentLast = {};
            side = -side;
            continue;
        }
        const Move move = DecodeMove(code);
        if (RulesOut(t, pos->GameBoard, move, pieces)) return {-1, true};
        ApplyMove(own(), side, move, PromotionLetter(DecodePromotion(code)));
        opponentLast = move;
        side = -side;
    }
}

class Searcher {
public:
    Searcher(const OpeningStore& store, const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
             bool wantReach)
        : store_(store), file_(file), index_(index), t_(target), wantReach_(wantReach), start_(StartPosition()),
          startPieces_(PieceCount(start_.GameBoard)),
          startIsTarget_(StandsOn(t_, start_, startPieces_, White, {})) {}

    void Game(std::int64_t game, SearchResult& out) {
        ++out.gamesSearched;
        if (store_.Excluded(game)) return;
        const Position* start = &start_;
        int startPieces = startPieces_;
        int side = White;
        Move opponentLast;
        if (store_.SetUp(game)) {
            fen_ = ParseFen(store_.Fen(game));
            if (!fen_.setUp) return;
            start = &fen_.setUp->position;
            startPieces = PieceCount(start->GameBoard);
            side = fen_.setUp->side;
            opponentLast = fen_.setUp->opponentLast;
        }
        const MoveCode* codes = store_.Codes(game);
        int plies = store_.PlyCount(game);
        // Every game from the usual start stands on it before its first move: the start position's
        // tree, asked most, needs no walk at all.
        Probe probe = start == &start_ && startIsTarget_
                          ? (plies > 0 || store_.Complete(game) ? Probe{0, true} : Probe{-1, false})
                          : Walk(t_, *start, board_, startPieces, side, opponentLast, codes, plies, store_.Complete(game));
        if (!probe.settled && !store_.Complete(game)) {
            ++out.textReplays;
            ReadGames(file_, index_, game, 1, bytes_);
            text_ = WalkGame(bytes_, INT_MAX);
            if (text_.excluded) return;
            codes = text_.codes.data();
            plies = static_cast<int>(text_.codes.size());
            probe = Walk(t_, *start, board_, startPieces, side, opponentLast, codes, plies, true);
        }
        if (probe.ply < 0) return;
        const GameFacts facts{store_.OutcomeOf(game), store_.Year(game), store_.Elo(game, White), store_.Elo(game, Black)};
        CountGame(out, t_, game, probe.ply, probe.ply < plies ? codes + probe.ply : nullptr, facts, wantReach_);
    }

private:
    const OpeningStore& store_;
    const pgn::PgnFile& file_;
    const pgn::GameIndex& index_;
    const Target& t_;
    const bool wantReach_;
    const Position start_;
    const int startPieces_;
    const bool startIsTarget_;
    Position board_;  // the board a game is played on
    FenResult fen_;  // a set-up game's start
    std::string bytes_;
    WalkedGame text_;
};

}  // namespace

Target MakeTarget(const FenSetUp& setUp) {
    Target t;
    t.position = setUp.position;
    t.side = setUp.side;
    t.opponentLast = setUp.opponentLast;
    t.castling = CastlingRights(t.position);
    t.enPassant = EnPassantTarget(t.position, t.side, t.opponentLast);
    t.key = PositionKey(t.position, t.side, t.opponentLast);
    t.pieces = PieceCount(t.position.GameBoard);
    for (int col = 1; col <= 8; ++col) {
        if (t.position.GameBoard(7, col) == Piece::Pawn) t.homePawns |= Bit({7, static_cast<int16_t>(col)});
        if (t.position.GameBoard(2, col) == -Piece::Pawn) t.homePawns |= Bit({2, static_cast<int16_t>(col)});
    }
    CountMen(t.position.GameBoard, t.men, t.pawnsBehind);
    return t;
}

std::optional<Target> TargetOfFen(std::string_view fen) {
    const FenResult parsed = ParseFen(fen);
    if (!parsed.setUp) return std::nullopt;
    return MakeTarget(*parsed.setUp);
}

void Tally::Add(const Tally& other) {
    games += other.games;
    white += other.white;
    draws += other.draws;
    black += other.black;
    eloSum += other.eloSum;
    eloGames += other.eloGames;
    lastYear = std::max(lastYear, other.lastYear);
}

double Tally::ScoreFor(int side) const {
    if (Decided() == 0) return 0;
    const double wins = static_cast<double>(side == White ? white : black);
    return 100.0 * (wins + 0.5 * static_cast<double>(draws)) / static_cast<double>(Decided());
}

void SearchResult::Add(const SearchResult& later) {
    for (const auto& [code, tally] : later.moves) moves[code].Add(tally);
    total.Add(later.total);
    reach.insert(reach.end(), later.reach.begin(), later.reach.end());
    gamesSearched += later.gamesSearched;
    textReplays += later.textReplays;
}

SearchResult Search(const OpeningStore& store, const pgn::PgnFile& file, const pgn::GameIndex& index,
                    const Target& target, const SearchOptions& options) {
    const std::int64_t first = std::max<std::int64_t>(1, options.firstGame);
    const std::int64_t last = options.lastGame < 0 ? store.GameCount() : std::min(options.lastGame, store.GameCount());
    const std::int64_t games = std::max<std::int64_t>(0, last - first + 1);
    const int threads = static_cast<int>(std::clamp<std::int64_t>(games / 20000 + 1, 1,
                                                                  options.threads > 0 ? options.threads : pgn::PassThreads()));
    std::vector<SearchResult> parts(static_cast<std::size_t>(threads));
    const auto run = [&](int part) {
        Searcher searcher(store, file, index, target, options.wantReach);
        const std::int64_t from = first + games * part / threads;
        const std::int64_t to = first + games * (part + 1) / threads;
        for (std::int64_t game = from; game < to; ++game) {
            if ((game & 4095) == 0 && options.cancel && options.cancel->load(std::memory_order_relaxed)) return;
            searcher.Game(game, parts[static_cast<std::size_t>(part)]);
        }
    };
    std::vector<std::thread> workers;
    for (int part = 1; part < threads; ++part) workers.emplace_back(run, part);
    run(0);
    for (std::thread& worker : workers) worker.join();
    SearchResult result;
    for (const SearchResult& part : parts) result.Add(part);
    return result;
}

std::vector<TreeRow> TreeRows(const SearchResult& result, const Target& target) {
    std::vector<TreeRow> rows;
    for (const auto& [code, tally] : result.moves) {
        TreeRow row;
        row.code = code;
        row.tally = tally;
        if (code == kNullMove) {
            row.san = "--";
            row.uci = "0000";
        } else {
            const Move move = DecodeMove(code);
            const std::string_view letter = PromotionLetter(DecodePromotion(code));
            row.san = MoveSan(target.position, target.side, target.opponentLast, move, letter);
            row.uci = MoveUci(move, letter);
        }
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(), [](const TreeRow& a, const TreeRow& b) {
        return a.tally.games != b.tally.games ? a.tally.games > b.tally.games : a.san < b.san;
    });
    return rows;
}

}  // namespace tavrel::search
