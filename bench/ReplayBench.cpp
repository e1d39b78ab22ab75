// The whole-file replay as tavrel-check runs it (every game's main line matched and made, the
// JSON lines made and thrown away), on one thread and on every core. Set TAVREL_BENCH_FILE;
// measure on both kinds of large file (bench/make-large-file.sh, and the mixed one made by
// make-mixed-large-file.py) beside BM_PlainRead of the same cached file.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "GamesInOrder.h"
#include "LargeFile.h"
#include "WholeFileCheck.h"
#include "pgn/GameSource.h"

namespace tavrel {
namespace {

// Argument: threads, 0 for one per core.
void BM_WholeFileReplay(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    const int threads = state.range(0) > 0 ? static_cast<int>(state.range(0)) : WholeFileThreads();
    std::int64_t bytes = 0, games = 0;
    for (auto _ : state) {
        pgn::GameSource source;
        source.Open(bench::LargeFile());
        std::vector<std::unique_ptr<CheckWorker>> workers;
        std::vector<GameWorker*> pool;
        for (int i = 0; i < threads; ++i) pool.push_back(workers.emplace_back(std::make_unique<CheckWorker>(false)).get());
        std::size_t written = 0;
        ForEachGameInOrder(source, pool, [&](std::string_view out) { written += out.size(); });
        benchmark::DoNotOptimize(written);
        bytes += source.Length();
        games += source.GameCount();
    }
    state.SetBytesProcessed(bytes);
    state.counters["threads"] = threads;
    state.counters["games/s"] = benchmark::Counter(static_cast<double>(games), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeFileReplay)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace tavrel
