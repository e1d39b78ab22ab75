#pragma once
// The game score window: one line per move number beside the main window; a click on a line
// jumps to that move.

#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <QWidget>

namespace tavrel::ui {

class GameScr : public QWidget {
    Q_OBJECT
public:
    explicit GameScr(QWidget* parent = nullptr);

    // Stands in the right half of the screen, vertically centred, next to the main window.
    void Form_Load();

    void SetLines(const QStringList& lines);
    void SetBold(bool whiteBold);
    // Selects a line as the program, not the user: no click follows from it.
    void SelectLine(int line);

    // While set, a change of the selection is the program's own and is not taken as a click.
    bool SuppressScoreClick = false;

    QLabel* WLabel;
    QLabel* BLabel;
    QListWidget* Display;
    QLabel* GameCounter;

signals:
    // The user chose line `line`: a mouse click on it, selected or not, or the selection keys.
    void Display_Click(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchMouse(const QEvent& event);

    bool mouseDown_ = false;  // the left button is held over the list: the release clicks
    int rowAtPress_ = -1;     // a press that moved the selection acts wherever it is let go
};

}  // namespace tavrel::ui
