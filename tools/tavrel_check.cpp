// tavrel-check: reads every game of a PGN file as the viewer does and reports, one JSON object a
// line, what each game replays to and which move texts matched no legal move.

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "GamesInOrder.h"
#include "Json.h"
#include "WholeFileCheck.h"
#include "pgn/GameBytes.h"
#include "pgn/GameSource.h"
#include "pgn/OrderedPass.h"
#include "pgn/Text.h"
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
    "Games are replayed on every core; TAVREL_THREADS=N sets how many threads.\n"
    "  --tree FEN   print the moves played next from the position, one object a move, then the total\n"
    "  --reach FEN  print the games that reach the position and the half-move where each first does\n"
    "Exit status: 0 every move matched, 1 some did not or a game cannot be replayed\n"
    "(its \"error\" says why), 2 the file cannot be read, 3 a compressed file is damaged\n"
    "(the games before the damage are read).\n";

// Most tag names and values are printable ASCII without quotes or backslashes: they are copied
// as they stand.
constexpr auto kCopiedAsTheyStand = [] {
    std::array<bool, 256> t{};
    for (int c = 0x20; c < 0x7F; ++c) t[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return t;
}();

bool CopiedAsTheyStand(std::string_view bytes) {
    for (const char c : bytes) {
        if (!kCopiedAsTheyStand[static_cast<unsigned char>(c)]) return false;
    }
    return true;
}

// Whether none of the eight bytes of `w` needs an escape or a conversion: each is printable
// ASCII and neither a quote nor a backslash. Each test is exact for "any byte of the eight".
constexpr bool PlainWord(std::uint64_t w) {
    constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255, kHighs = kOnes * 0x80;
    const auto anyZero = [](std::uint64_t x) { return ((x - kOnes) & ~x & kHighs) != 0; };
    const bool control = ((w - kOnes * 0x20) & ~w & kHighs) != 0;  // a byte below 0x20
    return (w & kHighs) == 0 && !control && !anyZero(w ^ (kOnes * 0x7F)) && !anyZero(w ^ (kOnes * '"')) &&
           !anyZero(w ^ (kOnes * '\\'));
}
// The word test and the byte table say the same of every byte.
static_assert([] {
    for (int c = 0; c < 256; ++c) {
        if (PlainWord(0x2020202020202020 ^ (0x20 ^ static_cast<std::uint64_t>(c)) << 24) != kCopiedAsTheyStand[static_cast<std::size_t>(c)]) return false;
    }
    return true;
}());

// Copies `bytes` to `to`: returns the end of the copy when they are copied as they stand, else
// nullptr. Eight bytes are checked and copied at a time, and the last few in loads of a fixed
// size that may overlap: most names and values are short, and a loop over their last bytes one
// by one costs more than the rest.
char* CopyPlain(char* to, std::string_view bytes) {
    const char* from = bytes.data();
    const std::size_t size = bytes.size();
    bool plain = true;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, from + i, 8);
        plain &= PlainWord(w);
        std::memcpy(to + i, &w, 8);
    }
    const std::size_t rest = size - i;
    if (rest == 0) return plain ? to + size : nullptr;
    std::uint64_t w = 0;
    if (size >= 8) {
        std::memcpy(&w, from + size - 8, 8);
        std::memcpy(to + size - 8, &w, 8);
    } else if (rest >= 4) {
        std::uint32_t low, high;
        std::memcpy(&low, from, 4);
        std::memcpy(&high, from + rest - 4, 4);
        std::memcpy(to, &low, 4);
        std::memcpy(to + rest - 4, &high, 4);
        w = low | static_cast<std::uint64_t>(high) << 32;
    } else {
        const auto a = static_cast<unsigned char>(from[0]), b = static_cast<unsigned char>(from[rest / 2]),
                   c = static_cast<unsigned char>(from[rest - 1]);
        to[0] = static_cast<char>(a);
        to[rest / 2] = static_cast<char>(b);
        to[rest - 1] = static_cast<char>(c);
        // The other five bytes are a plain letter, so that only these three decide.
        w = 0x6161616161000000 | a | b << 8 | c << 16;
    }
    plain &= PlainWord(w);
    return plain ? to + size : nullptr;
}

