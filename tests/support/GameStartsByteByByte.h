#pragma once
// Where games start, written out the slow way: one byte at a time, no skipping, no blocks. The
// index and the reader must agree with it on any bytes.

#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavrel::testing {

inline std::vector<std::int64_t> GameStartsByteByByte(std::string_view text) {
    const auto length = static_cast<std::int64_t>(text.size());
    const auto at = [&](std::int64_t p) { return p < 1 || p > length ? '\n' : text[static_cast<std::size_t>(p - 1)]; };
    const auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '/'; };
    const auto spells = [&](std::int64_t p, std::string_view s) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (at(p + static_cast<std::int64_t>(i)) != s[i]) return false;
        }
        return true;
    };
    const auto spellsFolded = [&](std::int64_t p, std::string_view s) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(at(p + static_cast<std::int64_t>(i)))) != s[i]) return false;
        }
        return true;
    };
    const auto marker = [&](std::int64_t p) -> std::int64_t {
        if (word(at(p - 1))) return 0;
        std::int64_t n = spells(p, "1/2-1/2") ? 7 : spells(p, "1-0") || spells(p, "0-1") ? 3 : spells(p, "*") ? 1 : 0;
        return n > 0 && !word(at(p + n)) ? n : 0;
    };
    const auto file = [](char c) { return c >= 'a' && c <= 'h'; };
    const auto rank = [](char c) { return c >= '1' && c <= '8'; };
    const auto move = [&](std::int64_t p) {
        const char c = at(p);
        if (std::isdigit(static_cast<unsigned char>(c))) {
            std::int64_t q = p;
            while (std::isdigit(static_cast<unsigned char>(at(q))) && q < p + 3) ++q;
            if (at(q++) != '.') return false;
            for (int n = 0; n < 3 && (at(q) == '.' || static_cast<unsigned char>(at(q)) <= 32); ++n) ++q;
            // Castling in zeros and the null moves "--", "Z0", "0000", within the 8 bytes looked at.
            const auto near = [&](std::int64_t i) { return i < p + 8 ? at(i) : '\n'; };
            const char a = near(q), b = near(q + 1);
            if ((a == '-' && b == '-') || (a == 'Z' && b == '0') || (a == '0' && (b == '0' || (b == '-' && near(q + 2) == '0')))) return true;
            return file(at(q)) || (at(q) != '\0' && std::string_view("KQRBNO").find(at(q)) != std::string_view::npos);
        }
        if (c == 'O') return spells(p, "O-O");
        if (file(c)) return rank(at(p + 1)) || (at(p + 1) == 'x' && file(at(p + 2)) && rank(at(p + 3)));
        if (std::string_view("KQRBN").find(c) == std::string_view::npos) return false;
        for (std::int64_t q = p + 1; q < p + 5; ++q) {
            if (file(at(q)) && rank(at(q + 1))) return true;
            if (!file(at(q)) && !rank(at(q)) && at(q) != 'x') return false;
        }
        return false;
    };

    enum State { Between, Section, Tag, Moves, Comment, Line, Variation };
    State state = Between, back = Between, variationBack = Moves;
    bool quoted = false, hasEvent = false;
    int players = 0;  // named since the last start or Event tag: 1 White, 2 Black
    std::int64_t eligible = 1, depth = 0;
    std::vector<std::int64_t> starts;
    for (std::int64_t p = 1; p <= length; ++p) {
        const char c = at(p);
        if (c == '[') {
            int lineEnds = 0;  // in the blanks just before it, a CR LF pair counted once
            for (std::int64_t q = p - 1; q >= 1 && static_cast<unsigned char>(at(q)) <= 32; --q) {
                lineEnds += at(q) == '\n' || (at(q) == '\r' && at(q + 1) != '\n');
            }
            const bool opens = state == Between || state == Moves || (state == Section && lineEnds >= 2 && players == 3);
            const bool amongTags = state != Comment && state != Line && state != Variation;
            if (opens) eligible = p;
            const bool examined = p >= eligible && p <= length - 8;
            bool event = examined;
            for (int i = 0; i < 6 && event; ++i) event = std::toupper(static_cast<unsigned char>(at(p + 1 + i))) == "EVENT "[i];
            if (examined) eligible = p + 7;
            const bool startsGame = opens || (event && (!(state == Section || state == Tag) || hasEvent));
            if (startsGame) starts.push_back(p);
            if (startsGame || event) players = 0;
            if (amongTags) players |= spellsFolded(p + 1, "white ") ? 1 : spellsFolded(p + 1, "black ") ? 2 : 0;
            if (opens || event || state == Section) {
                hasEvent = event || (hasEvent && !opens);
                state = Tag;
                quoted = false;
            }
            if (event) p += 6;
            continue;
        }
        const bool lineStart = at(p - 1) == '\n' || at(p - 1) == '\r';
        switch (state) {
            case Between:
            case Section:
                if (static_cast<unsigned char>(c) <= 32) break;
                if (c == '{' || c == ';' || (c == '%' && lineStart)) {
                    back = state;
                    state = c == '{' ? Comment : Line;
                } else if (state == Between && c == '(') {
                    variationBack = Between;
                    depth = 1;
                    state = Variation;
                } else if (std::int64_t n = marker(p); n > 0) {
                    if (state == Between) {
                        p += n - 1;
                    } else {
                        state = Moves;
                        --p;
                    }
                } else if (move(p)) {
                    if (state == Between) {
                        starts.push_back(p);
                        eligible = p;
                        players = 0;
                    }
                    state = Moves;
                }
                break;
            case Tag:
                if (c == '"') {
                    quoted = !quoted;
                } else if (c == '\\' && quoted) {
                    if (at(p + 1) != '\n' && at(p + 1) != '\r' && at(p + 1) != '[') ++p;
                } else if (c == '\n' || c == '\r' || (c == ']' && !quoted)) {
                    state = Section;
                }
                break;
            case Moves:
                if (c == '{' || c == ';' || (c == '%' && lineStart)) {
                    back = Moves;
                    state = c == '{' ? Comment : Line;
                } else if (c == '(') {
                    variationBack = Moves;
                    depth = 1;
                    state = Variation;
                } else if (std::int64_t n = marker(p); n > 0) {
                    state = Between;
                    p += n - 1;
                }
                break;
            case Comment:
                if (c == '}') state = back;
                break;
            case Line:
                if (c == '\n' || c == '\r') state = back;
                break;
            case Variation:
                if (c == '{') {
                    back = Variation;
                    state = Comment;
                } else if (c == '(') {
                    ++depth;
                } else if (c == ')' && --depth == 0) {
                    state = variationBack;
                }
                break;
        }
    }
    return starts;
}

}  // namespace tavrel::testing
