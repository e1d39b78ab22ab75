// The scan with the progress window against the bare scan and a plain read of the same file, and
// how long "Cancel" takes to end a scan. Set TAVREL_BENCH_FILE to a large file
// (bench/make-large-file.sh); without it these benchmarks skip. Runs offscreen unless told
// otherwise (QT_QPA_PLATFORM).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
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

// From the moment a click on "Cancel" is due, at a point within the scan, to the moment the scan
// has stopped and the file is closed: what the user waits for. The click reaches the scan at its
// next progress point, as a user's would; a timer on the button clicks it, so that nothing
// touches the window once the scan has closed it.
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
        const std::chrono::milliseconds delay(20 + 13 * (round++ % 7));
        Clock::time_point due{};
        bool clicked = false;
        state.ResumeTiming();
        IndexWithProgress(file, nullptr, [] { return true; }, {}, [&](frmSplash& splash) {
            due = Clock::now() + delay;
            QTimer::singleShot(delay, splash.Command1, [&clicked, button = splash.Command1] {
                clicked = true;
                button->click();
            });
        });
        const double answered = std::chrono::duration<double, std::milli>(Clock::now() - due).count();
        if (!clicked) {
            state.SkipWithError("the scan ended before the click: the file is too small for this machine");
            break;
        }
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
