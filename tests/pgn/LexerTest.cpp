#include <gtest/gtest.h>

#include <string>

#include "pgn/Lexer.h"

namespace tavrel::pgn {
namespace {

// Writes every call down, so that one string shows what the lexer handed on.
class Trace final : public Visitor {
public:
    std::string out;
    Next skipVariations = Next::Go;
    Next skipMovetext = Next::Go;
    Next skipTags = Next::Go;

    Next Tag(std::string_view name, std::string_view value) override {
        out += "T(" + std::string(name) + "=" + std::string(value) + ")";
        return skipTags;
    }
    Next BeginMovetext() override {
        out += "|";
        return skipMovetext;
    }
    void MoveNumber(int number, int dots, int) override { out += std::to_string(number) + std::string(dots, '.') + " "; }
    void Move(const MoveToken& m) override {
        out += std::string(m.san);
        if (m.written != m.san) out += "<" + std::string(m.written) + ">";
        if (m.enPassant) out += "(ep)";
        if (m.endsGame) out += "$";
        out += " ";
    }
    void Glyph(int number) override { out += "g" + std::to_string(number) + " "; }
    void Comment(std::string_view text) override { out += "{" + std::string(text) + "} "; }
    Next BeginVariation() override {
        out += "( ";
        return skipVariations;
    }
    void EndVariation() override { out += ") "; }
    void Result(std::string_view text, int) override { out += "R" + std::string(text) + " "; }
    void EndGame(GameEnd how) override { out += "E" + std::to_string(static_cast<int>(how)); }
};

std::string Lex(std::string_view bytes) {
    Trace trace;
    LexGame(bytes, trace);
    return trace.out;
}

TEST(Lexer, HandsOnEveryTokenOfOddAndHostileText) {
    struct Row {
        const char* why;
        std::string bytes;
        std::string expected;
    };
    const Row rows[] = {
        {"empty", "", "E0"},
        {"tags only", "[Event \"E\"]\n[White \"A \\\"B\\\"\"]\n", "T(Event=E)T(White=A \\B\\)E2"},
        {"a quoted ] does not close; the line's last ] closes unpaired quotes",
         "[Site \"a]b\"]\n[Event \"x\"y]\n", "T(Site=a]b)T(Event=xy)E2"},
        {"a tag without ] ends at its line", "[Event \"E\n1. e4", "T(Event=E)|1. e4$ E3"},
        {"ends in a comment before the moves", "[Event \"E\"]\n{c}", "T(Event=E){c} E1"},
        {"prose before the moves is passed over", "[E \"\"]\nsome words 1. e4 e5", "T(E=)|1. e4 e5$ E3"},
        {"numbers, dots, commas", "1.e4 e5 2. Nf3, ...Nc6 3 Bb5 3... a6 4.", "|1. e4 e5 2. Nf3<Nf3,> Nc6 3 Bb5 3... a6 4. E3"},
        {"castling, null moves, coordinates", "1. O-O 0-0-0 2. -- Z0 3. 0000 g1f3 e7e8q", "|1. O-O 0-0-0 2. -- Z0 3. 0000 g1f3 e7e8q$ E3"},
        {"suffix annotations, apart too", "1. e4!? e5?" "? 2. Nf3 ?! Nc6!!! Bb5+",
         "|1. e4<e4!?> g5 e5<e5?" "?> g4 2. Nf3 g6 Nc6!!! Bb5+$ E3"},
        {"glyphs, comments, escape lines", "1. e4 $1 $ $12345 {a {b} ; rest\n%escape\ne5",
         "|1. e4 g1 g1234 5 {a {b} { rest} e5$ E3"},
        {"variations nest, close at the end", "1. e4 (1. d4 (1. c4) d5) e5 (e6", "|1. e4 ( 1. d4 ( 1. c4 ) d5 ) e5 ( e6 ) E3"},
        {"a stray ) or } closes nothing", "1. e4 ) } e5", "|1. e4 e5$ E3"},
        {"the next game's [ ends the movetext, not inside a variation", "1. e4 ([x] e5) d5 [Event", "|1. e4 ( [x] e5 ) d5 E3"},
        {"results, glued too", "1. e4 1-0 0-1 1/2-1/2 * \xC2\xBD-\xC2\xBD R8xg20-1",
         "|1. e4 R1-0 R0-1 R1/2-1/2 R* R\xC2\xBD-\xC2\xBD R8xg2 R0-1 E3"},
        {"en passant marks", "5. exd6 e.p. Nf6 6. exf7 ep Kxf7 7. e4 ep",
         "|5. exd6(ep) Nf6 6. exf7(ep) Kxf7 7. e4 E3"},
        {"a number of many digits is no move number", "1. e4 8888888888882. Nf6", "|1. e4 8888888888882. Nf6$ E3"},
    };
    for (const Row& row : rows) EXPECT_EQ(Lex(row.bytes), row.expected) << row.why;
}

// A tag's name and value are searched eight bytes at a time: a byte that ends either stops it
// wherever it stands among the eight.
TEST(Lexer, TagTextStopsAtItsFirstLineEndOrBracketAtAnyLength) {
    const std::string blankLines(40, '\n');  // a short tag followed by more text is read at once
    for (std::size_t n = 1; n <= 40; ++n) {
        const std::string text(n, 'v');
        for (const std::string& after : {std::string(), blankLines}) {
            for (const char* end : {"\n\"]\n", "\r\"]\n"}) {
                EXPECT_EQ(Lex(std::string("[Site \"").append(text).append(end).append(after)), std::string("T(Site=").append(text).append(")E2")) << n;
            }
            EXPECT_EQ(Lex(std::string("[").append(text).append("] \"x\"]\n").append(after)), std::string("T(").append(text).append("=)E2")) << n;
        }
    }
}

// A visitor that takes printable tags gets there only tags with no other byte in name or value,
// wherever that byte stands among the eight read at a time.
TEST(Lexer, OnlyPrintableTagsGoToPrintableTag) {
    struct Sorter final : Visitor {
        std::string out;
        Next Tag(std::string_view, std::string_view) override {
            out += 'T';
            return Next::Go;
        }
        Next PrintableTag(std::string_view, std::string_view) {
            out += 'P';
            return Next::Go;
        }
    };
    for (std::size_t n = 0; n <= 40; ++n) {
        const std::string text(n, 'v');
        std::string bytes = std::string("[Site \"").append(text).append("w\"]\n");
        for (const char odd : {'\t', '\x7f', '\xe9'}) {
            bytes.append("[Site \"").append(text).append(1, odd).append("w\"]\n");
            bytes.append("[S").append(text).append(1, odd).append(" \"w\"]\n");
        }
        Sorter sorter;
        LexGame(bytes.append(40, '\n'), sorter);
        EXPECT_EQ(sorter.out, "PTTTTTT") << n;
    }
}

// A skip ends the game wherever it is asked, even among tags that are read one after another.
TEST(Lexer, VisitorsSkipTagsVariationsAndMovetext) {
    Trace variations;
    variations.skipVariations = Next::Skip;
    LexGame("1. e4 (1. d4 {)} (1. c4) ; )\n d5) e5", variations);
    EXPECT_EQ(variations.out, "|1. e4 ( e5$ E3");

    Trace tags;
    tags.skipMovetext = Next::Skip;
    LexGame("[A \"1\"]\n1. e4 [B \"2\"]", tags);
    EXPECT_EQ(tags.out, "T(A=1)|E4");

    Trace firstTag;
    firstTag.skipTags = Next::Skip;
    LexGame("[A \"1\"]\n[B \"2\"]\n[C \"3\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 *\n", firstTag);
    EXPECT_EQ(firstTag.out, "T(A=1)E4");
}

// Deep nesting is bounded, and every byte is looked at a bounded number of times.
TEST(Lexer, HostileNestingStaysBounded) {
    const std::string deep = "1. e4 " + std::string(100000, '(') + "e5" + std::string(100000, ')') + " d5";
    Trace trace;
    LexGame(deep, trace);
    std::size_t opened = 0;
    for (std::size_t at = trace.out.find('('); at != std::string::npos; at = trace.out.find('(', at + 1)) ++opened;
    EXPECT_EQ(opened, static_cast<std::size_t>(kMaxVariationDepth));
    EXPECT_NE(trace.out.find("d5$"), std::string::npos);
}

// A token cut by the end of the bytes is read as far as it goes, never beyond.
TEST(Lexer, TokensEndAtTheSpanEnd) {
    const std::string text = "[Event \"E\"]\n1. exd5 e.p. {c} $14 1/2-1/2";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        const std::string cut = text.substr(0, n);  // a copy, so that ASan sees a read past it
        Trace trace;
        LexGame(std::string_view(cut), trace);
        EXPECT_FALSE(trace.out.empty()) << n;
    }
    EXPECT_EQ(Lex(text.substr(0, 21)), "T(Event=E)|1. exd5 e$ E3");
    EXPECT_EQ(Lex(text.substr(0, 24)), "T(Event=E)|1. exd5(ep)$ E3");
}

}  // namespace
}  // namespace tavrel::pgn
