#pragma once
// The one reading of PGN text. LexGame reads one game's bytes, from the game's first byte (the
// index's offset) to the next game's first byte, and hands what it meets to a visitor
// (Visitor.h). The index decides where games start; the lexer never looks past the bytes it is
// given, so a block of whole games cut at index offsets is read by calling it once per game.
//
// The grammar, in the order the bytes come:
// - The tag section: "[" opens a tag pair, which lives on one line. It closes at the first "]"
//   outside double quotes (a backslash escapes the next byte inside them), or when the quotes do
//   not pair up, at the line's last "]", or at the line's end. What follows on the line is read
//   again. "{...}" and ";" to the line's end are comments, "%" at a line's start escapes the
//   line. The movetext begins at the first letter or digit that begins a move as the index sees
//   one (BeginsMove in GameStarts.h); any other text before it is passed over.
// - The movetext: blanks (every control byte) separate tokens. "{" to the next "}" (comments do
//   not nest), ";" to the line's end, "%" at a line's start to the line's end, "$n" (up to four
//   digits), "(" and ")" around variations, and "[" outside any variation (the next game's tags)
//   end tokens. A token is a termination marker, a lone suffix annotation ("!", "?!"), a move
//   number with its dots ("12.", "12...", a bare "12") and then perhaps a move glued to it
//   ("12.e4"), or a move. Dots before a move ("...e5") and commas after it ("Nxf6,") are no part
//   of it; "e.p." or "ep" after a pawn's capture belongs to that capture; a termination marker
//   glued to a move ("R8xg20-1") is read as the move and then the marker.
// Whatever the bytes, the lexer reads each byte a bounded number of times and nests variations
// no deeper than kMaxVariationDepth.
//
// The visitor is a template parameter, so a visitor class marked final is called without a
// virtual call per token; any Visitor& works as well.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "GameStarts.h"
#include "Visitor.h"
#include "core/Notation.h"

