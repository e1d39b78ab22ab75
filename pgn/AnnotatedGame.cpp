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

// Only a comment after the last tag stands before the first move.
Next AnnotationCollector::Tag(std::string_view, std::string_view) {
    game_.items.clear();
    return Next::Go;
}

// The main line's first move number says where the numbering starts.
void AnnotationCollector::MoveNumber(int number, int dots, int depth) {
    if (numbered_ || depth > 0) return;
    numbered_ = true;
    game_.firstMoveNumber = number;
    game_.blackStarts = dots >= 2;
}

void AnnotationCollector::Comment(std::string_view text) { Add(MovetextItem::Kind::Comment, text); }

void AnnotationCollector::Glyph(int number) { Add(MovetextItem::Kind::Glyph, {}).glyph = number; }

void AnnotationCollector::Move(const MoveToken& move) {
    numbered_ = true;
    Line& line = lines_.back();
    const int previous = line.last;
    const int ply = previous < 0 ? 0 : game_.items[previous].ply + 1;
    MovetextItem& item = Add(MovetextItem::Kind::Move, move.san);
    item.ply = ply;
    item.previous = previous;
    line.before = previous;
    line.moved = true;
    line.last = static_cast<int>(game_.items.size()) - 1;
}

// A variation replaces the line's latest move: it is played from where that move was.
Next AnnotationCollector::BeginVariation() {
    const Line& line = lines_.back();
    const int from = line.moved ? line.before : line.last;
    Add(MovetextItem::Kind::VariationStart, {});
    lines_.push_back(Line{.last = from, .before = from < 0 ? -1 : game_.items[from].previous});
    return Next::Go;
}

void AnnotationCollector::EndVariation() {
    if (lines_.size() < 2) return;
    lines_.pop_back();
    Add(MovetextItem::Kind::VariationEnd, {});
}

void AnnotationCollector::Result(std::string_view text, int) { Add(MovetextItem::Kind::Result, text); }

}  // namespace tavrel::pgn
