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

}  // namespace tavrel::ui