namespace tavrel::pgn {

// The movetext begins at bytes[at] by the index's rule: the next bytes (up to the game's end)
// read as a move.
inline bool MovetextBeginsAt(std::string_view bytes, std::size_t at) {
    return BeginsMove(bytes.substr(at, static_cast<std::size_t>(GameStartScan::kAhead)));
}

namespace lex {

enum ByteClass : unsigned char {
    kTokenByte = 0,
    kBlank,
    kOpenComment,    // {
    kLineComment,    // ;
    kEscape,         // %
    kGlyph,          // $
    kOpenVariation,  // (
    kCloseVariation, // )
    kTag,            // [
    kCloseComment,   // } (stray)
};

struct ByteClasses {
    unsigned char of[256];
    constexpr ByteClasses() : of{} {
        for (int c = 0; c <= 32; ++c) of[c] = kBlank;
        of[static_cast<unsigned char>('{')] = kOpenComment;
        of[static_cast<unsigned char>(';')] = kLineComment;
        of[static_cast<unsigned char>('%')] = kEscape;
        of[static_cast<unsigned char>('$')] = kGlyph;
        of[static_cast<unsigned char>('(')] = kOpenVariation;
        of[static_cast<unsigned char>(')')] = kCloseVariation;
        of[static_cast<unsigned char>('[')] = kTag;
        of[static_cast<unsigned char>('}')] = kCloseComment;
    }
};
inline constexpr ByteClasses kClasses{};
inline unsigned char ClassOf(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }
// A byte that ends a token: a blank or one of "{}();$[" (a "%" inside a token is text).
inline bool EndsToken(char c) {
    const unsigned char k = ClassOf(c);
    return k != kTokenByte && k != kEscape;
}

// A byte that a tag pair's text must look at: a line end, a quote, a backslash or a "]".
inline constexpr auto kEndsTag = [] {
    std::array<bool, 256> t{};
    for (const char c : {'\n', '\r', '"', '\\', ']'}) t[static_cast<unsigned char>(c)] = true;
    return t;
}();
inline bool EndsTag(char c) { return kEndsTag[static_cast<unsigned char>(c)]; }

// Eight bytes at a time, for the runs of a plain tag: the high bit of each byte of `w` below `n`
// (at most 0x80), and of each equal to `c`. Only the lowest byte marked is sure to be right (a
// borrow may mark a byte above it), and it is the first of the eight in the text.
inline constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255;
inline constexpr std::uint64_t kHighs = kOnes * 0x80;
inline std::uint64_t BytesBelow(std::uint64_t w, unsigned n) { return (w - kOnes * n) & ~w & kHighs; }
inline std::uint64_t BytesEqual(std::uint64_t w, char c) { return BytesBelow(w ^ (kOnes * static_cast<unsigned char>(c)), 1); }
// A name runs to a blank, a control byte or a byte the tag's text must look at; a value to a
// byte it must look at. '\\' and ']' differ in the lowest bit alone, so one test marks both.
inline std::uint64_t NameStops(std::uint64_t w) {
    return BytesBelow(w, 0x21) | BytesEqual(w, '"') | BytesBelow(w ^ (kOnes * '\\'), 2);
}
inline std::uint64_t ValueStops(std::uint64_t w) {
    return BytesEqual(w, '\n') | BytesEqual(w, '\r') | BytesEqual(w, '"') | BytesBelow(w ^ (kOnes * '\\'), 2);
}
inline bool StopsName(char c) { return static_cast<unsigned char>(c) <= ' ' || EndsTag(c); }
// Bytes that are not printable ASCII: a control byte, DEL, or any byte from 0x80. Any such byte
// marks some byte at or above it, so a run that holds none up to a point marks none below it.
inline std::uint64_t BytesNotPrintable(std::uint64_t w) { return (w | (w + kOnes) | ~(w + kOnes * 0x60)) & kHighs; }
inline bool IsPrintable(char c) { return c >= 0x20 && c < 0x7F; }

#if defined(__SSE2__)
// The 32 bytes from `p` as masks, bit i for byte i, for a printable tag read at once, where a
// search of its name and then of its value would wait on each word in turn. A printable name ends
// at its first blank, quote, backslash, "]" or byte that is not printable ASCII; a printable value
// at its first such byte other than a blank. A tag that stops at any other byte is no printable
// tag, and is read again byte by byte.
struct TagWindow {
    std::uint32_t quotes = 0;
    std::uint32_t nameStops = 0;
    std::uint32_t valueStops = 0;
};
inline TagWindow TagWindowAt(const char* p) {
    TagWindow window;
    for (int half = 0; half < 2; ++half) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * half));
        const auto bits = [half](__m128i marked) { return static_cast<std::uint32_t>(_mm_movemask_epi8(marked)) << (16 * half); };
        const __m128i quotes = _mm_cmpeq_epi8(v, _mm_set1_epi8('"'));
        // '\\' and ']' differ in the lowest bit alone, so one test marks both.
        const __m128i stops = _mm_or_si128(quotes, _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(1)), _mm_set1_epi8(']')));
        // One added, compared as signed: the bytes below 0x20 and those from 0x7F are all below 0x21.
        const __m128i unprintable = _mm_cmplt_epi8(_mm_add_epi8(v, _mm_set1_epi8(1)), _mm_set1_epi8(0x21));
        const __m128i valueStops = _mm_or_si128(stops, unprintable);
        window.quotes |= bits(quotes);
        window.nameStops |= bits(_mm_or_si128(valueStops, _mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
        window.valueStops |= bits(valueStops);
    }
    return window;
}
#endif

// The first byte at or after `p` that `stops` marks (stopsWord eight at a time), or the end.
// With `printable`, clears it when a byte of the run is not printable ASCII.
template <class StopsWord, class StopsByte>
std::size_t RunEnd(std::string_view bytes, std::size_t p, StopsWord stopsWord, StopsByte stopsByte, bool* printable) {
    for (; p + 8 <= bytes.size(); p += 8) {
        std::uint64_t w;
        std::memcpy(&w, bytes.data() + p, 8);
        const std::uint64_t marks = stopsWord(w);
        // The bytes before the first stop, as high bits: those below the lowest mark.
        const std::uint64_t before = marks ? (marks & (~marks + 1)) - 1 : ~std::uint64_t{0};
        if (printable && (BytesNotPrintable(w) & before)) *printable = false;
        if (marks) return p + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
    }
    for (; p < bytes.size() && !stopsByte(bytes[p]); ++p) {
        if (printable && !IsPrintable(bytes[p])) *printable = false;
    }
    return p;
}

// "!" 1, "?" 2, "!!" 3, "??" 4, "!?" 5, "?!" 6; 0 for anything else.
inline int SuffixGlyph(std::string_view suffix) {
    if (suffix.size() == 1) return suffix[0] == '!' ? 1 : suffix[0] == '?' ? 2 : 0;
    if (suffix.size() != 2) return 0;
    if (suffix[0] == '!') return suffix[1] == '!' ? 3 : 5;
    return suffix[1] == '?' ? 4 : 6;
}
inline bool IsAnnotationByte(char c) { return c == '!' || c == '?'; }

