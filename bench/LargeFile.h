#pragma once
// The large file the benchmarks run on (TAVREL_BENCH_FILE), and the plain read every other
// figure is measured against.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tavrel::bench {

inline const char* LargeFile() { return std::getenv("TAVREL_BENCH_FILE"); }

// Reads the whole file in 1 MiB blocks and returns the bytes read.
inline std::int64_t ReadWholeFile() {
    static std::vector<char> block(1 << 20);
    std::int64_t bytes = 0;
    const int fd = ::open(LargeFile(), O_RDONLY);
    for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;) bytes += got;
    ::close(fd);
    return bytes;
}

}  // namespace tavrel::bench
