// The opening tree on a large file (TAVREL_BENCH_FILE): first questions asked of the text, the
// pass that keeps every game's first plies, then questions answered from what it kept. Compare
// with BM_PlainRead of the same (cached) file in the same run.

#include <benchmark/benchmark.h>

#include "LargeFile.h"
#include "pgn/GameSource.h"
#include "search/PositionSearch.h"
#include "search/TextSearch.h"

namespace tavrel::search {
namespace {

struct Opened {
    pgn::GameSource source;
    OpeningStore store;
};

Opened& File() {
    static Opened* opened = [] {
        auto* o = new Opened;
        o->source.Open(bench::LargeFile());
        o->store = BuildStore(o->source.File(), o->source.Index());
        return o;
    }();
    return *opened;
}

// By plies kept: 1, the first stage, enough for the start position; then the full store.
void BM_TreeStorePass(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    pgn::GameSource source;
    source.Open(bench::LargeFile());
    std::size_t bytes = 0;
    for (auto _ : state) bytes = BuildStore(source.File(), source.Index(), static_cast<int>(state.range(0))).Bytes();
    state.counters["games"] = static_cast<double>(source.GameCount());
    state.counters["bytes_per_game"] = static_cast<double>(bytes) / static_cast<double>(source.GameCount());
    state.SetBytesProcessed(source.File().Length() * state.iterations());
}
BENCHMARK(BM_TreeStorePass)->Arg(1)->Arg(kKeptPlies)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Positions by depth: the start, after 1. e4 c5, a Sicilian at move 6, a Queen's Gambit at move 15.
const char* const kFens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2",
    "rnbqkb1r/1p2pppp/p2p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R w KQkq - 0 6",
    "r2q1rk1/pp1nbppp/2p1pn2/3p4/2PP1B2/2N1PN2/PPQ2PPP/R3KB1R w KQ - 0 15",
};

// A first question once the file is open, as the check tool and the window ask it before the
// openings are kept: the text alone, each game read only as far as it can still reach the position.
void BM_TreeFromText(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    pgn::GameSource source;
    source.Open(bench::LargeFile());
    const Target target = *TargetOfFen(kFens[state.range(0)]);
    std::int64_t games = 0;
    for (auto _ : state) {
        const SearchResult result = SearchText(source.File(), source.Index(), target);
        benchmark::DoNotOptimize(TreeRows(result, target));
        games = result.total.games;
    }
    state.counters["games_reaching"] = static_cast<double>(games);
}
BENCHMARK(BM_TreeFromText)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The same positions once the openings are kept.
void BM_Tree(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    Opened& o = File();
    const Target target = *TargetOfFen(kFens[state.range(0)]);
    std::int64_t games = 0, replays = 0;
    for (auto _ : state) {
        const SearchResult result = Search(o.store, o.source.File(), o.source.Index(), target);
        benchmark::DoNotOptimize(TreeRows(result, target));
        games = result.total.games;
        replays = result.textReplays;
    }
    state.counters["games_reaching"] = static_cast<double>(games);
    state.counters["text_replays"] = static_cast<double>(replays);
}
BENCHMARK(BM_Tree)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace tavrel::search
