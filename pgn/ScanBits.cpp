#include "ScanBits.h"

#include <array>
#include <bit>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(TAVREL_SCAN_PORTABLE)
#include <immintrin.h>
#endif

namespace tavrel::pgn::scan {
namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }

// The bytes that matter, found for 64 bytes at a time as one bit per byte and then walked one set
// bit at a time: most of a file is movetext, comments and tags, where a byte that matters comes
// every twenty bytes or so, and the bytes between them cost nothing. Each byte gets a class from
// two sixteen-entry tables, one for its low and one for its high four bits (a vector shuffle
// looks up 32 bytes at once); a class bit is set for exactly the bytes named beside it.
enum ClassBit : std::uint8_t {
    kOpenBracket = 1,       // [
    kBraceOrSemicolon = 2,  // { ;
    kCloseBrace = 4,        // }
    kParen = 8,             // ( )
    kMarkerByte = 16,       // * - / %: every termination marker holds one of the first three
    kQuote = 32,            // "
    kBackslashOrClose = 64, // \ ]
    kLineEnd = 128,         // \n \r
};
// The bytes that matter in movetext, comments and variations; and in tags and rest-of-line comments.
constexpr std::uint8_t kFlowClasses = kOpenBracket | kBraceOrSemicolon | kCloseBrace | kParen | kMarkerByte;
constexpr std::uint8_t kTagClasses = kOpenBracket | kQuote | kBackslashOrClose | kLineEnd;

constexpr std::array<std::uint8_t, 16> kByLowBits = [] {
    std::array<std::uint8_t, 16> t{};
    t[0x2] = kQuote;
    t[0x5] = kMarkerByte;
    t[0x8] = t[0x9] = kParen;
    t[0xA] = kMarkerByte | kLineEnd;
    t[0xB] = kOpenBracket | kBraceOrSemicolon;
    t[0xC] = kBackslashOrClose;
    t[0xD] = kCloseBrace | kMarkerByte | kBackslashOrClose | kLineEnd;
    t[0xF] = kMarkerByte;
    return t;
}();
constexpr std::array<std::uint8_t, 16> kByHighBits = [] {
    std::array<std::uint8_t, 16> t{};
    t[0x0] = kLineEnd;
    t[0x2] = kParen | kMarkerByte | kQuote;
    t[0x3] = kBraceOrSemicolon;
    t[0x5] = kOpenBracket | kBackslashOrClose;
    t[0x7] = kBraceOrSemicolon | kCloseBrace;
    return t;
}();
constexpr std::uint8_t ClassOf(char c) {
    const auto u = static_cast<unsigned char>(c);
    return kByLowBits[u & 15] & kByHighBits[u >> 4];
}

constexpr bool ClassesAreExact() {
    constexpr std::pair<char, std::uint8_t> kNamed[] = {
        {'[', kOpenBracket}, {'{', kBraceOrSemicolon}, {';', kBraceOrSemicolon}, {'}', kCloseBrace}, {'(', kParen},
        {')', kParen}, {'*', kMarkerByte}, {'-', kMarkerByte}, {'/', kMarkerByte},
        {'%', kMarkerByte}, {'"', kQuote}, {'\\', kBackslashOrClose}, {']', kBackslashOrClose}, {'\n', kLineEnd},
        {'\r', kLineEnd}};
    for (int u = 0; u < 256; ++u) {
        std::uint8_t want = 0;
        for (const auto& [c, bit] : kNamed) want |= static_cast<unsigned char>(c) == u ? bit : 0;
        if (ClassOf(static_cast<char>(u)) != want) return false;
    }
    return true;
}
static_assert(ClassesAreExact());

void ClassifyPortable(const char* bytes, std::int64_t chunks, std::uint64_t* flow, std::uint64_t* tag) {
    for (std::int64_t k = 0; k < chunks; ++k) {
        flow[k] = tag[k] = 0;
        for (int i = 0; i < 64; ++i) {
            const std::uint8_t c = ClassOf(bytes[64 * k + i]);
            flow[k] |= static_cast<std::uint64_t>((c & kFlowClasses) != 0) << i;
            tag[k] |= static_cast<std::uint64_t>((c & kTagClasses) != 0) << i;
        }
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(TAVREL_SCAN_PORTABLE)
#define TAVREL_SCAN_AVX2 1
__attribute__((target("avx2"))) void ClassifyAvx2(const char* bytes, std::int64_t chunks, std::uint64_t* flow, std::uint64_t* tag) {
    const __m256i low = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kByLowBits.data())));
    const __m256i high = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kByHighBits.data())));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i flowClasses = _mm256_set1_epi8(static_cast<char>(kFlowClasses));
    const __m256i tagClasses = _mm256_set1_epi8(static_cast<char>(kTagClasses));
    for (std::int64_t k = 0; k < chunks; ++k) {
        std::uint64_t flowBits = 0, tagBits = 0;
        for (int half = 0; half < 2; ++half) {
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 64 * k + 32 * half));
            const __m256i c = _mm256_and_si256(_mm256_shuffle_epi8(low, _mm256_and_si256(x, nibble)),
                                               _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble)));
            const auto noFlow = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(c, flowClasses), zero)));
            const auto noTag = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(c, tagClasses), zero)));
            flowBits |= static_cast<std::uint64_t>(~noFlow) << (32 * half);
            tagBits |= static_cast<std::uint64_t>(~noTag) << (32 * half);
        }
        flow[k] = flowBits;
        tag[k] = tagBits;
    }
}
#endif

