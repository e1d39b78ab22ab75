// A compressed game file (TAVREL_BENCH_PACKED: .pgn.zst, .pgn.gz or .zip): its index against the
// system's own decompressor writing the text to /dev/null in the same run, the time to show games
// anywhere in it after the index, and the memory its restart points take. Skips without the file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "io/PackedText.h"
#include "pgn/FileKind.h"
#include "pgn/GameSource.h"

namespace tavrel::pgn {
namespace {

const char* PackedFile() { return std::getenv("TAVREL_BENCH_PACKED"); }

void BM_PackedAnchorDecompress(benchmark::State& state) {
    if (!PackedFile()) return state.SkipWithError("TAVREL_BENCH_PACKED not set");
    const FileKind kind = KindOfFile(PackedFile());
    const std::string tool = kind == FileKind::Zstd ? "pzstd -dc" : kind == FileKind::Gzip ? "gzip -dc" : "unzip -p";
    state.SetLabel(tool);
    for (auto _ : state) {
        if (std::system((tool + " '" + PackedFile() + "' > /dev/null").c_str()) != 0) return state.SkipWithError("the tool failed");
    }
}
BENCHMARK(BM_PackedAnchorDecompress)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_PackedIndex(benchmark::State& state) {
    if (!PackedFile()) return state.SkipWithError("TAVREL_BENCH_PACKED not set");
    std::int64_t games = 0, text = 0;
    for (auto _ : state) {
        GameSource source;
        if (!source.Open(PackedFile()).empty()) return state.SkipWithError("cannot open the file");
        games = source.GameCount();
        text = source.Length();
    }
    state.counters["games"] = static_cast<double>(games);
    state.counters["text_GiB"] = static_cast<double>(text) / (1 << 30);
}
BENCHMARK(BM_PackedIndex)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Games spread over the file, each read afresh (far from the one before): the last first, then
// one in the middle, then the rest.
void BM_PackedAnyGame(benchmark::State& state) {
    if (!PackedFile()) return state.SkipWithError("TAVREL_BENCH_PACKED not set");
    GameSource source;
    if (!source.Open(PackedFile()).empty()) return state.SkipWithError("cannot open the file");
    const std::int64_t count = source.GameCount();
    double worst = 0, last = 0, middle = 0;
    int read = 0;
    for (auto _ : state) {
        for (std::int64_t k = 0; k < 16; ++k) {
            const std::int64_t game = k == 0 ? count : k == 1 ? count / 2 : std::max<std::int64_t>(1, count * (15 - k) / 15 + (k % 2) * 7);
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(source.ReadGame(game));
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            worst = std::max(worst, ms);
            last = k == 0 ? ms : last;
            middle = k == 1 ? ms : middle;
            ++read;
        }
    }
    state.counters["worst_ms"] = worst;
    state.counters["last_ms"] = last;
    state.counters["middle_ms"] = middle;
    state.counters["games_read"] = read;
    const auto* packed = dynamic_cast<const io::PackedText*>(source.File().Ref().text.get());
    if (packed) {
        state.counters["restart_MiB_per_GiB"] =
            static_cast<double>(packed->RestartBytes()) / (1 << 20) / (static_cast<double>(source.Length()) / (1 << 30));
        state.counters["restarts"] = static_cast<double>(packed->RestartCount());
    }
}
BENCHMARK(BM_PackedAnyGame)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace tavrel::pgn
