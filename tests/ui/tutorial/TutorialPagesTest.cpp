// The tutorial's pages: the order of their entries, how each ends, and the paragraphs written
// to a fixed length and opening.

#include <gtest/gtest.h>

#include <string>

#include "ui/tutorial/TutorialPage.h"

namespace tavrel::ui {
namespace {

struct NamedPage {
    const char* name;
    Page page;
    const char* kinds;  // one letter per entry: Heading, Line, Blank, Text without a break
};

std::string Kinds(Page page) {
    std::string kinds;
    for (const PageEntry& entry : page) kinds += "HLBT"[static_cast<int>(entry.kind)];
    return kinds;
}

TEST(TutorialPages, EntriesComeInOrderAndEachPageEndsAsItShould) {
    const NamedPage pages[] = {
        {"rules", RulesPage(), "HBLBLBLBLBLBLBLBLLLLLLLLLLB"},
        {"pieces", PiecesPage(), "HBLBLBLLBLB"},
        {"notation", NotationPage(), "HBLBLBL"},
        {"strategy", StrategyPage(), "HBLBLLLBLLLBLLBLL"},
        {"pawn", PiecePage(0), "HBLBLBLBLB"},
        {"rook", PiecePage(1), "HBLBT"},
        {"knight", PiecePage(2), "HBLBT"},
        {"bishop", PiecePage(3), "HBLBT"},
        {"queen", PiecePage(4), "HBLBT"},
        {"king", PiecePage(5), "HBLBLBLBLBLB"},
    };
    for (const NamedPage& p : pages) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(Kinds(p.page), p.kinds);
        const std::string text = BuildPage(p.page);
        const bool endsWithBreak = text.ends_with("\r\n");
        const bool endsWithEmptyLine = text.ends_with("\r\n\r\n");
        const char last = p.kinds[std::string(p.kinds).size() - 1];
        EXPECT_EQ(endsWithBreak, last != 'T');
        EXPECT_EQ(endsWithEmptyLine, last == 'B');
        for (const PageEntry& entry : p.page) {
            EXPECT_EQ(std::string(entry.text).find_first_of("\r\n"), std::string::npos);
        }
    }
    EXPECT_TRUE(PiecePage(6).empty());
    EXPECT_TRUE(PiecePage(-1).empty());
}

TEST(TutorialPages, HeadingReplacesAndLinesJoinWithCrLf) {
    const PageEntry entries[] = {{EntryKind::Line, "lost"},
                                 {EntryKind::Heading, "Head"},
                                 {EntryKind::Blank},
                                 {EntryKind::Line, "Body"},
                                 {EntryKind::Text, "Tail"}};
    EXPECT_EQ(BuildPage(entries), "Head\r\n\r\nBody\r\nTail");
}

TEST(TutorialPages, ParagraphsHaveTheirLengthAndOpeningWords) {
    struct Row {
        Page page;
        int entry;  // 1-based, as the pages are read
        size_t length;
        const char* opening;
    };
    const Row rows[] = {
        {RulesPage(), 3, 165, "Chess is a game played between two players"},
        {RulesPage(), 5, 178, "Each player starts the game with one King,"},
        {RulesPage(), 7, 141, "The initial position of the pieces is exactly as shown"},
        {RulesPage(), 9, 182, "Players alternate moves until one King can be"},
        {RulesPage(), 11, 216, "A move is the transfer of a piece"},
        {RulesPage(), 13, 138, "The King is in check when the square"},
        {RulesPage(), 15, 159, "If the King cannot be removed from check,"},
        {PiecesPage(), 3, 147, "In general, a legal move is defined by"},
        {PiecesPage(), 5, 306, "Also, with the exception of the Knight, pieces"},
        {NotationPage(), 3, 146, "PGN notation is short-hand way of recording the"},
        {NotationPage(), 5, 256, "A PGN file consists of a tagpair section"},
        {NotationPage(), 7, 183, "It is beyond the scope of this helpfile"},
        {StrategyPage(), 3, 393, "The strategies for playing chess are far too"},
        {PiecePage(0), 3, 143, "The Pawn moves forward only except when capturing."},
        {PiecePage(0), 5, 251, "On subsequent moves, the Pawn may move only"},
        {PiecePage(0), 7, 165, "Any pawn reaching the last row is exchanged"},
        {PiecePage(0), 9, 389, "A Pawn that is attacking a square that"},
        {PiecePage(1), 3, 117, "The Rook moves to any square (empty or"},
        {PiecePage(2), 3, 393, "The Knight's move is comprised of two different"},
        {PiecePage(2), 5, 169, "The Knight also has the unique quality of"},
        {PiecePage(3), 3, 110, "The Bishop moves to any square (empty or"},
        {PiecePage(3), 5, 242, "Note that the color of the square that"},
        {PiecePage(4), 3, 129, "The Queen moves to any square (empty or"},
        {PiecePage(4), 5, 135, "The Queen is the most powerful piece on"},
        {PiecePage(5), 3, 241, "Except when castling, the King moves to any"},
        {PiecePage(5), 5, 213, "The King may also perform a more complex"},
        {PiecePage(5), 7, 400, "Castling counts as one move (even though two"},
        {PiecePage(5), 9, 229, "Castling is temporarily prevented if: a. the King"},
        {PiecePage(5), 11, 392, "Castling sounds more complex than it really is."},
    };
    for (const Row& row : rows) {
        const std::string text = row.page[row.entry - 1].text;
        SCOPED_TRACE(text);
        EXPECT_EQ(text.size(), row.length);
        EXPECT_TRUE(text.starts_with(row.opening));
        EXPECT_EQ(text.find("  "), std::string::npos);  // no doubled blank where lines were joined
    }
    EXPECT_TRUE(std::string(PiecePage(5)[2].text).ends_with("\"in check\"."));
    EXPECT_TRUE(std::string(PiecePage(5)[8].text).ends_with("must move."));
    EXPECT_NE(std::string(PiecePage(0)[6].text).find("\"Promotion\""), std::string::npos);
}

TEST(TutorialPages, BookLinesNameATitleAndAnAuthor) {
    const Page strategy = StrategyPage();
    for (int entry : {6, 7, 10, 11, 14}) {
        const std::string line = strategy[entry - 1].text;
        SCOPED_TRACE(line);
        EXPECT_TRUE(line.starts_with("    ") && line[4] != ' ');
        const size_t by = line.find(" by ");
        ASSERT_NE(by, std::string::npos);
        EXPECT_GT(by, 4u);
        EXPECT_GT(line.size(), by + 4);
    }
    EXPECT_STREQ(strategy[16].text, "    USCF's Official Rules of Chess");
}

}  // namespace
}  // namespace tavrel::ui
