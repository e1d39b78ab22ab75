#include "AnnotatedGame.h"

namespace tavrel::pgn {

AnnotatedGame::Path AnnotatedGame::PathTo(int move) const {
    Path path;
    int at = move;
    while (at >= 0 && items[at].depth > 0) {
        path.moves.insert(path.moves.begin(), at);
        at = items[at].previous;
    }
    path.branch = at;
    return path;
}

MovetextItem& AnnotationCollector::Add(MovetextItem::Kind kind, std::string_view text) {
    MovetextItem& item = game_.items.emplace_back();
    item.kind = kind;
    item.text = text;
    item.depth = static_cast<int>(lines_.size()) - 1;
    return item;
}

void AnnotationCollector::Comment(std::string_view text) {
    Add(MovetextItem::Kind::Comment, text);
}

void AnnotationCollector::Glyph(int number) { Add(MovetextItem::Kind::Glyph, {}).glyph = number; }

void AnnotationCollector::Move(std::string_view san) {
    Line& line = lines_.back();
    const int previous = line.last;
    const int ply = previous < 0 ? 0 : game_.items[previous].ply + 1;
    MovetextItem& item = Add(MovetextItem::Kind::Move, san);
    item.ply = ply;
    item.previous = previous;
    line.before = previous;
    line.moved = true;
    line.last = static_cast<int>(game_.items.size()) - 1;
}

void AnnotationCollector::FirstMoveNumber(int number, bool blackToMove) {
    game_.firstMoveNumber = number;
    game_.blackStarts = blackToMove;
}

// A variation replaces the line's latest move: it is played from where that move was.
void AnnotationCollector::BeginVariation() {
    const Line& line = lines_.back();
    const int from = line.moved ? line.before : line.last;
    Add(MovetextItem::Kind::VariationStart, {});
    lines_.push_back(Line{.last = from, .before = from < 0 ? -1 : game_.items[from].previous});
}

void AnnotationCollector::EndVariation() {
    if (lines_.size() < 2) return;
    lines_.pop_back();
    Add(MovetextItem::Kind::VariationEnd, {});
}

void AnnotationCollector::Result(std::string_view text) {
    Add(MovetextItem::Kind::Result, text);
}

}  // namespace tavrel::pgn