#if defined(TAVREL_SCAN_AVX2)
// Every processor with AVX2 also counts and finds bits in one instruction each (POPCNT, BMI1).
// And carry-less multiplication (PCLMULQDQ), which came years before it.
// Asked once, as the program starts: a function's own static would be checked on every call of
// the small functions below, which the scan makes several times a game.
bool DetectAvx2() {
    __builtin_cpu_init();  // the processor may be asked before the constructors that would set it up
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi") &&
           __builtin_cpu_supports("pclmul");
}
const bool kHasAvx2 = DetectAvx2();
bool HasAvx2() { return kHasAvx2; }
#endif

// Clears the bits at and past `size` and tells whether any are left.
bool AnyBefore(std::int64_t size, BodyBits& bits) {
    if (size < 64) {
        const std::uint64_t inBlock = (std::uint64_t{1} << size) - 1;
        bits.brackets &= inBlock;
        bits.markers &= inBlock;
    }
    return (bits.brackets | bits.markers) != 0;
}

template <bool kMovetext>
BodyBits BodyBitsPortable(const char* at) {
    BodyBits bits;
    for (int i = 0; i < 64; ++i) {
        const char c = at[i];
        const bool afterDigit = (at[i - 1] | 1) == '1';
        const bool stops = c == '[' || (kMovetext && (c == '{' || c == '(' || c == ';' || c == '%'));
        bits.brackets |= static_cast<std::uint64_t>(stops) << i;
        bits.markers |= static_cast<std::uint64_t>(c == '*' || ((c == '-' || c == '/') && afterDigit)) << i;
    }
    return bits;
}

// The portable ways are kept out of line, so that the calls below that choose a way stay a jump.
template <bool kMovetext>
[[gnu::noinline]] std::int64_t NextBodyBitsPortable(const char* file, std::int64_t chunk, std::int64_t end, BodyBits& bits) {
    for (; chunk < end; chunk += 64) {
        bits = BodyBitsPortable<kMovetext>(file + chunk);
        if (AnyBefore(end - chunk, bits)) return chunk;
    }
    return end;
}

#if defined(TAVREL_SCAN_AVX2)
// The bits of 32 bytes that `is` marks, placed as the `half`-th 32 of 64.
__attribute__((target("avx2"))) inline std::uint64_t HalfBits(__m256i is, int half) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(is))) << (32 * half);
}

// The bytes of 32 that may belong to a termination marker; `before` holds the byte before each.
__attribute__((target("avx2"))) inline __m256i MarkerBytes(__m256i x, __m256i before) {
    const __m256i afterDigit = _mm256_cmpeq_epi8(_mm256_or_si256(before, _mm256_set1_epi8(1)), _mm256_set1_epi8('1'));
    const __m256i dashOrSlash = _mm256_or_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('-')), _mm256_cmpeq_epi8(x, _mm256_set1_epi8('/')));
    return _mm256_or_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('*')), _mm256_and_si256(dashOrSlash, afterDigit));
}

// The "["s of 32 bytes, and in movetext the other bytes that may end plain moves.
template <bool kMovetext>
__attribute__((target("avx2"))) inline __m256i StopBytes(__m256i x) {
    const __m256i bracket = _mm256_cmpeq_epi8(x, _mm256_set1_epi8('['));
    if (!kMovetext) return bracket;
    const __m256i braceOrParen = _mm256_or_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('{')), _mm256_cmpeq_epi8(x, _mm256_set1_epi8('(')));
    const __m256i lineComment = _mm256_or_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8(';')), _mm256_cmpeq_epi8(x, _mm256_set1_epi8('%')));
    return _mm256_or_si256(bracket, _mm256_or_si256(braceOrParen, lineComment));
}

