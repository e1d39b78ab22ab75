// tavrel-check: reads every game of a PGN file as the viewer does and reports, one JSON object a
// line, what each game replays to and which move texts matched no legal move.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GamesInOrder.h"
#include "HeaderLines.h"
#include "Json.h"
#include "WholeFileCheck.h"
#include "pgn/GameSource.h"
#include "search/PositionSearch.h"
#include "search/TextSearch.h"

namespace {

constexpr const char* kUsage =
    "Usage: tavrel-check [--fens] [--count] [--headers] FILE.pgn\n"
    "FILE may be compressed (.pgn.zst, .pgn.gz, .zip); ARCHIVE.zip:NAME.pgn names a file in an archive.\n"
    "Replays every game of FILE.pgn and prints one JSON object per game.\n"
    "  --fens     add the position after every half-move\n"
    "  --count    print only the number of games\n"
    "  --headers  print every game's offset and tag pairs instead of replaying it\n"
    "Games are replayed, or their tags read, on every core; TAVREL_THREADS=N sets how many threads.\n"
    "  --tree FEN   print the moves played next from the position, one object a move, then the total\n"
    "  --reach FEN  print the games that reach the position and the half-move where each first does\n"
    "Exit status: 0 every move matched, 1 some did not or a game cannot be replayed\n"
    "(its \"error\" says why), 2 the file cannot be read, 3 a compressed file is damaged\n"
    "(the games before the damage are read).\n";

std::string TallyFields(const tavrel::search::Tally& tally) {
    std::string out = "\"games\":" + std::to_string(tally.games) + ",\"white\":" + std::to_string(tally.white) +
                      ",\"draws\":" + std::to_string(tally.draws) + ",\"black\":" + std::to_string(tally.black);
    if (tally.eloGames) out += ",\"elo\":" + std::to_string(tally.AverageElo());
    if (tally.lastYear) out += ",\"year\":" + std::to_string(tally.lastYear);
    return out;
}

void Flush(std::string& out, bool always) {
    if (!always && out.size() <= (1 << 16)) return;
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

}  // namespace

int main(int argc, char** argv) {
    bool fens = false, countOnly = false, headers = false, tree = false, reach = false;
    std::string path, fen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fens") {
            fens = true;
        } else if (arg == "--count") {
            countOnly = true;
        } else if (arg == "--headers") {
            headers = true;
        } else if ((arg == "--tree" || arg == "--reach") && i + 1 < argc) {
            (arg == "--tree" ? tree : reach) = true;
            fen = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts("tavrel-check " TAVREL_VERSION);
            return 0;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            std::fprintf(stderr, "tavrel-check: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else if (path.empty()) {
            path = arg;
        } else {
            std::fprintf(stderr, "tavrel-check: one file at a time\n%s", kUsage);
            return 2;
        }
    }
    if (path.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::optional<tavrel::search::Target> target;
    if (tree || reach) {
        target = tavrel::search::TargetOfFen(fen);
        if (!target) {
            std::fprintf(stderr, "tavrel-check: not a usable position: %s\n", fen.c_str());
            return 2;
        }
    }
    tavrel::pgn::GameSource source;
    if (const std::string why = source.Open(path); !why.empty()) {
        std::fprintf(stderr, "tavrel-check: cannot read %s: %s\n", path.c_str(), why.c_str());
        return 2;
    }
    const long long count = source.GameCount();
    const int damaged = source.Damage().empty() ? 0 : 3;
    if (damaged) std::fprintf(stderr, "tavrel-check: %s is damaged: %s; the %lld games before it are read\n", path.c_str(), source.Damage().c_str(), count);
    if (countOnly) {
        std::printf("{\"games\":%lld}\n", count);
        return damaged;
    }
    std::string out;
    if (target) {
        // Each game is read only as far as it can still reach the position: for the start
        // position, its tags and first move.
        const tavrel::search::SearchResult result =
            tavrel::search::SearchText(source.File(), source.Index(), *target, {.wantReach = reach});
        // Games read at offsets that no longer hold them would be counted as whatever stands there.
        if (source.ChangedOnDisk()) {
            std::fprintf(stderr, "tavrel-check: %s changed on disk while it was read; no answer\n", path.c_str());
            return 2;
        }
        if (tree) {
            for (const tavrel::search::TreeRow& row : tavrel::search::TreeRows(result, *target)) {
                out += "{\"san\":" + tavrel::JsonString(row.san) + ",\"uci\":" + tavrel::JsonString(row.uci) + "," +
                       TallyFields(row.tally) + "}\n";
            }
            out += "{\"total\":true," + TallyFields(result.total) + "}\n";
        }
        for (const tavrel::search::Reach& r : result.reach) {
            out += "{\"game\":" + std::to_string(r.game) + ",\"ply\":" + std::to_string(r.ply) + "}\n";
            Flush(out, false);
        }
        Flush(out, true);
        return damaged;
    }
    if (headers) {
        tavrel::WriteHeaderLines(
            source, [](std::string_view lines) { std::fwrite(lines.data(), 1, lines.size(), stdout); }, tavrel::WholeFileThreads());
        return damaged;
    }
    std::vector<std::unique_ptr<tavrel::CheckWorker>> workers;
    std::vector<tavrel::GameWorker*> threads;
    // Many short games share the cores; a file of a few games gains nothing from them.
    const int threadCount = count < 64 ? 1 : tavrel::WholeFileThreads();
    for (int i = 0; i < threadCount; ++i) {
        workers.push_back(std::make_unique<tavrel::CheckWorker>(fens));
        threads.push_back(workers.back().get());
    }
    tavrel::ForEachGameInOrder(source, threads, [](std::string_view chunk) {
        std::fwrite(chunk.data(), 1, chunk.size(), stdout);
    });
    bool allMatched = true;
    for (const auto& worker : workers) allMatched = allMatched && worker->allMatched;
    return damaged ? damaged : allMatched ? 0 : 1;
}
