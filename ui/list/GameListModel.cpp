#include "GameListModel.h"

#include <QLocale>
#include <algorithm>
#include <functional>
#include <numeric>

#include "../common/PanelTexts.h"
#include "ListKeys.h"

namespace tavrel::ui {
namespace {

using pgn::HeaderField;

// The header field a text column shows.
HeaderField FieldOf(int column) {
    switch (column) {
        case GameListModel::White: return HeaderField::White;
        case GameListModel::Black: return HeaderField::Black;
        case GameListModel::Result: return HeaderField::Result;
        case GameListModel::Date: return HeaderField::Date;
        case GameListModel::Event: return HeaderField::Event;
        case GameListModel::Round: return HeaderField::Round;
        case GameListModel::Eco: return HeaderField::Eco;
        default: return HeaderField::kCount;
    }
}

// The fields the search looks in.
constexpr HeaderField kSearched[] = {HeaderField::White, HeaderField::Black, HeaderField::Result,
                                     HeaderField::Event, HeaderField::Site,  HeaderField::Round,
                                     HeaderField::Date,  HeaderField::Eco};
constexpr int kMaxWords = 32;  // one bit each in a text's mask

QString Shown(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

void GameListModel::Reset(std::int64_t games) {
    beginResetModel();
    store_ = pgn::HeaderStore();
    store_.Reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, games)));
    total_ = games;
    rows_.clear();
    rows_.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, games)));
    folded_.clear();
    wordMasks_.clear();
    textRank_.clear();
    rankedTexts_ = 0;
    checks_.clear();
    firstUnmatched_.clear();
    only_.reset();
    endResetModel();
}

std::size_t GameListModel::BytesUsed() const {
    std::size_t folded = 0;
    for (const QString& text : folded_) folded += sizeof(QString) + static_cast<std::size_t>(text.capacity()) * 2;
    return store_.BytesUsed() + rows_.capacity() * sizeof(Game) + folded +
           (wordMasks_.capacity() + textRank_.capacity()) * sizeof(std::uint32_t) +
           checks_.capacity() * sizeof(std::int32_t);
}

// Texts new to the pool get their folded form and search mask.
void GameListModel::CatchUpWithPool() {
    const std::uint32_t size = store_.Pool().Size();
    for (auto id = static_cast<std::uint32_t>(folded_.size()); id < size; ++id) {
        folded_.push_back(FoldedText(Shown(store_.Pool().Text(id))));
        std::uint32_t mask = 0;
        for (int w = 0; w < words_.size(); ++w) {
            if (folded_.back().contains(words_[w])) mask |= 1u << w;
        }
        wordMasks_.push_back(mask);
    }
}

// Every text's place in the sort column's order, so that a sort compares numbers. New texts only
// renumber the ranks: the order of the texts already ranked stays, so rows sorted before stay sorted.
void GameListModel::RankTexts() {
    const std::uint32_t size = store_.Pool().Size();
    if (FieldOf(sortColumn_) == HeaderField::kCount) return;  // numbers sort as themselves
    if (rankedTexts_ == size && rankedColumn_ == sortColumn_) return;
    std::vector<std::uint32_t> ids(size);
    std::iota(ids.begin(), ids.end(), 0u);
    std::vector<std::uint64_t> number(size, 0);
    if (sortColumn_ == Date || sortColumn_ == Round) {
        for (std::uint32_t id = 0; id < size; ++id) {
            const QString text = Shown(store_.Pool().Text(id));
            number[id] = sortColumn_ == Date ? DateKey(text) : RoundKey(text);
        }
    }
    std::sort(ids.begin(), ids.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (number[a] != number[b]) return number[a] < number[b];
        const int order = folded_[a].compare(folded_[b]);
        return order != 0 ? order < 0 : store_.Pool().Text(a) < store_.Pool().Text(b);
    });
    textRank_.assign(size, 0);
    for (std::uint32_t place = 0; place < size; ++place) textRank_[ids[place]] = place;
    rankedTexts_ = size;
    rankedColumn_ = sortColumn_;
}