// The same, 32 bytes at a time; the bits are gathered only for the few 64 bytes that hold one.
template <bool kMovetext>
__attribute__((target("avx2"))) std::int64_t NextBodyBitsAvx2(const char* file, std::int64_t chunk, std::int64_t end, BodyBits& bits) {
    for (; chunk < end; chunk += 64) {
        const char* at = file + chunk;
        const __m256i x0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256i x1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
        const __m256i brackets0 = StopBytes<kMovetext>(x0), brackets1 = StopBytes<kMovetext>(x1);
        const __m256i markers0 = MarkerBytes(x0, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at - 1)));
        const __m256i markers1 = MarkerBytes(x1, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 31)));
        const __m256i any = _mm256_or_si256(_mm256_or_si256(brackets0, brackets1), _mm256_or_si256(markers0, markers1));
        if (_mm256_testz_si256(any, any)) continue;
        bits.brackets = HalfBits(brackets0, 0) | HalfBits(brackets1, 1);
        bits.markers = HalfBits(markers0, 0) | HalfBits(markers1, 1);
        if (AnyBefore(end - chunk, bits)) return chunk;
    }
    return end;
}
#endif

// Bit i set where `is` holds for the byte at + i: the one loop of the portable masks below.
template <class Is>
std::uint64_t BitsWhere(const char* at, Is is) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 64; ++i) bits |= static_cast<std::uint64_t>(is(at + i)) << i;
    return bits;
}
std::uint64_t BitsOf(const char* at, char c) {
    return BitsWhere(at, [c](const char* p) { return *p == c; });
}

[[gnu::noinline]] TagBits TagBitsPortable(const char* at) {
    TagBits bits;
    bits.brackets = BitsOf(at, '[');
    bits.closes = BitsOf(at, ']');
    bits.quotes = BitsOf(at, '"');
    bits.backslashes = BitsOf(at, '\\');
    bits.lineEnds = BitsOf(at, '\n') | BitsOf(at, '\r');
    bits.blanks = BitsWhere(at, [](const char* p) { return IsSeparator(*p); });
    bits.quoteParity = PrefixXor(bits.quotes);
    return bits;
}

[[gnu::noinline]] LineBits LineBitsPortable(const char* at) {
    LineBits bits;
    bits.brackets = BitsOf(at, '[');
    bits.closes = BitsOf(at, ']');
    bits.quotes = BitsOf(at, '"');
    bits.backslashes = BitsOf(at, '\\');
    bits.lineFeeds = BitsOf(at, '\n');
    bits.returns = BitsOf(at, '\r');
    bits.beforeE = BitsWhere(at, [](const char* p) { return (p[1] | 0x20) == 'e'; });
    return bits;
}

#if defined(TAVREL_SCAN_AVX2)
__attribute__((target("avx2,pclmul"))) TagBits TagBitsAvx2(const char* at) {
    TagBits bits;
    const __m256i space = _mm256_set1_epi8(' ');
    for (int half = 0; half < 2; ++half) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32 * half));
        bits.brackets |= HalfBits(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('[')), half);
        bits.closes |= HalfBits(_mm256_cmpeq_epi8(x, _mm256_set1_epi8(']')), half);
        bits.quotes |= HalfBits(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('"')), half);
        bits.backslashes |= HalfBits(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('\\')), half);
        bits.lineEnds |= HalfBits(_mm256_or_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8('\n')), _mm256_cmpeq_epi8(x, _mm256_set1_epi8('\r'))), half);
        bits.blanks |= HalfBits(_mm256_cmpeq_epi8(_mm256_min_epu8(x, space), x), half);
    }
    // Multiplying by all ones without carries XORs each bit into every bit above it.
    const __m128i product = _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(bits.quotes)), _mm_set1_epi8(-1), 0);
    bits.quoteParity = static_cast<std::uint64_t>(_mm_cvtsi128_si64(product));
    return bits;
}
#endif

#if defined(TAVREL_SCAN_AVX2)
// The bits of the bytes equal to c among the 64 of a and b.
__attribute__((target("avx2"))) inline std::uint64_t BitsOf(__m256i a, __m256i b, char c) {
    return HalfBits(_mm256_cmpeq_epi8(a, _mm256_set1_epi8(c)), 0) | HalfBits(_mm256_cmpeq_epi8(b, _mm256_set1_epi8(c)), 1);
}
// Whether any of the 64 bytes of a and b is c or d.
__attribute__((target("avx2"))) inline bool AnyOf(__m256i a, __m256i b, char c, char d) {
    const __m256i cs = _mm256_or_si256(_mm256_cmpeq_epi8(a, _mm256_set1_epi8(c)), _mm256_cmpeq_epi8(b, _mm256_set1_epi8(c)));
    const __m256i ds = _mm256_or_si256(_mm256_cmpeq_epi8(a, _mm256_set1_epi8(d)), _mm256_cmpeq_epi8(b, _mm256_set1_epi8(d)));
    const __m256i any = _mm256_or_si256(cs, ds);
    return !_mm256_testz_si256(any, any);
}

