// The opening tree window on a large file (TAVREL_BENCH_FILE): from the file being open (its
// index made) to the tree's complete answer in the window, for the start position and for a
// position after ten moves, asked first; then a second question about a position already seen.
// BM_OpenFile, the index alone, is the anchor: the file is open when it ends.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "LargeFile.h"
#include "core/Fen.h"
#include "pgn/GameSource.h"
#include "ui/tree/OpeningTree.h"

namespace tavrel::ui {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// Move 16 of a game that both kinds of benchmark file hold (hundreds of games reach it in each).
constexpr const char* kMoveSixteen = "r1bq1rk1/3n1pp1/1p1p3p/p1pPp2n/2P1P3/PPQ1BPP1/5N1P/R3KB1R w KQ - 0 16";

pgn::GameSource& Source() {
    static pgn::GameSource* source = [] {
        auto* opened = new pgn::GameSource;
        opened->Open(bench::LargeFile());
        return opened;
    }();
    return *source;
}

// Waits as the program's event loop does, asleep until an event comes: processEvents with a
// time limit ignores WaitForMoreEvents and would spin, taking a core from the search it waits for.
void Ask(OpeningTree& tree, const char* fen) {
    tree.Follow(*ParseFen(fen).setUp);
    while (!tree.Settled()) {
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void BM_OpenFile(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::int64_t games = 0;
    for (auto _ : state) {
        pgn::GameSource source;
        source.Open(bench::LargeFile());
        games = source.GameCount();
    }
    state.counters["games"] = static_cast<double>(games);
}
BENCHMARK(BM_OpenFile)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// The first question once the file is open: the window's passes start with it.
void BM_TreeWindowFirstAnswer(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    const char* fen = state.range(0) == 0 ? kStart : kMoveSixteen;
    Source();  // the file is open before the clock starts
    std::int64_t games = 0;
    for (auto _ : state) {
        auto tree = std::make_unique<OpeningTree>();
        tree->Load(Source().File().Ref(), Source().Index());
        Ask(*tree, fen);
        games = tree->Table->topLevelItemCount();
        state.PauseTiming();
        tree.reset();  // its passes stop
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(games);
}
// CPU time is the whole process's: the window's threads and its event loop.
BENCHMARK(BM_TreeWindowFirstAnswer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime()->MeasureProcessCPUTime();

// Going back to a position asked before, while the passes still run.
void BM_TreeWindowSecondQuestion(benchmark::State& state) {
    if (!bench::LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    OpeningTree tree;
    tree.Load(Source().File().Ref(), Source().Index());
    Ask(tree, kMoveSixteen);
    Ask(tree, kStart);
    bool toStart = false;
    for (auto _ : state) {
        toStart = !toStart;
        Ask(tree, toStart ? kMoveSixteen : kStart);
    }
}
BENCHMARK(BM_TreeWindowSecondQuestion)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

}  // namespace
}  // namespace tavrel::ui
