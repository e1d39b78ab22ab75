#pragma once
// The large file the benchmarks run on (TAVREL_BENCH_FILE), the plain read every other figure is
// measured against, and the bare scan the progress window is measured against.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>

#include "pgn/GameIndex.h"

namespace tavrel::bench {

inline const char* LargeFile() { return std::getenv("TAVREL_BENCH_FILE"); }

// Reads the whole file the way `cat` does, as fast as a plain read goes: 128 KiB at a time into
// a page-aligned buffer (the kernel copies a cached file several times slower into a buffer that
// is not aligned like the file). Returns the bytes read.
inline std::int64_t ReadWholeFile() {
    constexpr std::size_t kBlock = 128 * 1024;
    static const std::unique_ptr<char, decltype(&std::free)> block(static_cast<char*>(std::aligned_alloc(4096, kBlock)), &std::free);
    std::int64_t bytes = 0;
    const int fd = ::open(LargeFile(), O_RDONLY);
    for (ssize_t got; (got = ::read(fd, block.get(), kBlock)) > 0;) bytes += got;
    ::close(fd);
    return bytes;
}

inline void PlainRead(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::int64_t bytes = 0;
    for (auto _ : state) bytes += ReadWholeFile();
    state.SetBytesProcessed(bytes);
}

inline void BareScan(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    std::int64_t bytes = 0, games = 0;
    for (auto _ : state) {
        pgn::PgnFile file;
        file.Open(LargeFile());
        games = pgn::IndexGames(file).GameCount();
        bytes += file.Length();
    }
    state.SetBytesProcessed(bytes);
    state.counters["games"] = static_cast<double>(games);
}

}  // namespace tavrel::bench
