#pragma once
// The opening tree: every move played next from the position of interest in the open file's
// games, by any move order, with how it scored. A pass on every core after the index keeps each
// game's opening as move codes. Each question runs in the background: over the openings kept so
// far, then over the text of the games after them (each read only as far as it can still reach
// the position), while the pass gives way; rows appear and grow as it runs. Recent answers are
// kept, so going back is instant. A file changed on disk meanwhile is read no further: its
// answers are dropped and the window says why.

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
#include "search/TextSearch.h"

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
    void RunPasses(bool giveWay);
    void StopSearch();
    void ShowRows();
    void ShowProgress(const Answer& answer);
    bool TakeText(Answer& answer);
    void StopFindingGames();
    Answer& Current();

    pgn::PgnFile file_;
    pgn::GameIndex index_;
    pgn::WatchedFile watched_;
    bool changed_ = false;  // the file changed on disk: nothing more is read or answered
    search::OpeningStore store_;  // each game's opening
    std::unique_ptr<search::StorePass> pass_;
    bool storeComplete_ = false;  // store_ holds every game: it answers all
    std::optional<search::Target> target_;
    std::map<std::uint64_t, Answer> answers_;  // by position key, the most recent last in recent_
    std::deque<std::uint64_t> recent_;
    std::future<search::SearchResult> running_;  // a search of the kept openings
    // The search of the text of the games the openings kept do not hold yet: its answer grows in
    // game order as it runs.
    std::unique_ptr<search::TextSearchPass> textPass_;
    std::future<search::SearchResult> reaching_;  // FindGames's search, for the position reachingKey_
    std::uint64_t reachingKey_ = 0;
    std::atomic<bool> cancelReaching_{false};
    std::int64_t runningTo_ = 0;
    std::atomic<bool> cancel_{false};
    QTimer poll_;
};

}  // namespace tavrel::ui
