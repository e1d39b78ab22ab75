// What any index of where games start must spend on a large file, whatever its rule: reading the
// file on the index's threads, in its blocks, and at the least telling apart the eight kinds of
// byte the rule turns on ("[", "]", quotes, line ends, "e" of Event, result bytes, comment and
// variation openers, escapes) for every 64 bytes. Set TAVREL_BENCH_FILE; compare with
// BM_PlainRead and BM_IndexGames in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "LargeFile.h"
#include "pgn/PgnFile.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace tavrel::bench {
namespace {

constexpr std::size_t kBlock = 256 * 1024;  // the index's block

#if defined(__x86_64__) && defined(__GNUC__)
// The class bits of 32 bytes: a bit of the low nibble's entry, kept where the high nibble's has it.
__attribute__((target("avx2"))) inline __m256i Classes(const char* at, __m256i low, __m256i high) {
    const __m256i nibble = _mm256_set1_epi8(15);
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    return _mm256_and_si256(_mm256_shuffle_epi8(low, _mm256_and_si256(x, nibble)),
                            _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble)));
}

// Eight class masks for each 64 bytes from one nibble lookup each way, folded into a sum so that
// none is optimised away.
__attribute__((target("avx2"))) std::uint64_t EightMasks(const char* bytes, std::size_t size) {
    const __m256i low = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1,
                                         2, 4, 8, 16, 32, 64, -128);
    const __m256i high = _mm256_setr_epi8(-1, 3, 5, 9, 17, 33, 65, -127, -1, 3, 5, 9, 17, 33, 65, -127, -1, 3, 5, 9, 17, 33, 65,
                                          -127, -1, 3, 5, 9, 17, 33, 65, -127);
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 64 <= size; i += 64) {
        __m256i a = Classes(bytes + i, low, high), b = Classes(bytes + i + 32, low, high);
        std::uint64_t mask[8];
        for (int k = 0; k < 8; ++k) {
            mask[k] = static_cast<std::uint32_t>(_mm256_movemask_epi8(a)) |
                      static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(b))) << 32;
            a = _mm256_add_epi8(a, a);
            b = _mm256_add_epi8(b, b);
        }
        sum += (mask[0] & (mask[1] << 1)) ^ (mask[2] & ~mask[3]) ^ (mask[4] | mask[5] >> 1) ^ (mask[6] - mask[7]);
    }
    return sum;
}
#endif

// Reads the file in the index's blocks on the index's threads, each its own share, and hands each
// block to `look`.
template <typename Look>
void ReadInParts(Look look) {
    pgn::PgnFile file;
    file.Open(LargeFile());
    const std::int64_t length = file.Length();
    const int parts = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    const auto part = [&](int k) {
        const std::unique_ptr<char, decltype(&std::free)> block(static_cast<char*>(std::aligned_alloc(4096, kBlock)), &std::free);
        std::uint64_t sum = 0;
        for (std::int64_t at = length * k / parts; at < length * (k + 1) / parts; at += kBlock) {
            sum += look(block.get(), file.ReadAt(at + 1, block.get(), kBlock));
        }
        benchmark::DoNotOptimize(sum);
    };
    std::vector<std::jthread> others;
    for (int k = 1; k < parts; ++k) others.emplace_back(part, k);
    part(0);
}

void BM_ReadOnIndexThreads(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
    for (auto _ : state) ReadInParts([](const char*, std::size_t size) { return static_cast<std::uint64_t>(size); });
}
BENCHMARK(BM_ReadOnIndexThreads)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ReadAndEightMasks(benchmark::State& state) {
    if (!LargeFile()) return state.SkipWithError("TAVREL_BENCH_FILE not set");
#if defined(__x86_64__) && defined(__GNUC__)
    if (!__builtin_cpu_supports("avx2")) return state.SkipWithError("needs AVX2");
    for (auto _ : state) ReadInParts(EightMasks);
#else
    state.SkipWithError("needs x86-64");
#endif
}
BENCHMARK(BM_ReadAndEightMasks)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace tavrel::bench
