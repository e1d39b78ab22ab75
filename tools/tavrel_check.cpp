// tavrel-check: reads every game of a PGN file as the viewer does and reports, one JSON object a
// line, what each game replays to and which move texts matched no legal move.

#include <cstdio>
#include <cstring>
#include <string>

#include "GameCheck.h"
#include "Json.h"
#include "pgn/GameSource.h"
#include "pgn/Text.h"

namespace {

constexpr const char* kUsage =
    "Usage: tavrel-check [--fens] [--count] [--headers] FILE.pgn\n"
    "Replays every game of FILE.pgn and prints one JSON object per game.\n"
    "  --fens     add the position after every half-move\n"
    "  --count    print only the number of games\n"
    "  --headers  print every game's offset and tag pairs instead of replaying it\n"
    "Exit status: 0 every move matched, 1 some did not or a game cannot be replayed\n"
    "(its \"error\" says why), 2 the file cannot be read.\n";

std::string Tag(const std::string& bytes) { return tavrel::JsonString(tavrel::pgn::DisplayText(bytes)); }

void PrintGame(std::string& out, long long number, const tavrel::pgn::GameRecord& game,
               const tavrel::GameCheck& check, bool fens) {
    out += "{\"game\":" + std::to_string(number) + ",\"white\":" + Tag(game.WhitePlayer) +
           ",\"black\":" + Tag(game.BlackPlayer) + ",\"event\":" + Tag(game.EventName) +
           ",\"round\":" + Tag(game.RoundName) + ",\"plies\":" + std::to_string(check.plies) +
           ",\"unmatched\":[";
    for (std::size_t i = 0; i < check.unmatched.size(); ++i) {
        if (i) out += ',';
        out += "{\"ply\":" + std::to_string(check.unmatched[i].first) +
               ",\"text\":" + Tag(check.unmatched[i].second) + "}";
    }
    out += "],\"final\":" + tavrel::JsonString(check.final);
    out += ",\"error\":" + (check.error.empty() ? std::string("null") : tavrel::JsonString(check.error));
    if (fens) {
        out += ",\"fens\":[";
        for (std::size_t i = 0; i < check.fens.size(); ++i) {
            if (i) out += ',';
            out += tavrel::JsonString(check.fens[i]);
        }
        out += ']';
    }
    out += "}\n";
}

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
            std::puts("tavrel-check 2.0.3");
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
    bool allMatched = true;
    tavrel::GameState state;
    for (long long k = 1; k <= count; ++k) {
        const tavrel::pgn::GameRecord game = source.ReadGame(k);
        const tavrel::GameCheck check = tavrel::CheckGame(state, game, fens);
        allMatched = allMatched && check.unmatched.empty() && check.error.empty();
        PrintGame(out, k, game, check, fens);
        Flush(out, false);
    }
    Flush(out, true);
    return allMatched ? 0 : 1;
}
