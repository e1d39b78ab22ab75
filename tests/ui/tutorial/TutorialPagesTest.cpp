// How a tutorial page is built from its entries, and the rules every page's text keeps.

#include <gtest/gtest.h>

#include <string>

#include "ui/tutorial/TutorialPage.h"

namespace tavrel::ui {
namespace {

TEST(TutorialPages, HeadingReplacesAndLinesJoinWithCrLf) {
    const PageEntry entries[] = {{EntryKind::Line, "lost"},
                                 {EntryKind::Heading, "Head"},
                                 {EntryKind::Blank},
                                 {EntryKind::Line, "Body"},
                                 {EntryKind::Text, "Tail"}};
    EXPECT_EQ(BuildPage(entries), "Head\r\n\r\nBody\r\nTail");
}

// The window adds every line break itself: one written inside an entry would show as a ragged line.
TEST(TutorialPages, EveryPageStartsWithItsHeadingAndHoldsNoStrayBreaks) {
    const std::vector<Page> pages = AllPages();
    ASSERT_EQ(pages.size(), 10u);
    for (Page page : pages) {
        ASSERT_FALSE(page.empty());
        EXPECT_EQ(page.front().kind, EntryKind::Heading);
        for (const PageEntry& entry : page) EXPECT_EQ(std::string(entry.text).find_first_of("\r\n"), std::string::npos) << entry.text;
    }
    EXPECT_TRUE(PiecePage(kPieceCount).empty());
    EXPECT_TRUE(PiecePage(-1).empty());
}

}  // namespace
}  // namespace tavrel::ui
