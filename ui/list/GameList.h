#pragma once
// The list of games: every game of the open file with its players, result, date, event, round
// and opening code; sorted by any column, searched by words, opened by Enter or a double click.
// Headers are read in the background on every core; the list fills as they arrive.

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "GameChecker.h"
#include "GameListModel.h"
#include "pgn/HeaderStore.h"
#include "pgn/OrderedPass.h"

namespace tavrel::ui {

class GameList : public QWidget {
    Q_OBJECT
public:
    explicit GameList(QWidget* parent = nullptr);
    ~GameList() override;

    // Starts anew on a file whose games begin at `offsets`: the rows come as headers are read.
    void Load(const pgn::FileRef& file, const std::vector<std::int64_t>& offsets);
    // Selects the game on show and scrolls it into view (when it is among the rows).
    void SelectGame(std::int64_t game);
    // Replays every game in the background and marks those whose moves do not all replay.
    void CheckTheGames();
    // Stops the pass running now, keeping what it read.
    void CancelPass();
    [[nodiscard]] bool PassRunning() const { return headerPass_ || checkPass_; }
    // Across `screen` (theirs), above or below `windows` (the main window and the game score),
    // where there is more room: they stay in view.
    void PlaceClearOf(const QRect& windows, const QScreen* screen);
    // Copy (Ctrl+C): the selected game's row, its cells apart by tabs, as the columns show them.
    void CopySelectedRow();
    // Only the games that reach a position (numbers from 1, each with the half-moves played when
    // it first stands there), with a button back to all games.
    void ShowOnly(const std::vector<std::pair<std::int64_t, int>>& games);
    void ShowAll();
    // The games the rows show now, in their order.
    [[nodiscard]] std::vector<std::int64_t> ShownGames() const;

    GameListModel* Model() { return model_; }
    QLineEdit* Search;
    QLabel* Count;
    QTableView* Table;
    QProgressBar* Progress;
    QPushButton* CancelButton;
    QPushButton* CheckButton;
    QPushButton* AllGamesButton;
    QPushButton* SaveButton;

signals:
    // The user asked to see this game.
    void GameChosen(std::int64_t game);
    // "Save games as...": the games shown are to be written to a file the user names.
    void SaveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitNumberColumn();
    void Poll();
    void ShowCount();
    void ShowPass(const QString& what, std::int64_t done, std::int64_t total);
    void ShowColumns();

    GameListModel* model_;
    QTimer poll_;
    pgn::FileRef file_;
    std::shared_ptr<const std::vector<std::int64_t>> offsets_;
    std::unique_ptr<pgn::OrderedPass<pgn::HeaderBatch>> headerPass_;
    std::unique_ptr<pgn::OrderedPass<CheckBatch>> checkPass_;
    std::int64_t current_ = 0;
    bool currentShown_ = false;  // the current game's row has been selected since it arrived
};

}  // namespace tavrel::ui