std::uint32_t GameListModel::SortKey(Game game) const {
    const pgn::HeaderRow& row = store_.Row(game);
    switch (sortColumn_) {
        case WhiteElo: return row.whiteElo;
        case BlackElo: return row.blackElo;
        case Check: return game < checks_.size() ? static_cast<std::uint32_t>(checks_[game]) + 1 : 0;
        case Reached: return only_ && only_->contains(game) ? static_cast<std::uint32_t>(only_->at(game)) : 0;
        default: {
            const HeaderField field = FieldOf(sortColumn_);
            return field == HeaderField::kCount ? game : textRank_[row.Id(field)];
        }
    }
}

// Rows with equal keys keep game order, whichever way the sort goes.
bool GameListModel::Before(Game a, Game b) const {
    const std::uint32_t ka = SortKey(a), kb = SortKey(b);
    if (ka != kb) return sortOrder_ == Qt::AscendingOrder ? ka < kb : ka > kb;
    return a < b;
}

void GameListModel::SortRows(std::vector<Game>::iterator from, std::vector<Game>::iterator to) const {
    if (sortColumn_ < 0 || (sortColumn_ == Number && sortOrder_ == Qt::AscendingOrder)) {
        std::sort(from, to);
        return;
    }
    // Each row as one number, its key above its game: sorting the numbers sorts by key, and equal
    // keys by game. Keys (ranks, ratings, counts) fit in 32 bits.
    std::vector<std::uint64_t> keyed;
    keyed.reserve(static_cast<std::size_t>(to - from));
    const bool down = sortOrder_ == Qt::DescendingOrder;
    for (auto it = from; it != to; ++it) {
        const std::uint32_t key = SortKey(*it);
        keyed.push_back(std::uint64_t{down ? ~key : key} << 32 | *it);
    }
    SortKeys(keyed);
    for (std::size_t i = 0; i < keyed.size(); ++i) from[static_cast<std::ptrdiff_t>(i)] = static_cast<Game>(keyed[i]);
}

void GameListModel::Resort(const std::function<void()>& reorder) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::int64_t> games;
    for (const QModelIndex& index : before) games.push_back(GameAt(index.row()));
    reorder();
    QModelIndexList after;
    for (std::size_t i = 0; i < games.size(); ++i) {
        const int row = RowOfGame(games[i]);
        after << (row < 0 ? QModelIndex() : createIndex(row, before[static_cast<qsizetype>(i)].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool GameListModel::Passes(Game game) const {
    if (only_ && !only_->contains(game)) return false;
    if (words_.isEmpty()) return true;
    const pgn::HeaderRow& row = store_.Row(game);
    std::uint32_t found = 0;
    for (HeaderField field : kSearched) found |= wordMasks_[row.Id(field)];
    const auto wanted = static_cast<std::uint32_t>((std::uint64_t{1} << std::min<qsizetype>(words_.size(), kMaxWords)) - 1);
    return found == wanted;
}

void GameListModel::AppendHeaders(const std::vector<pgn::HeaderBatch>& batches) {
    const auto first = static_cast<Game>(store_.Size());
    for (const pgn::HeaderBatch& batch : batches) store_.Append(batch);
    CatchUpWithPool();
    std::vector<Game> added;
    for (auto game = first; game < store_.Size(); ++game) {
        if (Passes(game)) added.push_back(game);
    }
    if (added.empty()) return;
    const bool sorted = sortColumn_ >= 0 && !(sortColumn_ == Number && sortOrder_ == Qt::AscendingOrder);
    const int at = rowCount();
    beginInsertRows({}, at, at + static_cast<int>(added.size()) - 1);
    rows_.insert(rows_.end(), added.begin(), added.end());
    endInsertRows();
    if (!sorted) return;
    // The new rows go to their places among the sorted ones.
    Resort([this, at] {
        RankTexts();
        const auto middle = rows_.begin() + at;
        SortRows(middle, rows_.end());
        std::inplace_merge(rows_.begin(), middle, rows_.end(), [this](Game a, Game b) { return Before(a, b); });
    });
}

void GameListModel::AppendChecks(const std::vector<CheckBatch>& batches) {
    for (const CheckBatch& batch : batches) {
        for (const CheckedGame& game : batch) {
            if (game.unmatched > 0) firstUnmatched_.emplace(static_cast<Game>(checks_.size()), QString::fromStdString(pgn::ShownTagText(game.firstUnmatched)));
            checks_.push_back(game.unmatched);
        }
    }
    if (rowCount() > 0) emit dataChanged(index(0, Check), index(rowCount() - 1, Check), {Qt::DisplayRole});
}

void GameListModel::SetFilter(const QString& text) {
    QStringList words = FoldedText(text).split(u' ', Qt::SkipEmptyParts);
    if (words.size() > kMaxWords) words.resize(kMaxWords);
    if (words == words_) return;
    words_ = words;
    for (std::size_t id = 0; id < folded_.size(); ++id) {
        std::uint32_t mask = 0;
        for (int w = 0; w < words_.size(); ++w) {
            if (folded_[id].contains(words_[w])) mask |= 1u << w;
        }
        wordMasks_[id] = mask;
    }
    Refilter();
}

void GameListModel::ShowOnly(const std::vector<std::pair<std::int64_t, int>>& games) {
    only_.emplace();
    only_->reserve(games.size());
    for (const auto& [game, ply] : games) {
        if (game >= 1) only_->emplace(static_cast<Game>(game - 1), ply);
    }
    Refilter();
}

void GameListModel::ShowAll() {
    if (!only_) return;
    only_.reset();
    Refilter();
}

std::optional<int> GameListModel::ReachedAt(std::int64_t game) const {
    if (!only_ || game < 1) return std::nullopt;
    const auto it = only_->find(static_cast<Game>(game - 1));
    return it == only_->end() ? std::nullopt : std::optional<int>(it->second);
}

void GameListModel::Refilter() {
    beginResetModel();
    rows_.clear();
    for (Game game = 0; game < store_.Size(); ++game) {
        if (Passes(game)) rows_.push_back(game);
    }
    RankTexts();
    SortRows(rows_.begin(), rows_.end());
    endResetModel();
}

void GameListModel::sort(int column, Qt::SortOrder order) {
    if (column == sortColumn_ && order == sortOrder_) return;
    Resort([&] {
        sortColumn_ = column;
        sortOrder_ = order;
        RankTexts();
        SortRows(rows_.begin(), rows_.end());
    });
}

int GameListModel::RowOfGame(std::int64_t game) const {
    const auto wanted = static_cast<Game>(game - 1);
    if (game < 1 || wanted >= store_.Size()) return -1;
    // In game order a row is found by halving; in another order, by looking.
    if (sortColumn_ < 0 || (sortColumn_ == Number && sortOrder_ == Qt::AscendingOrder)) {
        const auto at = std::lower_bound(rows_.begin(), rows_.end(), wanted);
        return at != rows_.end() && *at == wanted ? static_cast<int>(at - rows_.begin()) : -1;
    }
    const auto at = std::find(rows_.begin(), rows_.end(), wanted);
    return at == rows_.end() ? -1 : static_cast<int>(at - rows_.begin());
}

int GameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GameListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString GameListModel::CheckText(Game game) const {
    if (game >= checks_.size()) return {};
    if (checks_[game] == 0) return QStringLiteral("ok");
    const auto first = firstUnmatched_.find(game);
    return QString::number(checks_[game]) + ": " + (first == firstUnmatched_.end() ? QString() : first->second);
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const Game game = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool number = column == Number || column == WhiteElo || column == BlackElo || column == Reached;
        return QVariant::fromValue(Qt::Alignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    if (role == Qt::ToolTipRole && column == Check && game < checks_.size() && checks_[game] > 0) {
        return QString("%1 move texts match no legal move; the first is %2")
            .arg(checks_[game])
            .arg(firstUnmatched_.at(game));
    }
    if (role != Qt::DisplayRole) return {};
    const pgn::HeaderRow& row = store_.Row(game);
    switch (column) {
        case Number: return GroupedNumber(game + 1);
        case WhiteElo: return row.whiteElo ? QString::number(row.whiteElo) : QString();
        case BlackElo: return row.blackElo ? QString::number(row.blackElo) : QString();
        case Check: return CheckText(game);
        case Reached: return only_ && only_->contains(game) ? QString::number(only_->at(game)) : QString();
        default: return Shown(store_.Text(game, FieldOf(column)));
    }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    static const char* const kCaptions[ColumnCount] = {"#",    "White", "Elo",   "Black", "Elo", "Result",
                                                       "Check", "Date", "Event", "Round", "ECO", "Ply"};
    return QString(kCaptions[section]);
}

}  // namespace tavrel::ui
