// tavrel-check: reads every game of a PGN file as the viewer does and reports, one JSON object a
// line, what each game replays to and which move texts matched no legal move.

#include <cstdio>
#include <cstring>
#include <string>

#include "GameCheck.h"
#include "Json.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"
#include "pgn/Text.h"

namespace {

constexpr const char* kUsage =
    "Usage: tavrel-check [--fens] [--count] FILE.pgn\n"
    "Replays every game of FILE.pgn and prints one JSON object per game.\n"
    "  --fens   add the position after every half-move\n"
    "  --count  print only the number of games\n"
    "Exit status: 0 every move matched, 1 some did not, 2 the file cannot be read.\n";

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

}  // namespace

int main(int argc, char** argv) {
    bool fens = false, countOnly = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fens") {
            fens = true;
        } else if (arg == "--count") {
            countOnly = true;
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
    tavrel::pgn::PgnFile file;
    if (const std::string why = file.Open(path); !why.empty()) {
        std::fprintf(stderr, "tavrel-check: cannot read %s: %s\n", path.c_str(), why.c_str());
        return 2;
    }
    const tavrel::pgn::GameIndex index = tavrel::pgn::IndexGames(file);
    if (countOnly) {
        std::printf("{\"games\":%lld}\n", static_cast<long long>(index.GameCount()));
        return 0;
    }
    bool allMatched = true;
    tavrel::GameState state;
    std::string out;
    for (long long k = 1; k <= index.GameCount(); ++k) {
        file.Seek(index.OffsetOf(k));
        const tavrel::pgn::GameRecord game = tavrel::pgn::ReadGame(file);
        const tavrel::GameCheck check = tavrel::CheckGame(state, game, fens);
        allMatched = allMatched && check.unmatched.empty();
        PrintGame(out, k, game, check, fens);
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return allMatched ? 0 : 1;
}