// A pawn's capture, as a mark "e.p." may follow it: "exd6", "e5xd6", "e5d6".
inline bool MayTakeEnPassant(std::string_view move) {
    return move.size() >= 4 && notation::IsFile(move[0]) && (move[1] == 'x' || move[2] == 'x' || move.size() == 4);
}

// The termination marker glued to the end of a move ("R8xg20-1", "Qh7#1-0"): its length, else 0.
inline std::size_t GluedResultLength(std::string_view token) {
    for (const std::string_view marker : {notation::kDraw, notation::kWhiteWins, notation::kBlackWins}) {
        if (token.size() < marker.size() + 2 || !token.ends_with(marker)) continue;
        const std::string_view move = token.substr(0, token.size() - marker.size());
        const char last = move.back();
        const bool endsLikeMove = notation::IsRank(last) || last == '+' || last == '#' || IsAnnotationByte(last) ||
                                  last == 'O' || (last >= 'A' && last <= 'Z');
        if (endsLikeMove && notation::IsLetter(move[0])) return marker.size();
    }
    return 0;
}

}  // namespace lex

template <class V>
class Lexer {
public:
    Lexer(std::string_view bytes, V& visitor) : b_(bytes), v_(visitor) {}

    GameEnd Run() {
        v_.BeginGame();
        const GameEnd how = b_.empty() ? GameEnd::Empty : Read();
        v_.EndGame(how);
        return how;
    }

private:
    GameEnd Read() {
        const GameEnd tags = TagSection();
        if (tags != GameEnd::AfterMovetext) return tags;
        if (v_.BeginMovetext() == Next::Skip) return GameEnd::Skipped;
        Movetext();
        return GameEnd::AfterMovetext;
    }

    bool AtLineStart(std::size_t p) const { return p == 0 || b_[p - 1] == '\n' || b_[p - 1] == '\r'; }
    std::size_t LineEnd(std::size_t p) const {
        while (p < b_.size() && b_[p] != '\n' && b_[p] != '\r') ++p;
        return p;
    }
    std::size_t CommentEnd(std::size_t from) const {
        const void* close = std::memchr(b_.data() + from, '}', b_.size() - from);
        return close ? static_cast<std::size_t>(static_cast<const char*>(close) - b_.data()) : b_.size();
    }

    // Returns AfterMovetext with at_ on the movetext's first byte, or how the game ended before.
    GameEnd TagSection() {
        bool afterComment = false;
        while (at_ < b_.size()) {
            const char c = b_[at_];
            afterComment = false;
            if (notation::IsSeparator(c)) {  // most bytes between tags
                ++at_;
                continue;
            }
            if (c == '[') {
                if (Tag() == Next::Skip) return GameEnd::Skipped;
            } else if (c == '{') {
                const std::size_t end = CommentEnd(at_ + 1);
                v_.Comment(b_.substr(at_ + 1, end - at_ - 1));
                at_ = end + 1;
                afterComment = true;
            } else if (c == ';' || (c == '%' && AtLineStart(at_))) {
                const std::size_t end = LineEnd(at_ + 1);
                if (c == ';') v_.Comment(b_.substr(at_ + 1, end - at_ - 1));
                at_ = end + 1;  // the line end is passed over with it
                afterComment = true;
            } else if ((notation::IsDigit(c) || notation::IsLetter(c)) && MovetextBeginsAt(b_, at_)) {
                return GameEnd::AfterMovetext;
            } else if (const std::size_t marker = ResultBeforeMoves()) {
                v_.Result(b_.substr(at_, marker), 0);
                at_ += marker;
            } else {
                ++at_;
            }
        }
        return afterComment ? GameEnd::InComment : GameEnd::BeforeMovetext;
    }

    // A game of tags and a termination marker only: the marker's length when one stands alone at
    // at_, else 0.
    std::size_t ResultBeforeMoves() const {
        if (at_ > 0 && !notation::IsSeparator(b_[at_ - 1])) return 0;
        std::size_t end = at_;
        while (end < b_.size() && !lex::EndsToken(b_[end])) ++end;
        return notation::IsResultToken(b_.substr(at_, end - at_)) ? end - at_ : 0;
    }

