#include "GameStarts.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel::pgn {
namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }
// A byte that continues a token: a termination marker must stand alone to count.
bool IsWordByte(char c) { return IsLetter(c) || IsDigit(c) || c == '-' || c == '/'; }

// The bytes each state must look at; everything between them is passed over sixteen at a time.
// Most of a file is movetext, where "[", "{", ";", "%", "(", "*", "-" and "/" matter: four
// comparisons find them all (and the escape byte, which is looked at and let be).
#if defined(__SSE2__)
struct MovesBytes {
    __m128i operator()(__m128i x) const {
        const __m128i a = _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x60)), _mm_set1_epi8(0x7B));  // [ { ;
        const __m128i b = _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x02)), _mm_set1_epi8(0x2F));  // - /
        const __m128i c = _mm_cmpeq_epi8(_mm_or_si128(x, _mm_set1_epi8(0x02)), _mm_set1_epi8(0x2A));  // ( *
        const __m128i d = _mm_cmpeq_epi8(x, _mm_set1_epi8('%'));
        return _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    }
};
template <char... Bytes>
struct AnyOf {
    __m128i operator()(__m128i x) const {
        __m128i hit = _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(x, _mm_set1_epi8(Bytes)))), ...);
        return hit;
    }
};

// The first i in [0, size) whose byte the mask picks, or size. Reads up to 15 bytes past size.
template <typename Mask>
std::int64_t FindFirst(const char* bytes, std::int64_t size, Mask mask) {
    const auto chunk = [&](std::int64_t at) {
        return static_cast<unsigned>(_mm_movemask_epi8(mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at)))));
    };
    // Most hits are near: in a tag, the quote or bracket a few bytes on.
    if (const unsigned hits = chunk(0); hits || size <= 16) return std::min<std::int64_t>(size, hits ? __builtin_ctz(hits) : 16);
    std::int64_t i = 16;
    for (; i + 64 <= size; i += 64) {
        const __m128i a = mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i)));
        const __m128i b = mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 16)));
        const __m128i c = mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 32)));
        const __m128i d = mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 48)));
        if (!_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)))) continue;
        break;
    }
    for (; i < size; i += 16) {
        if (const unsigned hits = chunk(i)) return std::min(size, i + __builtin_ctz(hits));
    }
    return size;
}
#else
struct MovesBytes {
    bool operator()(char c) const {
        return c == '[' || c == '{' || c == ';' || c == '%' || c == '(' || c == '*' || c == '-' || c == '/';
    }
};
template <char... Bytes>
struct AnyOf {
    bool operator()(char c) const { return ((c == Bytes) || ...); }
};
template <typename Mask>
std::int64_t FindFirst(const char* bytes, std::int64_t size, Mask mask) {
    std::int64_t i = 0;
    while (i < size && !mask(bytes[i])) ++i;
    return i;
}
#endif

constexpr std::int64_t kFirstReadBytes = 4096;

bool IsPieceOrCastle(char c) { return c == 'K' || c == 'Q' || c == 'R' || c == 'B' || c == 'N' || c == 'O'; }
constexpr std::int64_t kMostReadBytes = 256 * 1024;

}  // namespace

bool BeginsMove(std::string_view ahead) {
    const auto at = [&](std::size_t i) { return i < ahead.size() ? ahead[i] : '\n'; };
    const char c = at(0);
    if (IsDigit(c)) {
        std::size_t q = 0;
        while (IsDigit(at(q)) && q < 3) ++q;
        if (at(q) != '.') return false;
        for (const std::size_t last = ++q + 3; q < last && (at(q) == '.' || IsSeparator(at(q)));) ++q;
        // Castling may be written with zeros ("1... 0-0-0" after a FEN): "0-0", never a result.
        return IsFile(at(q)) || IsPieceOrCastle(at(q)) || (at(q) == '0' && at(q + 1) == '-' && at(q + 2) == '0');
    }
    if (c == 'O') return at(1) == '-' && at(2) == 'O';
    if (IsFile(c)) return IsRank(at(1)) || (at(1) == 'x' && IsFile(at(2)) && IsRank(at(3)));
    if (!IsPieceOrCastle(c)) return false;
    for (std::size_t q = 1; q < 5; ++q) {
        if (IsFile(at(q)) && IsRank(at(q + 1))) return true;
        if (!IsFile(at(q)) && !IsRank(at(q)) && at(q) != 'x') return false;
    }
    return false;
}

GameStartScan GameStartScan::ResumedAt(std::int64_t at, std::int64_t length) {
    GameStartScan scan(length);
    scan.pos_ = at;
    scan.eligible_ = at;
    return scan;
}

