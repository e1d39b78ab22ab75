// The list of games on a large file (TAVREL_BENCH_FILE): the memory each game costs the list,
// and the time to sort by White and to search for one word over every game.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>

#include "pgn/GameSource.h"
#include "ui/list/GameListModel.h"

namespace tavrel::ui {
namespace {

const char* LargeFile() { return std::getenv("TAVREL_BENCH_FILE"); }

// The model with every game's headers, made once for all the list's benchmarks.
GameListModel* FullModel() {
    static GameListModel* model = [] {
        auto* made = new GameListModel;
        pgn::GameSource source;
        source.Open(LargeFile());
        const auto offsets = std::make_shared<const std::vector<std::int64_t>>(source.Index().GameOffsets);
        pgn::HeaderReader reader(LargeFile(), offsets);
        made->Reset(source.GameCount());
        for (std::int64_t first = 1; first <= source.GameCount(); first += 4096) {
            made->AppendHeaders({reader.Read(first, std::min<std::int64_t>(4096, source.GameCount() - first + 1))});
        }
        return made;
    }();
    return model;
}

void BM_ListBytesPerGame(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameListModel* model = FullModel();
    for (auto _ : state) benchmark::DoNotOptimize(model->BytesUsed());
    state.counters["games"] = static_cast<double>(model->GamesRead());
    state.counters["bytes_per_game"] = static_cast<double>(model->BytesUsed()) / static_cast<double>(model->GamesRead());
}
BENCHMARK(BM_ListBytesPerGame)->Iterations(1);

void BM_ListSortByWhite(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameListModel* model = FullModel();
    for (auto _ : state) {
        model->sort(GameListModel::White, Qt::AscendingOrder);
        state.PauseTiming();
        model->sort(GameListModel::Number, Qt::AscendingOrder);
        state.ResumeTiming();
    }
    state.counters["rows"] = model->rowCount();
}
BENCHMARK(BM_ListSortByWhite)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same after a sort by another text column: the texts are ranked in White's order again, as
// on a user's first click on the heading.
void BM_ListSortByWhiteAfterBlack(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameListModel* model = FullModel();
    for (auto _ : state) {
        state.PauseTiming();
        model->sort(GameListModel::Black, Qt::AscendingOrder);
        state.ResumeTiming();
        model->sort(GameListModel::White, Qt::AscendingOrder);
    }
    state.counters["rows"] = model->rowCount();
}
BENCHMARK(BM_ListSortByWhiteAfterBlack)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ListSearchOneWord(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    GameListModel* model = FullModel();
    int shown = 0;
    for (auto _ : state) {
        model->SetFilter("kasparov");
        shown = model->rowCount();
        state.PauseTiming();
        model->SetFilter("");
        state.ResumeTiming();
    }
    state.counters["rows_shown"] = shown;
}
BENCHMARK(BM_ListSearchOneWord)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tavrel::ui