    // The tag at at_ ("["), closed as the header describes, and the plain tags that follow it one
    // to a line; at_ moves past them.
    Next Tag() {
        for (;;) {
            const std::size_t from = at_ + 1;
            const PlainTag plain = PlainTagAt(from);
            if (plain.valueEnd == 0) break;
            at_ = plain.valueEnd + 2;
            const std::string_view name(b_.data() + from, plain.nameEnd - from);
            const std::string_view value(b_.data() + plain.nameEnd + 2, plain.valueEnd - plain.nameEnd - 2);
            Next next;
            if constexpr (kTakesPrintableTags) {
                next = plain.printable ? v_.PrintableTag(name, value) : v_.Tag(name, value);
            } else {
                next = v_.Tag(name, value);
            }
            // Most tags stand one to a line: the next one is read here at once, as the loop of the
            // tag section would read it after the line end.
            if (next == Next::Skip || at_ + 1 >= b_.size() || PairAt(at_) != Pair('\n', '[')) return next;
            ++at_;
        }
        const std::size_t from = at_ + 1;
        std::size_t close = from;
        bool quoted = false;
        bool closed = false;
        for (; close < b_.size(); ++close) {
            const char c = b_[close];
            if (!lex::EndsTag(c)) continue;
            if (c == '\n' || c == '\r') break;
            if (quoted && c == '\\') {
                ++close;
                if (close >= b_.size()) break;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == ']' && !quoted) {
                closed = true;
                break;
            }
        }
        if (!closed) {
            const std::size_t lineEnd = LineEnd(from);
            close = lineEnd;
            for (std::size_t p = lineEnd; p > from; --p) {
                if (b_[p - 1] == ']') {
                    close = p - 1;
                    closed = true;
                    break;
                }
            }
        }
        const std::string_view content = b_.substr(from, close - from);
        at_ = closed ? close + 1 : close;
        std::size_t nameEnd = 0;
        while (nameEnd < content.size() && !notation::IsSeparator(content[nameEnd])) ++nameEnd;
        const std::string_view value = content.substr(std::min(nameEnd + 1, content.size()));
        return v_.Tag(content.substr(0, nameEnd), WithoutQuotes(value));
    }

    // Most tags read `Name "value"]`: one blank after the name, and nothing in either that the
    // loop above must look at. For such a tag, where its name ends and where the value's closing
    // quote stands (the "]" follows it); else valueEnd 0, and the loop reads it.
    // For a visitor that takes printable tags, also whether both are printable ASCII.
    struct PlainTag {
        std::size_t nameEnd = 0;
        std::size_t valueEnd = 0;
        bool printable = false;
    };
    // Two bytes compared at once: the pair at bytes p and p + 1, as it stands in memory.
    static constexpr std::uint16_t Pair(char first, char second) {
        return std::bit_cast<std::uint16_t>(std::array<char, 2>{first, second});
    }
    std::uint16_t PairAt(std::size_t p) const {
        std::uint16_t pair;
        std::memcpy(&pair, b_.data() + p, 2);
        return pair;
    }
    PlainTag PlainTagAt(std::size_t from) const {
#if defined(__SSE2__)
        // A printable tag that fits in 32 bytes, as most do; the loop below reads the rest.
        if (b_.size() - from >= 32) {
            const lex::TagWindow window = lex::TagWindowAt(b_.data() + from);
            // The value ends at the second quote. Found from the quotes alone, where the tag ends
            // is known soon, and reading the next tag need not wait for the checks of this one.
            const int opening = std::countr_zero(window.quotes);
            const int value = std::countr_zero(window.quotes & (window.quotes - 1));
            // Before the opening quote, a name and one blank: of the bytes before the quote only
            // the one right before it stops a name, and none stops a value. Before the closing
            // quote, only the opening one stops a value. Then the "]". Checked on the masks, they
            // wait on no more bytes.
            if (value < 31 && opening > 1 && (window.nameStops & ((1u << opening) - 1)) == 1u << (opening - 1) &&
                (window.valueStops & ((1u << value) - 1)) == 1u << opening && b_[from + value + 1] == ']') {
                return {from + opening - 1, from + value, true};
            }
        }
#endif
        bool printable = kTakesPrintableTags;
        bool* const tell = kTakesPrintableTags ? &printable : nullptr;
        std::size_t p = lex::RunEnd(b_, from, lex::NameStops, lex::StopsName, tell);
        if (p == from || p + 1 >= b_.size() || b_[p] != ' ' || b_[p + 1] != '"') return {};
        const std::size_t nameEnd = p;
        p = lex::RunEnd(b_, p + 2, lex::ValueStops, lex::EndsTag, tell);
        return p + 1 < b_.size() && b_[p] == '"' && b_[p + 1] == ']' ? PlainTag{nameEnd, p, printable} : PlainTag{};
    }
    static constexpr bool kTakesPrintableTags = requires(V& v, std::string_view text) { v.PrintableTag(text, text); };