void AppendTag(std::string& out, std::string_view bytes) {
    if (CopiedAsTheyStand(bytes)) {
        out.append(1, '"').append(bytes).append(1, '"');
    } else if (tavrel::pgn::IsValidUtf8(bytes)) {
        tavrel::AppendJsonString(out, bytes);
    } else {
        tavrel::AppendJsonString(out, tavrel::pgn::DisplayText(bytes));
    }
}

// A tag pair whose bytes need escapes or a conversion, as its line shows it.
std::string EscapedTag(std::string_view name, std::string_view value) {
    std::string tag(1, '[');
    AppendTag(tag, name);
    tag += ',';
    AppendTag(tag, value);
    tag += ']';
    return tag;
}

// Each game's line of --headers: its number, offset and every tag pair in file order. The lines
// are written into `out` through a cursor, the string grown by halves and cut to the lines at
// the end (Finish), so that a tag costs no resize of its own.
class HeaderLines final : public tavrel::pgn::TagSink {
public:
    HeaderLines(std::string& out, const tavrel::pgn::GameIndex& index) : out_(out), index_(index) {}
    void BeginGame(std::int64_t game) override {
        char* to = Room(80);
        to = Put(to, "{\"game\":");
        to = std::to_chars(to, to + 24, game).ptr;
        to = Put(to, ",\"offset\":");
        to = std::to_chars(to, to + 24, index_.OffsetOf(game)).ptr;
        to = Put(to, ",\"tags\":[");
        used_ = static_cast<std::size_t>(to - out_.data());
        first_ = true;
    }
    void Tag(std::string_view name, std::string_view value) override {
        // Most tags are written at once, their bytes checked as they are copied.
        char* to = Room(name.size() + value.size() + 8);
        if (!first_) *to++ = ',';
        first_ = false;
        char* const tag = to;
        to = Put(to, "[\"");
        to = CopyPlain(to, name);
        if (to) {
            to = Put(to, "\",\"");
            to = CopyPlain(to, value);
        }
        if (to) {
            to = Put(to, "\"]");
            used_ = static_cast<std::size_t>(to - out_.data());
            return;
        }
        used_ = static_cast<std::size_t>(tag - out_.data());
        const std::string escaped = EscapedTag(name, value);
        std::memcpy(Room(escaped.size()), escaped.data(), escaped.size());
        used_ += escaped.size();
    }
    void EndGame(std::int64_t /*game*/) override { used_ = static_cast<std::size_t>(Put(Room(3), "]}\n") - out_.data()); }
    // Cuts `out` to the lines written.
    void Finish() { out_.resize(used_); }

private:
    // Where `bytes` more may be written.
    char* Room(std::size_t bytes) {
        if (used_ + bytes > out_.size()) out_.resize(std::max(out_.size() + out_.size() / 2, used_ + bytes + 4096));
        return out_.data() + used_;
    }
    static char* Put(char* to, std::string_view bytes) {
        std::memcpy(to, bytes.data(), bytes.size());
        return to + bytes.size();
    }

    std::string& out_;
    const tavrel::pgn::GameIndex& index_;
    std::size_t used_ = 0;
    bool first_ = true;
};

// Every game's tags, read in runs of games on every core and written in game order.
void PrintHeaders(tavrel::pgn::GameSource& source) {
    const tavrel::pgn::GameIndex& index = source.Index();
    const tavrel::pgn::PgnFile& file = source.File();
    tavrel::pgn::OrderedPass<std::string> pass(index.GameCount(), 2048, tavrel::pgn::PassThreads(), [&file, &index] {
        auto games = std::make_shared<tavrel::pgn::GameBytes>(file, index.GameOffsets);
        // Each run of games is about as long as the last: room for that spares growing the lines
        // over and over.
        return [games, &index, last = std::size_t{0}](std::int64_t first, std::int64_t count) mutable {
            std::string lines;
            lines.resize(last + last / 8);
            HeaderLines sink(lines, index);
            tavrel::pgn::ReadTags(*games, first, count, sink);
            sink.Finish();
            last = lines.size();
            return lines;
        };
    });
    const auto write = [&pass] {
        for (const std::string& lines : pass.Take()) std::fwrite(lines.data(), 1, lines.size(), stdout);
    };
    while (!pass.Finished()) {
        write();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    write();
}

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
        PrintHeaders(source);
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
