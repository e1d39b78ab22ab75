#pragma once
// The game text window: the whole game as a reader of a chess book expects it, beside the board.
// The move on show is highlighted and kept in view; a click on a main-line move asks for that
// position, a click on a variation move asks for it to be shown on the analysis board.

#include <QScreen>
#include <QTextBrowser>
#include <QWidget>
#include <vector>

#include "GameTextDocument.h"
#include "pgn/AnnotatedGame.h"

namespace tavrel::ui {

class GameText : public QWidget {
    Q_OBJECT
public:
    explicit GameText(QWidget* parent = nullptr);

    // A new game; `players` is "White vs. Black", or empty when neither is known, and `opening`
    // the opening it reaches, or empty. Both go into the title line.
    void SetGame(pgn::AnnotatedGame game, const QString& players, const QString& opening = {});
    // Highlights the main-line move whose position slider value v shows (none for the first
    // position) and scrolls it into view; a variation move marked before is unmarked.
    void ShowSliderValue(int v);
    // At the right edge of `screen` (the main window's), beside the game score.
    void PlaceAtScreenEdge(const QScreen* screen);
    // Marks a variation move as the one the analysis board shows.
    void MarkVariationMove(int item);

    const pgn::AnnotatedGame& Game() const { return game_; }
    // The item of the main line's move with this ply, or -1.
    int MainLineItem(int ply) const;
    // Where item `item`'s text stands in the document.
    TextSpan SpanOf(int item) const { return spans_[static_cast<std::size_t>(item)]; }
    // The text that is highlighted now, for the tests.
    QString HighlightedText() const;

    QTextBrowser* Text;

signals:
    // The user clicked the main-line move that slider value v shows.
    void MainLineMoveClicked(int v);
    // The user clicked a variation move: item `item` of Game().
    void VariationMoveClicked(int item);

private:
    void AnchorClicked(const QUrl& link);
    void Highlight();
    void KeepInView(int item);

    pgn::AnnotatedGame game_;
    std::vector<TextSpan> spans_;
    std::vector<int> mainLine_;  // item of the main line's ply p at index p
    int current_ = -1;           // the main-line item highlighted
    int variation_ = -1;         // the variation item marked
};

}  // namespace tavrel::ui