    // The value with its double quotes removed: a view of the bytes when they stand only at its
    // ends, else a copy in the reused buffer.
    std::string_view WithoutQuotes(std::string_view value) {
        std::string_view inner = value;
        if (!inner.empty() && inner.front() == '"') inner.remove_prefix(1);
        if (!inner.empty() && inner.back() == '"') inner.remove_suffix(1);
        if (inner.find('"') == std::string_view::npos) return inner;
        buffer_.clear();
        for (const char c : value) {
            if (c != '"') buffer_ += c;
        }
        return buffer_;
    }

    void Movetext() {
        while (at_ < b_.size()) {
            const char c = b_[at_];
            const unsigned char k = lex::ClassOf(c);
            // Blanks and tokens alternate through most movetext: tested first, they cost two
            // well-predicted branches instead of a jump through the table below.
            if (k == lex::kBlank) {
                ++at_;
                continue;
            }
            if (k == lex::kTokenByte) {
                Token();
                continue;
            }
            switch (k) {
                case lex::kBlank:
                    ++at_;
                    break;
                case lex::kOpenComment: {
                    const std::size_t end = CommentEnd(at_ + 1);
                    v_.Comment(b_.substr(at_ + 1, end - at_ - 1));
                    at_ = end + 1;
                    break;
                }
                case lex::kLineComment: {
                    const std::size_t end = LineEnd(at_ + 1);
                    v_.Comment(b_.substr(at_ + 1, end - at_ - 1));
                    at_ = end;
                    break;
                }
                case lex::kEscape:
                    if (AtLineStart(at_)) {
                        at_ = LineEnd(at_ + 1);
                    } else {
                        Token();
                    }
                    break;
                case lex::kGlyph:
                    Glyph();
                    break;
                case lex::kOpenVariation:
                    ++at_;
                    if (depth_ >= kMaxVariationDepth || v_.BeginVariation() == Next::Skip) {
                        SkipVariation();
                    } else {
                        ++depth_;
                    }
                    break;
                case lex::kCloseVariation:
                    ++at_;
                    if (depth_ > 0) {
                        --depth_;
                        v_.EndVariation();
                    }
                    break;
                case lex::kTag:
                    if (depth_ == 0) {
                        at_ = b_.size();  // the next game's tags: this game ends here
                    } else {
                        Token();
                    }
                    break;
                case lex::kCloseComment:
                    ++at_;  // a stray "}" closes nothing
                    break;
                default:
                    Token();
                    break;
            }
        }
        while (depth_ > 0) {  // variations left open at the game's end
            --depth_;
            v_.EndVariation();
        }
    }

    // "$" and up to four digits; a "$" without digits is passed over.
    void Glyph() {
        std::size_t end = ++at_;
        int number = 0;
        while (end < b_.size() && notation::IsDigit(b_[end]) && end - at_ < 4) number = number * 10 + (b_[end++] - '0');
        if (end > at_) v_.Glyph(number);
        at_ = end;
    }

