#pragma once
// The small rules of chess notation that every reader of game text shares: which bytes are
// blanks, letters and digits, ASCII case folding, the termination markers, the null-move and
// castling spellings. One definition each, so that the index, the reader and the matcher never
// disagree about what a token is.

#include <cstddef>
#include <string_view>

namespace tavrel::notation {

// Every control byte counts as a blank: files mix tabs, CR, LF and form feeds freely.
constexpr bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
constexpr bool IsRank(char c) { return c >= '1' && c <= '8'; }
// ASCII only: tag names and keywords are ASCII, and a Latin-1 or UTF-8 byte must stay as it is.
constexpr char ToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpper(a[i]) != ToUpper(b[i])) return false;
    }
    return true;
}

// The termination markers. "*" ends a game without deciding it; the three others decide it.
constexpr std::string_view kWhiteWins = "1-0";
constexpr std::string_view kBlackWins = "0-1";
constexpr std::string_view kDraw = "1/2-1/2";
constexpr std::string_view kUnfinished = "*";
// A decided result as the score keeps it.
constexpr bool IsDecidedResult(std::string_view text) {
    return text == kWhiteWins || text == kBlackWins || text == kDraw;
}
// Any termination marker, the draw also as some editors write it with the one-half sign (UTF-8).
constexpr bool IsResultToken(std::string_view text) {
    return IsDecidedResult(text) || text == kUnfinished || text == "\xC2\xBD-\xC2\xBD";
}

// The null move of annotators: the side to move passes.
constexpr bool IsNullMoveSpelling(std::string_view text) { return text == "--" || text == "Z0" || text == "0000"; }

// Castling as files write it: "O-O", "o-o" or "0-0" (and the long forms), letters mixed as
// they come. Returns 2 for the short form, 3 for the long one, 0 when `head` is no castling.
constexpr int CastlingSides(std::string_view head) {
    if (head.size() != 3 && head.size() != 5) return 0;
    for (std::size_t i = 0; i < head.size(); ++i) {
        const char c = head[i];
        if (i % 2 == 1 ? c != '-' : (c != 'O' && c != 'o' && c != '0')) return 0;
    }
    return head.size() == 3 ? 2 : 3;
}

// The length of the castling written at the start of `text` when only a check mark or annotation
// follows it ("0-0+", "o-o-o!"), else 0.
constexpr std::size_t CastlingPrefix(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && (text[end] == 'O' || text[end] == 'o' || text[end] == '0' || text[end] == '-')) ++end;
    if (CastlingSides(text.substr(0, end)) == 0) return 0;
    for (std::size_t i = end; i < text.size(); ++i) {
        if (text[i] != '+' && text[i] != '#' && text[i] != '!' && text[i] != '?') return 0;
    }
    return end;
}

}  // namespace tavrel::notation
