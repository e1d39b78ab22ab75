#pragma once
// The bytes that the scan of where games start looks at, found 64 at a time as one bit per byte:
// a vector path on processors with AVX2, a portable one elsewhere (and wherever
// TAVREL_SCAN_PORTABLE is defined, which the tests use to check it).

#include <cstddef>
#include <cstdint>

namespace tavrel::pgn::scan {

// Sets flow[k] and tag[k] for the first `chunks` runs of 64 bytes from `bytes`, a bit each: flow
// marks the bytes that matter in movetext, comments and variations ([ { } ; ( ) * - / %), tag
// those that matter in tags and rest-of-line comments ([ " \ ] and line ends).
void Classify(const char* bytes, std::int64_t chunks, std::uint64_t* flow, std::uint64_t* tag);

// Lists the positions of the set bits of bits[0 .. chunks) in order, bits[k] covering positions
// from base + 64 * k; first[k] is the index in `at` of the first from chunk k on (first[chunks]
// is how many there are). `at` has room for 64 more than there are bits. Returns how many.
std::size_t ListBits(const std::uint64_t* bits, std::size_t chunks, std::int64_t base, std::int64_t* at, std::size_t* first);

// What a game's body is searched for when it may be passed over: its "["s, and the bytes that may
// belong to a termination marker ("*", and "-" or "/" after a "1" or "0"), a bit each for the 64
// bytes from `at` (which has a byte before it).
struct BodyBits {
    std::uint64_t brackets = 0;
    std::uint64_t markers = 0;
};

// The first run of 64 bytes, from `chunk` on by 64 and before `end`, that holds a bit of BodyBits,
// with those bits (none at or past `end`); `end` when there is none. `file + p` is the byte at p,
// readable from chunk - 1 to 64 bytes past the run that starts before `end`.
std::int64_t NextBodyBits(const char* file, std::int64_t chunk, std::int64_t end, BodyBits& bits);

// The first run of 64 bytes, as NextBodyBits finds it, that holds a byte that may change the
// state of plain movetext: a "[", "{", "(", ";" or "%" (in `brackets`), or a byte that may belong
// to a termination marker (in `markers`).
std::int64_t NextMovetextBits(const char* file, std::int64_t chunk, std::int64_t end, BodyBits& bits);

// The bytes that shape a tag section, a bit each for the 64 bytes from `at`.
struct TagBits {
    std::uint64_t brackets = 0;     // [
    std::uint64_t closes = 0;       // ]
    std::uint64_t quotes = 0;       // "
    std::uint64_t backslashes = 0;  // \ (escapes, left to the byte-by-byte way)
    std::uint64_t lineEnds = 0;     // \n \r
    std::uint64_t blanks = 0;       // bytes up to 32: blanks and control bytes
    std::uint64_t quoteParity = 0;  // bit i: whether the quotes among bytes 0 to i are odd
};

// The TagBits of the 64 bytes from `at`.
TagBits TagBitsOf(const char* at);

// Fewer of them, for tags on lines of their own, a bit each for the 64 bytes from `at`.
struct LineBits {
    std::uint64_t brackets = 0;     // [
    std::uint64_t closes = 0;       // ]
    std::uint64_t quotes = 0;       // "
    std::uint64_t backslashes = 0;  // \ (escapes)
    std::uint64_t lineFeeds = 0;    // \n
    std::uint64_t returns = 0;      // \r
    std::uint64_t beforeE = 0;      // bit i: byte i + 1 is "e" or "E" (which may begin "Event")
};

// The LineBits of the 64 bytes from `at`, which has a readable byte after them.
LineBits LineBitsOf(const char* at);

// Bit i of the result is the parity of bits 0 to i of x.
constexpr std::uint64_t PrefixXor(std::uint64_t x) {
    for (int shift = 1; shift < 64; shift *= 2) x ^= x << shift;
    return x;
}

}  // namespace tavrel::pgn::scan
