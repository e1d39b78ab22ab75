// The game text of the longest game of a real file (TAVREL_GAMETEXT_FILE, by default the TCEC
// test file of ../shared/pgn, whose games carry a comment on every move): building the window's
// document, and following the slider through every half-move of it (the time of the whole sweep).

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <string>
#include <utility>

#include "pgn/GameReader.h"
#include "pgn/GameSource.h"
#include "ui/gametext/GameText.h"

namespace tavrel::ui {
namespace {

std::string GameTextFile() {
    if (const char* file = std::getenv("TAVREL_GAMETEXT_FILE")) return file;
    return TAVREL_SHARED_PGN "/tcec-S28-game-length-update-testing-1.pgn";
}

// The file's game with the most movetext items, read once.
const pgn::AnnotatedGame* LongestGame() {
    static const pgn::AnnotatedGame* longest = []() -> const pgn::AnnotatedGame* {
        pgn::GameSource source;
        if (!source.Open(GameTextFile()).empty()) return nullptr;
        auto* best = new pgn::AnnotatedGame;
        for (std::int64_t game = 1; game <= source.GameCount(); ++game) {
            pgn::AnnotatedGame text = source.ReadAnnotatedGame(game);
            if (text.items.size() > best->items.size()) *best = std::move(text);
        }
        return best;
    }();
    return longest;
}

int MainLinePlies(const pgn::AnnotatedGame& game) {
    int plies = 0;
    for (const pgn::MovetextItem& item : game.items) plies += item.kind == pgn::MovetextItem::Kind::Move && item.depth == 0;
    return plies;
}

void BM_GameTextBuild(benchmark::State& state) {
    const pgn::AnnotatedGame* game = LongestGame();
    if (!game) return state.SkipWithError("no game text file");
    GameText window;
    window.show();
    for (auto _ : state) {
        window.SetGame(*game, "White vs. Black");
        window.ShowSliderValue(-1);
        QApplication::processEvents();
    }
    state.counters["half_moves"] = MainLinePlies(*game);
    state.counters["items"] = static_cast<double>(game->items.size());
}
BENCHMARK(BM_GameTextBuild)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_GameTextStepSlider(benchmark::State& state) {
    const pgn::AnnotatedGame* game = LongestGame();
    if (!game) return state.SkipWithError("no game text file");
    GameText window;
    window.show();
    window.SetGame(*game, "White vs. Black");
    QApplication::processEvents();
    const int plies = MainLinePlies(*game);
    for (auto _ : state) {
        // Painted after every step, as the window is while a user holds the arrow key down.
        for (int v = -1; v < plies; ++v) {
            window.ShowSliderValue(v);
            QApplication::processEvents();
        }
    }
    state.counters["half_moves"] = plies;
}
BENCHMARK(BM_GameTextStepSlider)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace tavrel::ui
