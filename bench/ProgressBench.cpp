// The scan with the progress window against the bare scan and a plain read of the same file, and
// how long "Cancel" takes to end a scan. Set TAVREL_BENCH_FILE to a large file
// (bench/make-large-file.sh); without it these benchmarks skip. Runs offscreen unless told
// otherwise (QT_QPA_PLATFORM).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "pgn/GameIndex.h"
#include "LargeFile.h"
#include "ui/splash/ProgressScan.h"
#include "ui/splash/frmSplash.h"

namespace tavrel::ui {
namespace {

using bench::LargeFile;

void BM_PlainReadOfTheFile(benchmark::State& state) { bench::PlainRead(state); }
BENCHMARK(BM_PlainReadOfTheFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BareScan(benchmark::State& state) { bench::BareScan(state); }
BENCHMARK(BM_BareScan)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScanWithProgressWindow(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::int64_t bytes = 0;
    for (auto _ : state) {
        pgn::GameSource file;
        file.OpenUnindexed(LargeFile());
        IndexWithProgress(file, nullptr, [] { return true; });
        benchmark::DoNotOptimize(file.GameCount());
        bytes += file.Length();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ScanWithProgressWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

// From the moment a click on "Cancel" is queued, at a random point of the scan, to the moment
// the scan has stopped and the file is closed: what the user waits for.
void BM_CancelAnswers(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    {
        pgn::PgnFile probe;  // the click must come while the scan still runs
        if (!probe.Open(LargeFile()).empty() || probe.Length() < (std::int64_t{1} << 30))
            return state.SkipWithError("needs a file of 1 GiB or more");
    }
    using Clock = std::chrono::steady_clock;
    double worst = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pgn::GameSource file;
        file.OpenUnindexed(LargeFile());
        Clock::time_point clicked{};
        std::jthread user;
        state.ResumeTiming();
        IndexWithProgress(file, nullptr, [] { return true; }, {}, [&](frmSplash& splash) {
            user = std::jthread([&, delay = 150 + 37 * (round++ % 7)] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                clicked = Clock::now();
                QMetaObject::invokeMethod(splash.Command1, &QPushButton::click, Qt::QueuedConnection);
            });
        });
        const double answered = std::chrono::duration<double, std::milli>(Clock::now() - clicked).count();
        worst = std::max(worst, answered);
        state.SetIterationTime(answered / 1000);
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_CancelAnswers)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

}  // namespace
}  // namespace tavrel::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
