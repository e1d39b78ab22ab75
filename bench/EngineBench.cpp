// How soon the first lines of a new position come back from the real engine: the time from a
// slider step (a new position handed to the engine while it searches the last one) to the first
// complete set of lines for it, the stop of the old search and its discarded best move included.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "engine/UciEngine.h"

namespace {

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char* kGame[] = {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6", "b5a4", "g8f6", "e1g1", "f8e7",
                       "f1e1", "b7b5", "a4b3", "d7d6", "c2c3", "e8g8", "h2h3", "c6a5", "b3c2", "c7c5"};

void BM_FirstLinesAfterAStep(benchmark::State& state) {
    const QString program = "/usr/games/stockfish";
    if (!QFile::exists(program)) {
        state.SkipWithError("/usr/games/stockfish is missing");
        return;
    }
    tavrel::engine::EngineSettings settings;
    settings.threads = 1;
    settings.hashMb = 16;
    settings.lines = static_cast<int>(state.range(0));
    tavrel::engine::UciEngine engine(settings);
    engine.Start(program);
    std::vector<std::string> moves;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == std::size(kGame)) next = 0, moves.clear();
        moves.push_back(kGame[next++]);
        QEventLoop loop;
        QObject::connect(&engine, &tavrel::engine::UciEngine::LinesChanged, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        engine.Analyse({kStart, moves}, false);
        loop.exec();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        // The engine searches on a while the user looks, as it would in the window.
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
BENCHMARK(BM_FirstLinesAfterAStep)->Arg(1)->Arg(3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
