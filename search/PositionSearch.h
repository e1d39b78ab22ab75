#pragma once
// The two questions about a position over every game of a file: which moves were played next
// from it (the opening tree), and which games reach it and at which half-move. A game counts
// once, with the move it played the first time it reached the position, by any move order.

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "OpeningStore.h"
#include "core/Fen.h"

namespace tavrel::search {

// The position asked about, with what lets most games be passed over after a ply or two.
struct Target {
    Position position;
    int side = White;
    Move opponentLast;  // decides en passant, as in a FEN
    int castling = 0;
    Square enPassant;
    std::uint64_t key = 0;
    int pieces = 0;
    // Squares (row - 1) * 8 + col - 1 where the position has a pawn on its own second rank: a game
    // that moves from or onto one of them can never come back to the position.
    std::uint64_t homePawns = 0;
    // Men of each side (White's first), and its pawns on or behind each rank counted from its own
    // side (index 0 the first rank): men are never added and pawns never move back, so a game
    // with fewer of either can never come to the position.
    std::array<int, 2> men{};
    std::array<std::array<int, 8>, 2> pawnsBehind{};
};
Target MakeTarget(const FenSetUp& setUp);
// The target of a FEN text; nothing when the text cannot be used.
std::optional<Target> TargetOfFen(std::string_view fen);

struct Tally {
    std::int64_t games = 0, white = 0, draws = 0, black = 0;
    std::int64_t eloSum = 0, eloGames = 0;  // ratings of the side that moves, where known
    int lastYear = 0;
    void Add(const Tally& other);
    [[nodiscard]] int AverageElo() const { return eloGames ? static_cast<int>((eloSum + eloGames / 2) / eloGames) : 0; }
    // Games with a result: "*" and games without a Result tag score for nobody.
    [[nodiscard]] std::int64_t Decided() const { return white + draws + black; }
    // The share of points for `side` in the decided games, 0 to 100 (0 when none is decided).
    [[nodiscard]] double ScoreFor(int side) const;
};

struct Reach {
    std::int64_t game = 0;
    int ply = 0;  // half-moves played when the game first stands on the position
    bool operator==(const Reach&) const = default;
};

// What a run over some games found; runs over consecutive ranges of games add up in order.
struct SearchResult {
    std::map<MoveCode, Tally> moves;  // by the move played next
    Tally total;                      // every game that reaches the position, ended there or not
    std::vector<Reach> reach;         // when asked for, in game order
    std::int64_t gamesSearched = 0;
    std::int64_t textReplays = 0;     // games whose kept plies did not settle the question
    void Add(const SearchResult& later);
};

struct SearchOptions {
    bool wantReach = false;
    std::int64_t firstGame = 1;
    std::int64_t lastGame = -1;  // -1: the store's last game
    int threads = 0;             // 0: every core
    const std::atomic<bool>* cancel = nullptr;
};

// Searches the store's games (reading a game's text again only where its kept plies do not
// settle the question). `file` and `index` are those the store was made from.
SearchResult Search(const OpeningStore& store, const pgn::PgnFile& file, const pgn::GameIndex& index,
                    const Target& target, const SearchOptions& options = {});

// One row of the tree: the move, in SAN and in coordinates, and its tally.
struct TreeRow {
    MoveCode code = 0;
    std::string san;
    std::string uci;
    Tally tally;
};
// The moves sorted by games (most first), ties by SAN.
std::vector<TreeRow> TreeRows(const SearchResult& result, const Target& target);

}  // namespace tavrel::search
