#include "GameTextDocument.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include "pgn/Text.h"

namespace tavrel::ui {
namespace {

using Kind = pgn::MovetextItem::Kind;

const QColor kMainColour(0x10, 0x10, 0x10);
// A paragraph this long ends before the next move number. The text view measures, shapes and
// paints a paragraph whole whenever the highlight in it moves, so an engine game's main line of a
// thousand commented half-moves in one paragraph made every step of the slider cost the game.
constexpr int kParagraphChars = 1000;
const QColor kVariationColour(0x55, 0x5b, 0x66);

// Comments keep their words, not the file's line breaks.
QString Prose(const std::string& bytes) {
    return QString::fromStdString(pgn::DisplayText(bytes)).simplified();
}

// Glyphs that sit on the move itself, as "e4!", rather than after a space.
bool IsMoveSuffix(int glyph) { return glyph >= 1 && glyph <= 6; }

class Writer {
public:
    Writer(QTextDocument& document, const pgn::AnnotatedGame& game)
        : cursor_(&document), game_(game), spans_(game.items.size()) {}

    // One edit block: the document is laid out once when it ends. Laid out after each insert,
    // a long game's main line (one paragraph) is laid out again for each of its moves and
    // comments, and a game of a thousand half-moves took minutes.
    std::vector<TextSpan> Run() {
        cursor_.beginEditBlock();
        for (std::size_t i = 0; i < game_.items.size(); ++i) Item(static_cast<int>(i));
        cursor_.endEditBlock();
        return std::move(spans_);
    }

private:
    void Item(int index) {
        const pgn::MovetextItem& item = game_.items[static_cast<std::size_t>(index)];
        switch (item.kind) {
            case Kind::Move: MoveText(index, item); break;
            case Kind::Glyph:
                Write(GlyphSymbol(item.glyph), Format(item.depth, false), !IsMoveSuffix(item.glyph) || !afterMove_);
                afterMove_ = false;
                break;
            case Kind::Comment:
                Write(Prose(item.text), Format(item.depth, false), true);
                numberNext_ = true;
                if (item.depth == 0 && !mainMoved_) NewParagraph(0);  // the words before the first move
                break;
            case Kind::VariationStart:
                if (item.depth == 0) NewParagraph(1);
                Write("(", Format(item.depth + 1, false), true);
                glued_ = true;
                numberNext_ = true;
                break;
            case Kind::VariationEnd:
                Write(")", Format(item.depth + 1, false), false);
                if (item.depth == 0) NewParagraph(0);
                numberNext_ = true;
                break;
            case Kind::Result:
                if (item.depth == 0) NewParagraph(0);
                Write(QString::fromStdString(pgn::DisplayText(item.text)), Format(item.depth, true), true);
                break;
        }
        if (item.kind != Kind::Move) afterMove_ = item.kind == Kind::Glyph && afterMove_;
    }

    void MoveText(int index, const pgn::MovetextItem& item) {
        const bool black = game_.IsBlackPly(item.ply);
        const QString number = QString::number(game_.MoveNumberOf(item.ply));
        if (!black && !glued_ && !paragraphPending_ && cursor_.positionInBlock() >= kParagraphChars) {
            NewParagraph(cursor_.blockFormat().indent());
        }
        if (!black) {
            Write(number + ".", Format(item.depth, item.depth == 0), true);
        } else if (numberNext_) {
            Write(number + "...", Format(item.depth, item.depth == 0), true);
        }
        QTextCharFormat format = Format(item.depth, item.depth == 0);
        format.setAnchor(true);
        format.setAnchorHref("m" + QString::number(index));
        Space(true);
        spans_[static_cast<std::size_t>(index)].start = cursor_.position();
        cursor_.insertText(QString::fromStdString(pgn::DisplayText(item.text)), format);
        spans_[static_cast<std::size_t>(index)].end = cursor_.position();
        numberNext_ = false;
        afterMove_ = true;
        if (item.depth == 0) mainMoved_ = true;
    }

    QTextCharFormat Format(int depth, bool bold) const {
        QTextCharFormat format;
        format.setForeground(depth == 0 ? kMainColour : kVariationColour);
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        return format;
    }

    // Paragraphs begin lazily, so that nothing leaves an empty one behind.
    void NewParagraph(int indent) {
        pendingIndent_ = indent;
        paragraphPending_ = true;
    }

    void Space(bool spaced) {
        if (paragraphPending_) {
            if (cursor_.position() > 0) {
                QTextBlockFormat block;
                block.setIndent(pendingIndent_);
                block.setTopMargin(3);
                block.setBottomMargin(3);
                cursor_.insertBlock(block);
            } else {
                QTextBlockFormat block = cursor_.blockFormat();
                block.setIndent(pendingIndent_);
                cursor_.setBlockFormat(block);
            }
            paragraphPending_ = false;
        } else if (spaced && !glued_ && !cursor_.atBlockStart()) {
            cursor_.insertText(" ", QTextCharFormat());
        }
        glued_ = false;
    }

    void Write(const QString& text, const QTextCharFormat& format, bool spaced) {
        Space(spaced);
        cursor_.insertText(text, format);
    }

    QTextCursor cursor_;
    const pgn::AnnotatedGame& game_;
    std::vector<TextSpan> spans_;
    bool numberNext_ = true;   // Black's next move shows its number ("12...")
    bool glued_ = false;       // the next text follows without a blank ("(" "12.")
    bool afterMove_ = false;   // a suffix glyph may follow straight on
    bool mainMoved_ = false;
    bool paragraphPending_ = false;
    int pendingIndent_ = 0;
};

}  // namespace

QString GlyphSymbol(int glyph) {
    switch (glyph) {
        case 1: return "!";
        case 2: return "?";
        case 3: return "!!";
        case 4: return "??";
        case 5: return "!?";
        case 6: return "?!";
        case 10: return "=";
        case 14: return QString::fromUtf8("⩲");
        case 15: return QString::fromUtf8("⩱");
        case 16: return QString::fromUtf8("±");
        case 17: return QString::fromUtf8("∓");
        case 18: return QString::fromUtf8("+−");
        case 19: return QString::fromUtf8("−+");
        default: return "$" + QString::number(glyph);
    }
}

std::vector<TextSpan> WriteGameText(QTextDocument& document, const pgn::AnnotatedGame& game) {
    return Writer(document, game).Run();
}

}  // namespace tavrel::ui
