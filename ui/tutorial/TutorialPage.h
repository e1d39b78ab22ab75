#pragma once
// A tutorial page as a fixed list of entries, and the text the window shows for it.

#include <span>
#include <string>
#include <vector>

namespace tavrel::ui {

enum class EntryKind {
    Heading,  // the page's first line: replaces whatever was shown, then a line break
    Line,     // a line (a whole paragraph, left for the text area to wrap), then a line break
    Blank,    // a line break alone: an empty line
    Text,     // a last text with no line break after it
};

struct PageEntry {
    EntryKind kind;
    const char* text = "";
};

using Page = std::span<const PageEntry>;

// A line this short was written to stand on its own (the draw rules, wrapped by hand, and the
// book list); a longer one is a paragraph that the text area wraps.
inline constexpr std::size_t kShortLine = 60;
bool IsShortLine(const PageEntry& entry);

// The page's text with CR LF line breaks, as built entry by entry.
std::string BuildPage(Page page);

// The pages behind the four buttons.
Page RulesPage();
Page PiecesPage();
Page NotationPage();
Page StrategyPage();

// The six piece pages, in the tutorial's own order: pawn, rook, knight, bishop, queen, king.
inline constexpr int kPieceCount = 6;
Page PiecePage(int index);

// Every page, the four button pages first, then the six piece pages.
std::vector<Page> AllPages();

}  // namespace tavrel::ui
