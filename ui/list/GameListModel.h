#pragma once
// The rows of the list of games: one per game whose headers have been read, shown in the order
// of the sort and kept by the search. No object per row: the headers live in a compact store,
// the rows shown are an array of game numbers.

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "GameChecker.h"
#include "pgn/HeaderStore.h"

namespace tavrel::ui {

class GameListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Reached: the half-moves a game has played when it first stands on the position whose games
    // are shown (only while ShowOnly is in force).
    // The check stands beside the result: both say how the game ended.
    enum Column { Number, White, WhiteElo, Black, BlackElo, Result, Check, Date, Event, Round, Eco, Reached, ColumnCount };

    explicit GameListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Forgets every row: a new file of `games` games whose headers are about to arrive.
    void Reset(std::int64_t games);
    // The headers of the next games, in game order.
    void AppendHeaders(const std::vector<pgn::HeaderBatch>& batches);
    // The results of checking the next games, in game order from game 1.
    void AppendChecks(const std::vector<CheckBatch>& batches);
    // Keeps the rows whose players, result, event, site, round, date or ECO contain every word of
    // `text`.
    void SetFilter(const QString& text);
    // Only these games (numbers from 1, each with the half-moves played when it reaches the
    // position asked about), until ShowAll; the search still applies within them.
    void ShowOnly(const std::vector<std::pair<std::int64_t, int>>& games);
    void ShowAll();
    [[nodiscard]] bool ShowsOnly() const { return only_.has_value(); }
    [[nodiscard]] std::int64_t OnlyCount() const { return only_ ? static_cast<std::int64_t>(only_->size()) : 0; }
    // The half-moves game `game` has played when it reaches the position, while ShowOnly is in force.
    [[nodiscard]] std::optional<int> ReachedAt(std::int64_t game) const;

    [[nodiscard]] int RowOfGame(std::int64_t game) const;  // -1 when the game is not shown
    [[nodiscard]] std::int64_t GameAt(int row) const { return static_cast<std::int64_t>(rows_[static_cast<std::size_t>(row)]) + 1; }
    [[nodiscard]] std::int64_t GamesRead() const { return static_cast<std::int64_t>(store_.Size()); }
    [[nodiscard]] std::int64_t GamesChecked() const { return static_cast<std::int64_t>(checks_.size()); }
    [[nodiscard]] std::int64_t TotalGames() const { return total_; }
    [[nodiscard]] bool HasElo() const { return store_.HasElo(); }
    // Bytes this model holds for its games, beyond the file's index.
    [[nodiscard]] std::size_t BytesUsed() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    using Game = std::uint32_t;  // 0-based game number

    void CatchUpWithPool();
    void RankTexts();
    [[nodiscard]] std::uint32_t SortKey(Game game) const;
    [[nodiscard]] bool Before(Game a, Game b) const;
    [[nodiscard]] bool Passes(Game game) const;
    void SortRows(std::vector<Game>::iterator from, std::vector<Game>::iterator to) const;
    // Re-sorts while keeping the selection and current item on their games.
    void Resort(const std::function<void()>& reorder);
    void Refilter();
    [[nodiscard]] QString CheckText(Game game) const;

    pgn::HeaderStore store_;
    std::int64_t total_ = 0;
    std::vector<Game> rows_;
    // Per text of the store's pool: its folded form, the search words it holds (one bit each) and
    // its place among all texts in the order of the sort column.
    std::vector<QString> folded_;
    std::vector<std::uint32_t> wordMasks_;
    std::vector<std::uint32_t> textRank_;
    std::uint32_t rankedTexts_ = 0;
    int rankedColumn_ = -1;
    QStringList words_;
    int sortColumn_ = -1;  // -1: game order
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::vector<std::int32_t> checks_;  // unmatched move texts per checked game
    std::unordered_map<Game, QString> firstUnmatched_;
    std::optional<std::unordered_map<Game, int>> only_;
};

}  // namespace tavrel::ui
