// tavrel-check: reads every game of a PGN file as the viewer does and reports, one JSON object a
// line, what each game replays to and which move texts matched no legal move.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "GamesInOrder.h"
#include "Json.h"
#include "WholeFileCheck.h"
#include "pgn/GameSource.h"
#include "pgn/Text.h"

namespace {

constexpr const char* kUsage =
    "Usage: tavrel-check [--fens] [--count] [--headers] FILE.pgn\n"
    "Replays every game of FILE.pgn and prints one JSON object per game.\n"
    "  --fens     add the position after every half-move\n"
    "  --count    print only the number of games\n"
    "  --headers  print every game's offset and tag pairs instead of replaying it\n"
    "Games are replayed on every core; TAVREL_THREADS=N sets how many threads.\n"
    "Exit status: 0 every move matched, 1 some did not or a game cannot be replayed\n"
    "(its \"error\" says why), 2 the file cannot be read.\n";

std::string Tag(const std::string& bytes) { return tavrel::JsonString(tavrel::pgn::DisplayText(bytes)); }

void PrintHeaders(std::string& out, long long number, std::int64_t offset,
                  const std::vector<tavrel::pgn::TagPair>& tags) {
    out += "{\"game\":" + std::to_string(number) + ",\"offset\":" + std::to_string(offset) + ",\"tags\":[";
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (i) out += ',';
        out += "[" + Tag(tags[i].name) + "," + Tag(tags[i].value) + "]";
    }
    out += "]}\n";
}

void Flush(std::string& out, bool always) {
    if (!always && out.size() <= (1 << 16)) return;
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

}  // namespace

int main(int argc, char** argv) {
    bool fens = false, countOnly = false, headers = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fens") {
            fens = true;
        } else if (arg == "--count") {
            countOnly = true;
        } else if (arg == "--headers") {
            headers = true;
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
    tavrel::pgn::GameSource source;
    if (const std::string why = source.Open(path); !why.empty()) {
        std::fprintf(stderr, "tavrel-check: cannot read %s: %s\n", path.c_str(), why.c_str());
        return 2;
    }
    const long long count = source.GameCount();
    if (countOnly) {
        std::printf("{\"games\":%lld}\n", count);
        return 0;
    }
    std::string out;
    if (headers) {
        for (long long k = 1; k <= count; ++k) {
            PrintHeaders(out, k, source.Index().OffsetOf(k), source.ReadTags(k));
            Flush(out, false);
        }
        Flush(out, true);
        return 0;
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
    return allMatched ? 0 : 1;
}