GameStartScan GameStartScan::AfterEventTag(std::int64_t at, std::int64_t length) {
    GameStartScan scan(length);
    scan.state_ = State::Tag;
    scan.sectionHasEvent_ = true;
    scan.eligible_ = at + 7;
    scan.pos_ = at + 7;
    return scan;
}

bool GameStartScan::IsResumePoint(const char* tagAndBefore, std::int64_t at, std::int64_t length) {
    if (at < 7 || at > length - 8 || tagAndBefore[6] != '[') return false;
    if (std::memchr(tagAndBefore, '[', 6) != nullptr) return false;
    static constexpr char kName[] = "EVENT ";
    for (int i = 0; i < 6; ++i) {
        char c = tagAndBefore[7 + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kName[i]) return false;
    }
    return true;
}

bool GameStartScan::SpellsEvent(std::int64_t p) const {
    static constexpr char kName[] = "EVENT ";
    for (int i = 0; i < 6; ++i) {
        char c = At(p + i);
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kName[i]) return false;
    }
    return true;
}

// "1-0", "0-1", "1/2-1/2" or "*" standing alone at p: its length, else 0.
std::int64_t GameStartScan::MarkerLength(std::int64_t p) const {
    if (IsWordByte(At(p - 1))) return 0;
    std::int64_t length = 0;
    if (At(p) == '*') {
        length = 1;
    } else if ((At(p) == '1' && At(p + 1) == '-' && At(p + 2) == '0') ||
               (At(p) == '0' && At(p + 1) == '-' && At(p + 2) == '1')) {
        length = 3;
    } else {
        static constexpr char kDraw[] = "1/2-1/2";
        for (std::int64_t i = 0; i < 7; ++i) {
            if (At(p + i) != kDraw[i]) return 0;
        }
        length = 7;
    }
    return IsWordByte(At(p + length)) ? 0 : length;
}

bool GameStartScan::BeginsMove(std::int64_t p) const {
    char ahead[kAhead];
    for (std::int64_t i = 0; i < kAhead; ++i) ahead[i] = At(p + i);
    return pgn::BeginsMove(std::string_view(ahead, kAhead));
}

// A "[" at p. `opensSection` when it stands after movetext, a termination marker or nothing:
// it starts a game whatever follows.
void GameStartScan::OnBracket(std::int64_t p, bool opensSection, std::vector<std::int64_t>& starts) {
    if (opensSection) eligible_ = p;
    const bool examined = p >= eligible_ && p <= length_ - 8;
    const bool event = examined && SpellsEvent(p + 1);
    if (examined) eligible_ = p + 7;
    pos_ = event ? p + 7 : p + 1;  // "EVENT " holds nothing a tag must look at
    if (opensSection) {
        starts.push_back(p);
        state_ = State::Tag;
        quoted_ = false;
        sectionHasEvent_ = event;
    } else if (event) {
        const bool inSection = state_ == State::Section || state_ == State::Tag;
        if (!inSection || sectionHasEvent_) starts.push_back(p);
        state_ = State::Tag;
        quoted_ = false;
        sectionHasEvent_ = true;
    } else if (state_ == State::Section) {
        state_ = State::Tag;
        quoted_ = false;
    }
}

std::int64_t GameStartScan::Find(std::int64_t from, std::int64_t end) const {
    const char* at = bytes_ + (from - origin_);
    const std::int64_t size = end - from;
    switch (state_) {
        case State::Moves: return from + FindFirst(at, size, MovesBytes{});
        case State::Tag: return from + FindFirst(at, size, AnyOf<'"', '\\', ']', '\n', '\r', '['>{});
        case State::Comment: return from + FindFirst(at, size, AnyOf<'}', '['>{});
        case State::Line: return from + FindFirst(at, size, AnyOf<'\n', '\r', '['>{});
        case State::Variation: return from + FindFirst(at, size, AnyOf<'(', ')', '{', '['>{});
        default: return from;
    }
}