    // Passes over a variation whose "(" was just read, nested ones and comments in it included.
    void SkipVariation() {
        int depth = 1;
        while (at_ < b_.size()) {
            const char c = b_[at_];
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                if (--depth == 0) {
                    ++at_;
                    return;
                }
            } else if (c == '{') {
                at_ = CommentEnd(at_ + 1);
            } else if (c == ';' || (c == '%' && AtLineStart(at_))) {
                at_ = LineEnd(at_ + 1) - 1;
            }
            ++at_;
        }
    }

    void Token() {
        const std::size_t from = at_;
        std::size_t end = from + 1;
        while (end < b_.size() && !lex::EndsToken(b_[end])) ++end;
        at_ = end;
        std::string_view token = b_.substr(from, end - from);
        // Most tokens are moves, which start with a letter: they are no marker nor number.
        if (!notation::IsLetter(token[0])) {
            if (notation::IsResultToken(token)) {
                v_.Result(token, depth_);
                return;
            }
            // A suffix annotation written apart from its move ("Bxf7+ ?") belongs to that move;
            // read as a move it would shift the line by a half-move.
            if (IsAllAnnotation(token)) {
                if (const int glyph = lex::SuffixGlyph(token)) v_.Glyph(glyph);
                return;
            }
            token = CutMoveNumber(token);
            // Older annotators write "3. ...d5".
            while (!token.empty() && token.front() == '.') token.remove_prefix(1);
        }
        std::string_view san = token;
        while (!san.empty() && san.back() == ',') san.remove_suffix(1);  // "29. Nxf6, g7xf6"
        if (san.empty() || (san[0] == 'e' && (san == "e.p." || san == "ep"))) return;
        const char last = san.back();
        std::size_t glued = last == '0' || last == '1' || last == '2' ? lex::GluedResultLength(san) : 0;
        if (glued != 0) {
            token = san.substr(0, san.size() - glued);
            san = token;
        }
        MoveToken move;
        move.written = token;
        move.depth = depth_;
        if (lex::IsAnnotationByte(san.back())) {
            std::size_t suffixAt = san.size();
            while (suffixAt > 0 && lex::IsAnnotationByte(san[suffixAt - 1])) --suffixAt;
            move.glyph = lex::SuffixGlyph(san.substr(suffixAt));
            if (move.glyph != 0 && suffixAt > 0) san = san.substr(0, suffixAt);
        }
        move.san = san;
        if (glued == 0 && lex::MayTakeEnPassant(token)) move.enPassant = EnPassantMarkFollows();
        move.endsGame = glued == 0 && EndsGame(at_);
        v_.Move(move);
        if constexpr (requires { v_.Done(); }) {
            if (v_.Done()) {
                at_ = b_.size();
                return;
            }
        }
        if (move.glyph != 0) v_.Glyph(move.glyph);
        if (glued != 0) v_.Result(b_.substr(end - glued, glued), depth_);
    }

    static bool IsAllAnnotation(std::string_view token) {
        for (const char c : token) {
            if (!lex::IsAnnotationByte(c)) return false;
        }
        return true;
    }

    // Cuts a leading move number ("12." "12..." "12") off the token, handing it on, and returns
    // the rest.
    std::string_view CutMoveNumber(std::string_view token) {
        if (token.size() < 1 || !notation::IsDigit(token[0]) || token.starts_with("0000")) return token;
        std::size_t digits = 0;
        int number = 0;
        // Past six digits it is no move number, and the number is not worked out (it would overflow).
        for (; digits < token.size() && notation::IsDigit(token[digits]); ++digits) {
            if (digits < 6) number = number * 10 + (token[digits] - '0');
        }
        if (digits > 6 || (digits < token.size() && token[digits] != '.')) return token;
        std::size_t dots = digits;
        while (dots < token.size() && token[dots] == '.') ++dots;
        v_.MoveNumber(number, static_cast<int>(dots - digits), depth_);
        return token.substr(dots);
    }

    // "exd6 e.p." or "exd6 ep": the mark, apart from the capture by blanks on the same line, is
    // taken with it. at_ moves past it.
    bool EnPassantMarkFollows() {
        std::size_t p = at_;
        while (p < b_.size() && (b_[p] == ' ' || b_[p] == '\t')) ++p;
        if (p == at_) return false;
        for (const std::string_view mark : {std::string_view("e.p."), std::string_view("ep")}) {
            if (b_.substr(p, mark.size()) != mark) continue;
            const std::size_t end = p + mark.size();
            if (end < b_.size() && !lex::EndsToken(b_[end])) continue;
            at_ = end;
            return true;
        }
        return false;
    }

    // Nothing of the game follows the token at `p` but one blank, or the next game's "[" follows.
    bool EndsGame(std::size_t p) const {
        if (depth_ > 0) return false;
        if (p >= b_.size() || b_[p] == '[') return true;
        return notation::IsSeparator(b_[p]) && p + 1 == b_.size();
    }

    std::string_view b_;
    V& v_;
    std::size_t at_ = 0;
    int depth_ = 0;
    std::string buffer_;  // a tag value whose quotes stand inside it
};

// Reads one game's bytes (see the top of this file) and returns how they ended.
template <class V>
GameEnd LexGame(std::string_view game, V& visitor) {
    return Lexer<V>(game, visitor).Run();
}

}  // namespace tavrel::pgn
