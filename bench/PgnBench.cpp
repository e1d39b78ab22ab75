// Scan and check speed on a large file: set TAVREL_BENCH_FILE to one (bench/make-large-file.sh
// makes about 1 GiB from the real files). Without it these benchmarks skip.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "GameCheck.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"

namespace tavrel::pgn {
namespace {

const char* LargeFile() { return std::getenv("TAVREL_BENCH_FILE"); }

void BM_PlainRead(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::vector<char> block(1 << 20);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const int fd = ::open(LargeFile(), O_RDONLY);
        for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;) bytes += got;
        ::close(fd);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IndexGames(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::int64_t bytes = 0, games = 0;
    for (auto _ : state) {
        PgnFile file;
        file.Open(LargeFile());
        games = IndexGames(file).GameCount();
        bytes += file.Length();
    }
    state.SetBytesProcessed(bytes);
    state.counters["games"] = static_cast<double>(games);
}
BENCHMARK(BM_IndexGames)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CheckEveryGame(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::int64_t games = 0;
    for (auto _ : state) {
        PgnFile file;
        file.Open(LargeFile());
        const GameIndex index = IndexGames(file);
        GameState replay;
        for (std::int64_t k = 1; k <= index.GameCount(); ++k) {
            file.Seek(index.OffsetOf(k));
            benchmark::DoNotOptimize(CheckGame(replay, ReadGame(file), false));
        }
        games += index.GameCount();
    }
    state.counters["games/s"] = benchmark::Counter(static_cast<double>(games), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CheckEveryGame)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavrel::pgn
