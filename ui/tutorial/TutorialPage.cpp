#include "TutorialPage.h"

namespace tavrel::ui {

std::string BuildPage(Page page) {
    static constexpr const char* kBreak = "\r\n";
    std::string text;
    for (const PageEntry& entry : page) {
        switch (entry.kind) {
            case EntryKind::Heading:
                text = std::string(entry.text) + kBreak;
                break;
            case EntryKind::Line:
                text += entry.text;
                text += kBreak;
                break;
            case EntryKind::Blank:
                text += kBreak;
                break;
            case EntryKind::Text:
                text += entry.text;
                break;
        }
    }
    return text;
}

bool IsShortLine(const PageEntry& entry) {
    const bool line = entry.kind == EntryKind::Heading || entry.kind == EntryKind::Line;
    return line && std::char_traits<char>::length(entry.text) <= kShortLine;
}

std::vector<Page> AllPages() {
    std::vector<Page> pages = {RulesPage(), PiecesPage(), NotationPage(), StrategyPage()};
    for (int i = 0; i < kPieceCount; ++i) pages.push_back(PiecePage(i));
    return pages;
}

}  // namespace tavrel::ui
