#pragma once
// The game's movetext laid out as a chess book prints it: the main line in bold with its move
// numbers, comments as prose, glyphs as symbols, each variation in parentheses in a lighter
// paragraph of its own, the result at the end.

#include <QString>
#include <QTextDocument>
#include <vector>

#include "pgn/AnnotatedGame.h"

namespace tavrel::ui {

// "!" for $1 ... "−+" for $19; a glyph without a symbol reads as "$" and its number.
QString GlyphSymbol(int glyph);

// Where a move's text stands in the document: characters [start, end). Items that are not
// moves have start -1.
struct TextSpan {
    int start = -1;
    int end = -1;
};

// Writes `game` into the empty `document`; returns a span for every item. Each move's text is
// an anchor "m" followed by its item index.
std::vector<TextSpan> WriteGameText(QTextDocument& document, const pgn::AnnotatedGame& game);

}  // namespace tavrel::ui
