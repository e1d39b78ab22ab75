// Move generation and replay speed.

#include <benchmark/benchmark.h>

#include "core/Fen.h"
#include "core/Perft.h"
#include "core/Replay.h"

namespace tavrel {
namespace {

void BM_PerftInitial(benchmark::State& state) {
    const Position start = StartPosition();
    std::uint64_t nodes = 0;
    for (auto _ : state) nodes += Perft(start, White, {}, static_cast<int>(state.range(0)));
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PerftInitial)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_PerftKiwipete(benchmark::State& state) {
    const FenSetUp kiwi = *ParseFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -").setUp;
    std::uint64_t nodes = 0;
    for (auto _ : state) nodes += Perft(kiwi.position, White, {}, 4);
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PerftKiwipete)->Unit(benchmark::kMillisecond);

// A 100-move game (knights out and back, kings walking) replayed from the start to its end, as a
// jump of the slider does.
GameState HundredMoveGame() {
    GameState game;
    std::vector<std::pair<std::string, std::string>> rows;
    const char* white[4] = {"Nf3", "Nc3", "Nb1", "Ng1"};
    const char* black[4] = {"Nf6", "Nc6", "Nb8", "Ng8"};
    for (int n = 0; n < 100; ++n) rows.emplace_back(white[n % 4], black[n % 4]);
    game.Load(rows);
    return game;
}

void BM_ReplayHundredMovesFirstTime(benchmark::State& state) {
    for (auto _ : state) {
        GameState game = HundredMoveGame();
        ShowSliderValue(game, 199);
        benchmark::DoNotOptimize(game.GameBoard);
    }
}
BENCHMARK(BM_ReplayHundredMovesFirstTime)->Unit(benchmark::kMicrosecond);

void BM_ReplayHundredMovesResolved(benchmark::State& state) {
    GameState game = HundredMoveGame();
    ShowSliderValue(game, 199);
    for (auto _ : state) {
        ShowSliderValue(game, 0);
        ShowSliderValue(game, 199);
        benchmark::DoNotOptimize(game.GameBoard);
    }
}
BENCHMARK(BM_ReplayHundredMovesResolved)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrel
