#pragma once
// The opening tree: every move played next from the position of interest in the open file's
// games, by any move order, with how it scored. The games' first plies are kept by a pass on every
// core after the index; each question runs in the background over the games kept so far, so rows
// appear and grow while the pass runs. Recent answers are kept, so going back is instant.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <atomic>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <optional>

#include "core/Fen.h"
#include "search/PositionSearch.h"

namespace tavrel::ui {

class OpeningTree : public QWidget {
    Q_OBJECT
public:
    explicit OpeningTree(QWidget* parent = nullptr);
    ~OpeningTree() override;

    // Starts anew on a file and its index: the pass that keeps every game's first plies begins.
    void Load(const pgn::FileRef& file, const pgn::GameIndex& index);
    // The position to show the tree of; the answer being computed for another one is dropped.
    void Follow(const FenSetUp& position);
    // The question is answered over every game of the file.
    [[nodiscard]] bool Settled() const;
    // Plays a move of the tree (the rows' codes) from the position shown, as a click does.
    void PlayMove(search::MoveCode code);
    // Finds the games that reach the position (once the tree is settled) and hands them on.
    void FindGames();

    QLabel* Count;
    QTreeWidget* Table;
    QProgressBar* Progress;
    QPushButton* GamesButton;

signals:
    // The user clicked a move: the position after it, to be shown on the analysis board.
    void MovePlayed(const tavrel::FenSetUp& after);
    // The games that reach the position, in game order, each with the half-moves played when it
    // first stands there.
    void GamesReaching(const std::vector<std::pair<std::int64_t, int>>& games);

private:
    struct Answer {
        search::SearchResult result;
        std::int64_t searchedTo = 0;  // games 1 .. searchedTo are in the result
    };
    void Poll();
    void StopSearch();
    void ShowRows();
    void StopFindingGames();
    Answer& Current();

    pgn::PgnFile file_;
    pgn::GameIndex index_;
    search::OpeningStore store_;
    std::unique_ptr<search::StorePass> pass_;
    std::optional<search::Target> target_;
    std::map<std::uint64_t, Answer> answers_;  // by position key, the most recent last in recent_
    std::deque<std::uint64_t> recent_;
    std::future<search::SearchResult> running_;
    std::future<search::SearchResult> reaching_;  // FindGames's search, for the position reachingKey_
    std::uint64_t reachingKey_ = 0;
    std::atomic<bool> cancelReaching_{false};
    std::int64_t runningTo_ = 0;
    std::atomic<bool> cancel_{false};
    QTimer poll_;
};

}  // namespace tavrel::ui
