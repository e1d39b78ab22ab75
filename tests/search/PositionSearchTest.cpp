// The opening tree and the games reaching a position, against a count made independently from
// the reference replays of real files: they hold the position after every half-move and the
// moves in coordinates. Castling rights and the en passant square, which the references leave
// out, are worked out here from the moves alone (a right ends when its king's or rook's home
// square is left or entered; en passant counts when an enemy pawn stands beside the double step).

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <set>

#include "core/MoveSan.h"
#include "pgn/GameSource.h"
#include "search/PositionSearch.h"
#include "search/Reaching.h"
#include "search/TextSearch.h"
#include "support/RealFiles.h"
#include "support/TempFile.h"

namespace tavrel::search {
namespace {

using testing::Json;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

using testing::PlacementSquares;
int At(const std::string& square) { return ('8' - square[1]) * 8 + (square[0] - 'a'); }

// Every position of a reference game as a FEN with counters "0 1", and the move played from it.
struct RefGame {
    std::int64_t game = 0;
    std::vector<std::string> fens;
    std::vector<std::string> next;  // "" where the game ends
};

std::string FenTag(const std::string& bytes, std::int64_t offset) {
    const std::size_t at = bytes.find("[FEN \"", static_cast<std::size_t>(offset - 1));
    return bytes.substr(at + 6, bytes.find('"', at + 6) - at - 6);
}

RefGame Replayed(const Json& ref, const std::string& fileBytes) {
    RefGame out;
    out.game = static_cast<std::int64_t>(ref["game"].number);
    std::string placement = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", side = "w", rights = "KQkq", ep = "-";
    if (ref["setup"].boolean) {
        std::istringstream fen(FenTag(fileBytes, static_cast<std::int64_t>(ref["offset"].number)));
        fen >> placement >> side >> rights >> ep;
    }
    const auto fenOf = [&] {
        const std::string sq = PlacementSquares(placement);
        std::string kept;
        const std::pair<char, std::string> needs[] = {{'K', "e1h1"}, {'Q', "e1a1"}, {'k', "e8h8"}, {'q', "e8a8"}};
        for (const auto& [right, homes] : needs) {
            const bool white = right < 'a';
            if (rights.find(right) != std::string::npos && sq[At(homes.substr(0, 2))] == (white ? 'K' : 'k') &&
                sq[At(homes.substr(2, 2))] == (white ? 'R' : 'r')) {
                kept += right;
            }
        }
        return placement + " " + side + " " + (kept.empty() ? "-" : kept) + " " + ep + " 0 1";
    };
    const auto& fens = ref["fens"].items;
    const auto& ucis = ref["uci"].items;
    if (ep != "-") {  // a set-up's square counts only with a pawn beside the double step
        const std::string sq = PlacementSquares(placement);
        const int row = At(ep) / 8 + (side == "w" ? 1 : -1);
        const char pawn = side == "w" ? 'P' : 'p';
        const int col = ep[0] - 'a';
        if (!((col > 0 && sq[row * 8 + col - 1] == pawn) || (col < 7 && sq[row * 8 + col + 1] == pawn))) ep = "-";
    }
    out.fens.push_back(fenOf());
    for (std::size_t i = 0; i < fens.size(); ++i) {
        const std::string uci = ucis[i].text;
        out.next.push_back(uci);
        const std::string before = PlacementSquares(placement);
        const std::string from = uci.substr(0, 2), to = uci.substr(2, 2);
        for (const char* home : {"e1", "h1", "a1", "e8", "h8", "a8"}) {
            if (uci != "0000" && (from == home || to == home)) {
                const std::string lost = std::string(home) == "e1" ? "KQ" : std::string(home) == "h1" ? "K"
                                       : std::string(home) == "a1" ? "Q" : std::string(home) == "e8" ? "kq"
                                       : std::string(home) == "h8" ? "k" : "q";
                for (const char c : lost) std::erase(rights, c);
            }
        }
        placement = fens[i].text.substr(0, fens[i].text.find(' '));
        side = fens[i].text.substr(fens[i].text.find(' ') + 1);
        ep = "-";
        const char moved = uci == "0000" ? '.' : before[At(from)];
        if ((moved == 'P' || moved == 'p') && std::abs(from[1] - to[1]) == 2) {
            const std::string after = PlacementSquares(placement);
            const char enemy = moved == 'P' ? 'p' : 'P';
            const int t = At(to);
            if ((t % 8 > 0 && after[t - 1] == enemy) || (t % 8 < 7 && after[t + 1] == enemy)) {
                ep = std::string(1, to[0]) + static_cast<char>((from[1] + to[1]) / 2);
            }
        }
        out.fens.push_back(fenOf());
    }
    out.next.push_back("");
    return out;
}

struct RefFile {
    std::filesystem::path path;
    std::vector<RefGame> games;
};

RefFile Load(const char* name) {
    RefFile file{std::filesystem::path(TAVREL_SHARED_PGN) / name, {}};
    const std::string bytes = testing::FileBytes(file.path.string());
    for (const Json& ref : testing::References(file.path)) file.games.push_back(Replayed(ref, bytes));
    return file;
}

// The independent answer: the first time each game stands on `fen`, and the move it plays there.
struct Expected {
    std::vector<Reach> reach;
    std::map<std::string, std::int64_t> moves;  // by the move in coordinates
};
Expected Count(const RefFile& file, const std::string& fen) {
    Expected e;
    for (const RefGame& g : file.games) {
        for (std::size_t ply = 0; ply < g.fens.size(); ++ply) {
            if (g.fens[ply] != fen) continue;
            e.reach.push_back({g.game, static_cast<int>(ply)});
            if (!g.next[ply].empty()) ++e.moves[g.next[ply]];
            break;
        }
    }
    return e;
}

struct Answer {
    std::vector<Reach> reach;
    std::map<std::string, std::int64_t> moves;
    std::int64_t total = 0;
};
Answer Ask(const RefFile& file, const std::string& fen, int keptPlies) {
    // One store a file and kept length, as the window keeps one for the file it shows.
    static std::map<std::pair<std::string, int>, std::pair<std::unique_ptr<pgn::GameSource>, OpeningStore>> stores;
    auto& [source, store] = stores[{file.path.string(), keptPlies}];
    if (!source) {
        source = std::make_unique<pgn::GameSource>();
        EXPECT_EQ(source->Open(file.path.string()), "");
        if (keptPlies > 0) store = BuildStore(source->File(), source->Index(), keptPlies);
    }
    const std::optional<Target> target = TargetOfFen(fen);
    EXPECT_TRUE(target.has_value()) << fen;
    if (!target) return {};
    // Kept plies 0: the search of the text alone, as a question asked before any are kept.
    const SearchResult result = keptPlies == 0 ? SearchText(source->File(), source->Index(), *target, {.wantReach = true})
                                               : Search(store, source->File(), source->Index(), *target, {.wantReach = true});
    Answer a{result.reach, {}, result.total.games};
    for (const TreeRow& row : TreeRows(result, *target)) a.moves[row.uci] = row.tally.games;
    return a;
}

void ExpectAgreement(const RefFile& file, const std::string& fen, const std::string& what) {
    const Expected expected = Count(file, fen);
    ASSERT_FALSE(expected.reach.empty()) << what << ": the table's position should occur";
    // With few kept plies most answers come from reading the games' text again; one kept ply is
    // the window's first stage.
    for (const int kept : {32, 3, 1, 0}) {
        const Answer answer = Ask(file, fen, kept);
        EXPECT_EQ(answer.reach, expected.reach) << what << " kept " << kept;
        EXPECT_EQ(answer.moves, expected.moves) << what << " kept " << kept;
        EXPECT_EQ(answer.total, static_cast<std::int64_t>(expected.reach.size())) << what;
    }
}

TEST(PositionSearch, AgreesWithTheReferenceReplays) {
    if (!std::filesystem::exists(std::filesystem::path(TAVREL_SHARED_PGN) / "chesslablab-PolgarJ.jsonl")) {
        GTEST_SKIP() << "no real files";
    }
    const RefFile polgar = Load("chesslablab-PolgarJ.pgn");
    const RefFile immortal = Load("immortal_games.pgn");  // games that stop at an illegal move
    const RefFile books = Load("sfbooks-2moves_v2.pgn");
    const RefFile setups = Load("pychess-mate_in_2.pgn");

    ExpectAgreement(polgar, kStart, "start, Polgar");
    ExpectAgreement(immortal, kStart, "start, immortal games");
    for (std::size_t ply = 1; ply <= 10; ++ply) {
        for (const std::size_t game : {0u, 700u}) {
            ExpectAgreement(polgar, polgar.games[game].fens[ply], "Polgar game " + std::to_string(game + 1) +
                                                                      " after " + std::to_string(ply));
        }
    }
    ExpectAgreement(immortal, immortal.games[3].fens[6], "immortal game 4 after 6");
    ExpectAgreement(setups, setups.games[0].fens[0], "a set-up game's start");
    ExpectAgreement(setups, setups.games[5].fens[1], "a set-up game after a move");

    // A position reached by two move orders.
    std::map<std::string, std::set<std::string>> orders;
    std::string transposed;
    for (const RefGame& g : polgar.games) {
        std::string order;
        for (std::size_t ply = 1; ply < g.fens.size() && ply <= 12 && transposed.empty(); ++ply) {
            order += g.next[ply - 1];
            auto& seen = orders[g.fens[ply]];
            seen.insert(order);
            if (seen.size() > 1) transposed = g.fens[ply];
        }
    }
    ASSERT_FALSE(transposed.empty());
    ExpectAgreement(polgar, transposed, "a transposition: " + transposed);
    ExpectAgreement(books, kStart, "start, books");
}

// A game whose text is too short for the half-moves a position still needs is passed over
// unread: the count of half-moves needed must never be more than a real game took, and a game
// written as tersely as it can be is still counted at its last half-move.
TEST(PositionSearch, ShortTextsAndHalfMovesNeeded) {
    if (!std::filesystem::exists(std::filesystem::path(TAVREL_SHARED_PGN) / "chesslablab-PolgarJ.jsonl")) {
        GTEST_SKIP() << "no real files";
    }
    const RefFile polgar = Load("chesslablab-PolgarJ.pgn");
    const RefFile immortal = Load("immortal_games.pgn");
    for (const RefGame* g : {&polgar.games[0], &polgar.games[700], &polgar.games[1200], &immortal.games[3]}) {
        const std::size_t plies = std::min<std::size_t>(g->fens.size(), 80);
        for (std::size_t to = 0; to < plies; ++to) {
            const Target target = *TargetOfFen(g->fens[to]);
            for (std::size_t from = 0; from <= to; ++from) {
                const FenSetUp at = *ParseFen(g->fens[from]).setUp;
                ASSERT_LE(PliesNeeded(target, at.position, at.side), static_cast<int>(to - from))
                    << "game " << g->game << " from " << from << " to " << to;
            }
        }
    }
    // Polgar's first game in SAN, one blank between moves and nothing else.
    const RefGame& g = polgar.games[0];
    std::vector<std::string> san;
    for (std::size_t ply = 0; ply + 1 < g.fens.size() && ply < 40; ++ply) {
        const FenSetUp at = *ParseFen(g.fens[ply]).setUp;
        const std::string& uci = g.next[ply];
        const auto square = [&](std::size_t i) {
            return Square{static_cast<int16_t>('8' - uci[i + 1] + 1), static_cast<int16_t>(uci[i] - 'a' + 1)};
        };
        const std::string letter = uci.size() > 4 ? std::string(1, static_cast<char>(std::toupper(uci[4]))) : "";
        san.push_back(MoveSan(at.position, at.side, at.opponentLast, {square(0), square(2)}, letter));
    }
    for (const std::size_t written : {san.size(), san.size() - 1}) {
        std::string text = "[Event \"terse\"]\n\n";
        for (std::size_t i = 0; i < written; ++i) text += (i ? " " : "") + san[i];
        const testing::TempFile file(text);
        pgn::GameSource source;
        ASSERT_EQ(source.Open(file.path()), "");
        const SearchResult found = SearchText(source.File(), source.Index(), *TargetOfFen(g.fens[san.size()]),
                                              {.wantReach = true});
        EXPECT_EQ(found.reach.size(), written == san.size() ? 1u : 0u) << written << " half-moves: " << text;
    }
}

// The search over kept plies, after checking that the text alone gives the same tallies.
std::pair<SearchResult, Target> AskBothWays(const std::string& path, const char* fen) {
    pgn::GameSource source;
    EXPECT_EQ(source.Open(path), "");
    const Target target = *TargetOfFen(fen);
    const OpeningStore store = BuildStore(source.File(), source.Index());
    SearchResult result = Search(store, source.File(), source.Index(), target, {.wantReach = true});
    const SearchResult text = SearchText(source.File(), source.Index(), target, {.wantReach = true});
    EXPECT_EQ(text.reach, result.reach) << fen;
    const auto tallies = [](const SearchResult& r) {
        std::vector<std::vector<std::int64_t>> rows;
        for (const auto& [code, t] : r.moves) rows.push_back({code, t.games, t.white, t.draws, t.black, t.eloSum, t.lastYear});
        const Tally& t = r.total;
        rows.push_back({-1, t.games, t.white, t.draws, t.black, t.eloSum, t.lastYear});
        return rows;
    };
    EXPECT_EQ(tallies(text), tallies(result)) << fen;
    return {result, target};
}

// What the references cannot tell: outcomes, ratings, years, and files with odd games.
TEST(PositionSearch, TalliesAndOddFiles) {
    const std::string pgn =
        "[Event \"a\"]\n[Date \"1999.01.01\"]\n[Result \"1-0\"]\n[WhiteElo \"2000\"]\n\n1. e4 e5 2. Nf3 1-0\n\n"
        "[Event \"b\"]\n[Date \"2005.??.??\"]\n[Result \"1/2-1/2\"]\n[WhiteElo \"2200\"]\n\n1. e4 c5 1/2-1/2\n\n"
        "[Event \"c\"]\n[Result \"0-1\"]\n\n1. d4 Qxh7 2. e4 0-1\n\n"                      // stops at move 1 ... Qxh7
        "[Event \"d\"]\n[Variant \"crazyhouse\"]\n[Result \"1-0\"]\n\n1. e4 e5 1-0\n\n"    // left out
        "[Event \"e\"]\n[Result \"*\"]\n\n1. Nf3 Nf6 2. Ng1 Ng8 3. e4 *\n\n";               // back at the start
    const testing::TempFile file(pgn);
    const auto ask = [&](const char* fen) { return AskBothWays(file.path(), fen); };

    const auto [start, startTarget] = ask(kStart);
    EXPECT_EQ(start.reach, (std::vector<Reach>{{1, 0}, {2, 0}, {3, 0}, {5, 0}}));
    const std::vector<TreeRow> rows = TreeRows(start, startTarget);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].san, "e4");
    EXPECT_EQ(rows[0].tally.games, 2);
    EXPECT_EQ(rows[0].tally.white, 1);
    EXPECT_EQ(rows[0].tally.draws, 1);
    EXPECT_EQ(rows[0].tally.AverageElo(), 2100);
    EXPECT_EQ(rows[0].tally.lastYear, 2005);
    EXPECT_DOUBLE_EQ(rows[0].tally.ScoreFor(White), 75.0);
    EXPECT_DOUBLE_EQ(start.total.ScoreFor(White), 50.0);  // game e's "*" scores for nobody
    EXPECT_EQ(start.total.black, 1);

    // After 1. e4: game 5 reaches it only at its fifth half-move, and game 3 never (it stopped).
    const auto [e4, e4Target] = ask("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(e4.reach, (std::vector<Reach>{{1, 1}, {2, 1}, {5, 5}}));
    EXPECT_EQ(e4.total.games, 3);
    EXPECT_EQ(e4.moves.size(), 2u);  // e5, c5; game 5 ends there

    EXPECT_EQ(ask("8/8/8/8/8/8/8/K6k w - - 0 1").first.total.games, 0);

    // Without a Result tag the outcome is the last termination marker, read well past the move
    // played from the position; a null move is a move played from it.
    const testing::TempFile bare("[Event \"x\"]\n\n1. e4 e5 2. Nf3 0-1\n\n[Event \"y\"]\n\n1. e4 -- 2. Nf3 1/2-1/2\n");
    const auto [afterE4, e4Again] = AskBothWays(bare.path(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(afterE4.moves.at(kNullMove).draws, 1);
    EXPECT_EQ(afterE4.total.black, 1);
}

}  // namespace
}  // namespace tavrel::search