// Looks at the byte at pos_ (one Find has put it on a byte that matters) and moves on.
void GameStartScan::Step(std::int64_t end, std::vector<std::int64_t>& starts) {
    const std::int64_t p = pos_;
    const char c = At(p);
    pos_ = p + 1;
    const auto comment = [&](State back) {
        commentReturn_ = back;
        state_ = State::Comment;
    };
    const auto line = [&](State back) {
        commentReturn_ = back;
        state_ = State::Line;
    };
    switch (state_) {
        case State::Between:
        case State::Section: {
            const bool between = state_ == State::Between;
            if (IsSeparator(c)) return;
            if (c == '[') return OnBracket(p, between, starts);
            if (c == '{') return comment(state_);
            if (c == ';' || (c == '%' && LineStart(p))) return line(state_);
            if (between && c == '(') {
                variationReturn_ = State::Between;
                depth_ = 1;
                state_ = State::Variation;
                return;
            }
            if (const std::int64_t marker = MarkerLength(p); marker > 0) {
                if (between) {
                    pos_ = p + marker;
                } else {
                    state_ = State::Moves;  // a section ended by a bare marker: no moves
                    pos_ = p;
                }
                return;
            }
            if (!BeginsMove(p)) return;  // text that is neither a tag nor a move
            if (between) {
                starts.push_back(p);
                eligible_ = p;
            }
            state_ = State::Moves;
            return;
        }
        case State::Tag:
            if (c == '[') return OnBracket(p, false, starts);
            // A tag is short and its quotes and bracket lie close together: the rest of it is
            // read here, and the blanks after it, rather than one look per byte that matters.
            for (std::int64_t q = p; q < end; ++q) {
                const char d = At(q);
                if (d == '[') {
                    pos_ = q;
                    return;
                }
                if (d == '"') {
                    quoted_ = !quoted_;
                } else if (d == '\\') {
                    // An escaped byte is passed over, but never a line end or a "[" that may open a tag.
                    if (quoted_ && At(q + 1) != '\n' && At(q + 1) != '\r' && At(q + 1) != '[') ++q;
                } else if (d == '\n' || d == '\r' || (d == ']' && !quoted_)) {
                    state_ = State::Section;
                    for (++q; q < end && IsSeparator(At(q));) ++q;
                    pos_ = q;
                    return;
                }
                pos_ = q + 1;
            }
            return;
        case State::Moves:
            if (c == '[') return OnBracket(p, true, starts);
            if (c == '{') return comment(State::Moves);
            if (c == ';' || (c == '%' && LineStart(p))) return line(State::Moves);
            if (c == '(') {
                variationReturn_ = State::Moves;
                depth_ = 1;
                state_ = State::Variation;
                return;
            }
            if (c == '*' || c == '-' || c == '/') {
                const std::int64_t from = c == '*' ? p : p - 1;
                if (const std::int64_t marker = MarkerLength(from); marker > 0 && from + marker > p) {
                    state_ = State::Between;
                    pos_ = from + marker;
                }
            }
            return;
        case State::Comment:
            if (c == '[') return OnBracket(p, false, starts);
            state_ = commentReturn_;
            return;
        case State::Line:
            if (c == '[') return OnBracket(p, false, starts);
            state_ = commentReturn_;
            return;
        case State::Variation:
            if (c == '[') return OnBracket(p, false, starts);
            if (c == '{') return comment(State::Variation);
            if (c == '(') {
                ++depth_;
            } else if (--depth_ == 0) {
                state_ = variationReturn_;
            }
            return;
    }
}

void GameStartScan::Scan(const char* bytes, std::int64_t start, std::int64_t size, std::vector<std::int64_t>& starts) {
    bytes_ = bytes;
    origin_ = start - kBehind;
    const std::int64_t end = start + size;
    while (pos_ < end) {
        pos_ = Find(std::max(pos_, start), end);
        if (pos_ < end) Step(end, starts);
    }
}

std::int64_t NextGameStart(const PgnFile& file, std::int64_t from, bool* startsHere) {
    if (startsHere) *startsHere = false;
    const std::int64_t length = file.Length();
    GameStartScan scan = GameStartScan::ResumedAt(from, length);
    std::vector<std::int64_t> starts;
    std::vector<char> block;
    // Games are short: read a little first, and more as the game turns out long.
    for (std::int64_t at = from, size = kFirstReadBytes; at <= length; at += size, size = std::min(size * 2, kMostReadBytes)) {
        size = std::min(size, length + 1 - at);
        block.assign(static_cast<std::size_t>(size + GameStartScan::kBehind + GameStartScan::kAhead + GameStartScan::kPadding), '\0');
        const std::int64_t first = std::max<std::int64_t>(1, at - GameStartScan::kBehind);
        const auto want = static_cast<std::size_t>(std::min(at + size + GameStartScan::kAhead, length + 1) - first);
        file.ReadAt(first, block.data() + (first - (at - GameStartScan::kBehind)), want);
        scan.Scan(block.data(), at, size, starts);
        for (const std::int64_t start : starts) {
            if (start == from && startsHere) *startsHere = true;
            if (start > from) return start;
        }
        starts.clear();
    }
    return length + 1;
}

}  // namespace tavrel::pgn
