#include "GameText.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrel::ui {

GameText::GameText(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("GameText");
    setWindowTitle("Game text");
    Text = new QTextBrowser(this);
    Text->setObjectName("Text");
    Text->setOpenLinks(false);
    Text->setOpenExternalLinks(false);
    QFont font = Text->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    Text->setFont(font);
    Text->document()->setDocumentMargin(10);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text);
    resize(420, 520);
    connect(Text, &QTextBrowser::anchorClicked, this, &GameText::AnchorClicked);
    // Copy belongs to this window, wherever its focus is: the main window's Ctrl+C is its colour
    // scheme.
    auto* copy = new QAction("Copy", this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, Text, &QTextBrowser::copy);
}

void GameText::SetGame(pgn::AnnotatedGame game, const QString& players, const QString& opening) {
    game_ = std::move(game);
    QString title = "Game text";
    for (const QString& part : {players, opening}) {
        if (!part.isEmpty()) title += " - " + part;
    }
    setWindowTitle(title);
    Text->clear();
    spans_ = WriteGameText(*Text->document(), game_);
    mainLine_.clear();
    for (std::size_t i = 0; i < game_.items.size(); ++i) {
        const pgn::MovetextItem& item = game_.items[i];
        if (item.kind == pgn::MovetextItem::Kind::Move && item.depth == 0) mainLine_.push_back(static_cast<int>(i));
    }
    current_ = -1;
    variation_ = -1;
    Highlight();
    Text->verticalScrollBar()->setValue(0);
}

int GameText::MainLineItem(int ply) const {
    return ply >= 0 && ply < static_cast<int>(mainLine_.size()) ? mainLine_[static_cast<std::size_t>(ply)] : -1;
}

void GameText::ShowSliderValue(int v) {
    current_ = MainLineItem(v);
    variation_ = -1;
    Highlight();
    if (current_ >= 0) {
        KeepInView(current_);
    } else if (v < 0) {
        Text->verticalScrollBar()->setValue(0);
    }
}

void GameText::MarkVariationMove(int item) {
    variation_ = item;
    Highlight();
}

void GameText::AnchorClicked(const QUrl& link) {
    const QString name = link.toString();
    bool ok = false;
    const int item = name.mid(1).toInt(&ok);
    if (!name.startsWith('m') || !ok || item < 0 || item >= static_cast<int>(game_.items.size())) return;
    const pgn::MovetextItem& move = game_.items[static_cast<std::size_t>(item)];
    if (move.depth == 0) {
        emit MainLineMoveClicked(move.ply);
    } else {
        emit VariationMoveClicked(item);
    }
}

void GameText::Highlight() {
    QList<QTextEdit::ExtraSelection> marks;
    const auto mark = [&](int item, const QColor& colour) {
        if (item < 0) return;
        const TextSpan span = SpanOf(item);
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(Text->document());
        selection.cursor.setPosition(span.start);
        selection.cursor.setPosition(span.end, QTextCursor::KeepAnchor);
        selection.format.setBackground(colour);
        marks << selection;
    };
    mark(current_, QColor(0xff, 0xd8, 0x6b));
    mark(variation_, QColor(0xb8, 0xd8, 0xf8));
    Text->setExtraSelections(marks);
}

// Scrolls only when the move is out of sight, and then puts it a third of the way down, so
// that the text does not jump on every step.
void GameText::KeepInView(int item) {
    QTextCursor cursor(Text->document());
    cursor.setPosition(SpanOf(item).start);
    const QRect at = Text->cursorRect(cursor);
    const int height = Text->viewport()->height();
    if (at.top() >= 0 && at.bottom() <= height) return;
    QScrollBar* bar = Text->verticalScrollBar();
    bar->setValue(bar->value() + at.top() - height / 3);
}

QString GameText::HighlightedText() const {
    if (current_ < 0) return {};
    const TextSpan span = SpanOf(current_);
    QTextCursor cursor(Text->document());
    cursor.setPosition(span.start);
    cursor.setPosition(span.end, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

void GameText::PlaceAtScreenEdge(const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(std::max(area.left(), area.right() - width() - 12), area.top() + 40);
    }
}

}  // namespace tavrel::ui
