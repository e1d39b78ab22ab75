#pragma once
// The game score window: one line per move number beside the main window; a click on a line
// jumps to that move.

#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "ScoreModel.h"

namespace tavrel::ui {

class GameScr : public QWidget {
    Q_OBJECT
public:
    explicit GameScr(QWidget* parent = nullptr);

    // Stands in the right half of the screen, vertically centred, next to the main window.
    void Form_Load();

    // A game's score under its round; ShowNoGame empties the score and names no round.
    void ShowGame(const QString& round, std::vector<ScoreRow> rows);
    void ShowNoGame();
    // Greys the moves from score half-move `first` on (0: the first row's White half), which the
    // board never reaches because that move cannot be played.
    void MarkUnreachedFrom(int first) { model_.MarkUnreachedFrom(first); }
    // "Game 3 of 40" under the score.
    void ShowGameCount(std::int64_t game, std::int64_t total);
    void SetBold(bool whiteBold);
    // The window and its text `zoom` times their default size, as the main window's board.
    void SetZoom(double zoom);
    // Holds `header` in a room above the score (the window grows by it); nullptr gives the room
    // back, for a header shown elsewhere. A header taken into another parent frees the room at
    // the next layout too.
    void SetHeader(QWidget* header);
    // Selects a line as the program, not the user: no click follows from it.
    void SelectLine(int line);
    // The line selected, or -1 for none.
    [[nodiscard]] int SelectedLine() const;
    [[nodiscard]] const ScoreModel& Model() const { return model_; }
    ScoreModel& Model() { return model_; }

    QLabel* WLabel;
    QLabel* BLabel;
    QListView* Display;
    QLabel* GameCounter;

signals:
    // The user chose line `line`: a mouse click on it, selected or not, or the selection keys.
    void Display_Click(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void WatchMouse(const QEvent& event);
    void LayOut();

    // The header's room above the score, in pixels at the default size: six lines of text.
    static constexpr int kHeaderHeight = 96;

    ScoreModel model_;
    QFont baseFont_;     // the default size's
    double zoom_ = 1.0;
    QPointer<QWidget> header_;
    // While set, a change of the selection is the program's own and is not taken as a click.
    bool suppressScoreClick_ = false;
    bool mouseDown_ = false;  // the left button is held over the list: the release clicks
    int rowAtPress_ = -1;     // a press that moved the selection acts wherever it is let go
};

}  // namespace tavrel::ui
