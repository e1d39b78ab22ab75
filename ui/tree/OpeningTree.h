#pragma once
// The opening tree: every move played next from the position of interest in the open file's
// games, by any move order, with how it scored. The games' first plies are kept by passes on every
// core after the index: first each game's first move (all the start position needs), then its
// opening. Each question runs in the background over the games kept so far, so rows appear and
// grow while the passes run. Recent answers are kept, so going back is instant. A file changed on
// disk meanwhile is read no further: its answers are dropped and the window says why.

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
#include "pgn/FileStamp.h"
#include "search/PositionSearch.h"

namespace tavrel::ui {

class OpeningTree : public QWidget {
    Q_OBJECT
public:
    explicit OpeningTree(QWidget* parent = nullptr);
    ~OpeningTree() override;

    // Starts anew on a file and its index: the passes that keep every game's first plies begin.
    // `watched` is the file on disk as it was indexed.
    void Load(const pgn::FileRef& file, const pgn::GameIndex& index, const pgn::WatchedFile& watched = {});
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
    void DropChangedFile();
    void ForgetAnswers();
    search::OpeningStore& StoreFor(const search::Target& target);
    void StopSearch();
    void ShowRows();
    void StopFindingGames();
    Answer& Current();

    pgn::PgnFile file_;
    pgn::GameIndex index_;
    pgn::WatchedFile watched_;
    bool changed_ = false;  // the file changed on disk: nothing more is read or answered
    search::OpeningStore first_{1};  // each game's first move, kept first
    std::unique_ptr<search::StorePass> firstPass_;
    search::OpeningStore store_;     // each game's opening, kept once first_ is complete
    std::unique_ptr<search::StorePass> pass_;
    bool storeComplete_ = false;     // store_ holds every game: it answers all, and first_ goes
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