__attribute__((target("avx2"))) LineBits LineBitsAvx2(const char* at) {
    LineBits bits;
    const __m256i x0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i x1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
    bits.brackets = BitsOf(x0, x1, '[');
    bits.closes = BitsOf(x0, x1, ']');
    bits.quotes = BitsOf(x0, x1, '"');
    bits.lineFeeds = BitsOf(x0, x1, '\n');
    // Or-ing 0x20 makes "e" of "E" and of "e", and of no other byte.
    const __m256i e = _mm256_set1_epi8(0x20);
    bits.beforeE = BitsOf(_mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 1)), e),
                          _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 33)), e), 'e');
    // Escapes are rare in tags, and so are carriage returns but in whole files of them: one test
    // tells that both are absent.
    if (AnyOf(x0, x1, '\\', '\r')) {
        bits.backslashes = BitsOf(x0, x1, '\\');
        bits.returns = BitsOf(x0, x1, '\r');
    }
    return bits;
}
#endif

// Four positions are written for every chunk whether it has them or not: in movetext a chunk
// seldom holds more (about one in twenty), and each slot written in vain costs about as much as
// the rare extra loop; eight made this the costliest step of the scan.
inline std::size_t ListBitsBody(const std::uint64_t* bits, std::size_t chunks, std::int64_t base, std::int64_t* at, std::size_t* first) {
    std::size_t n = 0;
    for (std::size_t k = 0; k < chunks; ++k, base += 64) {
        first[k] = n;
        std::uint64_t left = bits[k];
        const auto count = static_cast<std::size_t>(std::popcount(left));
        std::int64_t* out = at + n;
        for (std::size_t j = 0; j < 4; ++j, left &= left - 1) out[j] = base + std::countr_zero(left);
        for (std::size_t j = 4; j < count; ++j, left &= left - 1) out[j] = base + std::countr_zero(left);
        n += count;
    }
    first[chunks] = n;
    return n;
}
#if defined(TAVREL_SCAN_AVX2)
__attribute__((target("popcnt,bmi"))) std::size_t ListBitsFast(const std::uint64_t* bits, std::size_t chunks, std::int64_t base, std::int64_t* at, std::size_t* first) {
    return ListBitsBody(bits, chunks, base, at, first);
}
#endif

}  // namespace

void Classify(const char* bytes, std::int64_t chunks, std::uint64_t* flow, std::uint64_t* tag) {
#if defined(TAVREL_SCAN_AVX2)
    if (HasAvx2()) return ClassifyAvx2(bytes, chunks, flow, tag);
#endif
    ClassifyPortable(bytes, chunks, flow, tag);
}

std::int64_t NextBodyBits(const char* file, std::int64_t chunk, std::int64_t end, BodyBits& bits) {
#if defined(TAVREL_SCAN_AVX2)
    if (HasAvx2()) return NextBodyBitsAvx2<false>(file, chunk, end, bits);
#endif
    return NextBodyBitsPortable<false>(file, chunk, end, bits);
}

std::int64_t NextMovetextBits(const char* file, std::int64_t chunk, std::int64_t end, BodyBits& bits) {
#if defined(TAVREL_SCAN_AVX2)
    if (HasAvx2()) return NextBodyBitsAvx2<true>(file, chunk, end, bits);
#endif
    return NextBodyBitsPortable<true>(file, chunk, end, bits);
}

TagBits TagBitsOf(const char* at) {
#if defined(TAVREL_SCAN_AVX2)
    if (HasAvx2()) return TagBitsAvx2(at);
#endif
    return TagBitsPortable(at);
}

LineBits LineBitsOf(const char* at) {
#if defined(TAVREL_SCAN_AVX2)
    if (HasAvx2()) return LineBitsAvx2(at);
#endif
    return LineBitsPortable(at);
}

std::size_t ListBits(const std::uint64_t* bits, std::size_t chunks, std::int64_t base, std::int64_t* at, std::size_t* first) {
#if defined(TAVREL_SCAN_AVX2)
    if (HasAvx2()) return ListBitsFast(bits, chunks, base, at, first);
#endif
    return ListBitsBody(bits, chunks, base, at, first);
}

}  // namespace tavrel::pgn::scan
