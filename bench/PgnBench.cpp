// Scan and check speed on a large file: set TAVREL_BENCH_FILE to one (bench/make-large-file.sh
// makes about 1 GiB from the real files). Without it these benchmarks skip.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "LargeFile.h"
#include "GameCheck.h"
#include "HeaderLines.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"
#include "pgn/GameSource.h"
#include "pgn/HeaderStore.h"
#include "pgn/Lexer.h"
#include "pgn/OrderedPass.h"

namespace tavrel::pgn {
namespace {

using bench::LargeFile;

void BM_PlainRead(benchmark::State& state) { bench::PlainRead(state); }
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IndexGames(benchmark::State& state) { bench::BareScan(state); }
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

// The reader alone over the whole file on one core: blocks of about a MiB, cut at the index's
// offsets, read and lexed game by game with `visit`. Compare with BM_PlainRead.
template <class Visit>
void LexWholeFile(benchmark::State& state, Visit visit) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameSource source;
    source.Open(LargeFile());
    const std::vector<std::int64_t>& offsets = source.Index().GameOffsets;
    const std::int64_t fileEnd = source.Length() + 1;
    std::vector<char> block;
    for (auto _ : state) {
        for (std::size_t first = 0; first < offsets.size();) {
            std::size_t last = first + 1;  // one past the block's last game
            while (last < offsets.size() && offsets[last] - offsets[first] < (1 << 20)) ++last;
            const std::int64_t end = last < offsets.size() ? offsets[last] : fileEnd;
            block.resize(static_cast<std::size_t>(end - offsets[first]));
            source.File().ReadAt(offsets[first], block.data(), block.size());
            const std::string_view bytes(block.data(), block.size());
            for (std::size_t k = first; k < last; ++k) {
                const std::int64_t to = k + 1 < offsets.size() ? offsets[k + 1] : fileEnd;
                visit(bytes.substr(static_cast<std::size_t>(offsets[k] - offsets[first]),
                                   static_cast<std::size_t>(to - offsets[k])));
            }
            first = last;
        }
    }
    state.SetBytesProcessed(source.Length() * state.iterations());
}

void BM_LexEveryGame(benchmark::State& state) {
    struct Nothing final : Visitor {};
    Nothing nothing;
    LexWholeFile(state, [&](std::string_view game) { LexGame(game, nothing); });
}
BENCHMARK(BM_LexEveryGame)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadEveryGamesRows(benchmark::State& state) {
    RecordReader reader;
    LexWholeFile(state, [&](std::string_view game) {
        LexGame(game, reader);
        benchmark::DoNotOptimize(reader.Take());
    });
}
BENCHMARK(BM_ReadEveryGamesRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// The list of games' background pass: every game's headers into the compact store, on every
// core. Compare with BM_PlainRead of the same (cached) file.
void BM_ReadEveryHeader(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameSource source;
    source.Open(LargeFile());
    const auto offsets = std::make_shared<const std::vector<std::int64_t>>(source.Index().GameOffsets);
    std::size_t bytes = 0;
    for (auto _ : state) {
        HeaderStore store;
        store.Reserve(static_cast<std::size_t>(source.GameCount()));
        OrderedPass<HeaderBatch> pass(source.GameCount(), 4096, PassThreads(), [&] {
            auto reader = std::make_shared<HeaderReader>(LargeFile(), offsets);
            return [reader](std::int64_t first, std::int64_t count) { return reader->Read(first, count); };
        });
        while (!pass.Finished()) {
            for (const HeaderBatch& batch : pass.Take()) store.Append(batch);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        for (const HeaderBatch& batch : pass.Take()) store.Append(batch);
        bytes = store.BytesUsed();
        if (store.Size() != static_cast<std::size_t>(source.GameCount())) state.SkipWithError("games lost");
    }
    state.counters["games"] = static_cast<double>(source.GameCount());
    state.counters["store_bytes_per_game"] = static_cast<double>(bytes) / static_cast<double>(source.GameCount());
    state.SetBytesProcessed(source.File().Length() * state.iterations());
}
BENCHMARK(BM_ReadEveryHeader)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();

// The check tool's --headers after the index: every game's line of JSON, on one thread and on two.
// Compare with BM_PlainRead of the same (cached) file.
void BM_HeaderLines(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameSource source;
    source.Open(LargeFile());
    std::size_t bytes = 0;
    for (auto _ : state) {
        WriteHeaderLines(source, [&bytes](std::string_view lines) { bytes += lines.size(); }, static_cast<int>(state.range(0)));
    }
    state.counters["out_bytes"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(source.File().Length() * state.iterations());
}
BENCHMARK(BM_HeaderLines)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
}  // namespace tavrel::pgn
