#include "OpeningTree.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "../common/PanelTexts.h"
#include "core/MakeMove.h"

namespace tavrel::ui {
namespace {

enum Column { kMove, kGames, kShare, kScore, kBar, kElo, kYear, kColumns };
constexpr int kCodeRole = Qt::UserRole;
constexpr int kBarRole = Qt::UserRole + 1;  // white, draws, black as a list of three numbers
constexpr std::size_t kRecentPositions = 64;

// Sorts numbers as numbers; the total row (the one without a move code) stays on top whichever
// way, as the first row of a descending sort is the greatest.
class Row : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const bool total = !data(kMove, kCodeRole).isValid(), otherTotal = !other.data(kMove, kCodeRole).isValid();
        if (total != otherTotal) {
            const bool descending = treeWidget() && treeWidget()->header()->sortIndicatorOrder() == Qt::DescendingOrder;
            return descending ? otherTotal : total;
        }
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == kMove || column == kBar) return text(column) < other.text(column);
        return data(column, Qt::UserRole + 2).toDouble() < other.data(column, Qt::UserRole + 2).toDouble();
    }
};

// White's wins, draws and Black's wins as a bar of three parts.
class BarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QVariantList parts = index.data(kBarRole).toList();
        double total = 0;
        for (const QVariant& part : parts) total += part.toDouble();
        if (parts.size() != 3 || total <= 0) return;
        const QRect r = option.rect.adjusted(2, 4, -2, -4);
        const QColor colors[3] = {QColor(245, 245, 245), QColor(150, 150, 150), QColor(30, 30, 30)};
        double x = r.left();
        for (int i = 0; i < 3; ++i) {
            const double w = r.width() * parts[i].toDouble() / total;
            painter->fillRect(QRectF(x, r.top(), w, r.height()), colors[i]);
            x += w;
        }
        painter->setPen(QColor(90, 90, 90));
        painter->drawRect(r);
    }
};

QString Percent(double value) { return QString::number(value, 'f', 1) + "%"; }

}  // namespace

OpeningTree::OpeningTree(QWidget* parent) : QWidget(parent) {
    setObjectName("OpeningTree");
    setWindowTitle("Opening tree");
    auto* layout = new QVBoxLayout(this);
    Count = new QLabel("No games", this);
    Count->setObjectName("Count");
    Table = new QTreeWidget(this);
    Table->setObjectName("Table");
    Table->setRootIsDecorated(false);
    Table->setColumnCount(kColumns);
    Table->setHeaderLabels({"Move", "Games", "Share", "Score", "White / draw / Black", "Elo", "Last"});
    Table->setItemDelegateForColumn(kBar, new BarDelegate(Table));
    Table->setSortingEnabled(true);
    Table->sortByColumn(kGames, Qt::DescendingOrder);
    Table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->header()->setSectionResizeMode(kBar, QHeaderView::Stretch);
    Progress = new QProgressBar(this);
    Progress->setObjectName("Progress");
    Progress->setRange(0, 1000);
    GamesButton = new QPushButton("Show games", this);
    GamesButton->setObjectName("GamesButton");
    GamesButton->setToolTip("List the games that reach this position (Enter)");
    GamesButton->setEnabled(false);
    auto* top = new QHBoxLayout;
    top->addWidget(Count, 1);
    top->addWidget(GamesButton);
    layout->addLayout(top);
    layout->addWidget(Table, 1);
    layout->addWidget(Progress);
    // Played once the click is over: the rows are made anew for the position after the move.
    connect(Table, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (!item || !item->data(kMove, kCodeRole).isValid()) return;
        const auto code = static_cast<search::MoveCode>(item->data(kMove, kCodeRole).toUInt());
        QMetaObject::invokeMethod(this, [this, code] { PlayMove(code); }, Qt::QueuedConnection);
    });
    connect(GamesButton, &QPushButton::clicked, this, &OpeningTree::FindGames);
    // Enter (or a double click) on the total row lists the games, as the button does.
    connect(Table, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item && !item->data(kMove, kCodeRole).isValid()) FindGames();
    });
    poll_.setInterval(40);
    connect(&poll_, &QTimer::timeout, this, &OpeningTree::Poll);
    resize(560, 420);
}

OpeningTree::~OpeningTree() {
    StopSearch();
    StopFindingGames();
}

// Stops every pass and search and forgets what they found, as a new or changed file needs.
void OpeningTree::ForgetAnswers() {
    StopSearch();
    StopFindingGames();
    pass_.reset();
    answers_.clear();
    recent_.clear();
    store_ = search::OpeningStore();
    storeComplete_ = false;
}

void OpeningTree::Load(const pgn::FileRef& file, const pgn::GameIndex& index, const pgn::WatchedFile& watched) {
    ForgetAnswers();
    index_ = index;
    watched_ = watched;
    changed_ = false;
    file_.Close();
    file_.Open(file);
    // The pass that keeps the openings starts at the timer's first tick, once no question needs
    // the cores: the window asks about its first position right after a file is loaded, and a
    // pass started now would only compete with that question until it gave way.
    poll_.start();
}

void OpeningTree::Follow(const FenSetUp& position) {
    const search::Target target = search::MakeTarget(position);
    if (target_ && target_->key == target.key) return;
    StopSearch();
    target_ = target;
    std::erase(recent_, target.key);
    recent_.push_back(target.key);
    if (recent_.size() > kRecentPositions) {
        answers_.erase(recent_.front());
        recent_.pop_front();
    }
    ShowRows();
    Poll();
    poll_.start();
}

bool OpeningTree::Settled() const {
    if (!target_ || changed_ || running_.valid() || textPass_) return false;
    const auto it = answers_.find(target_->key);
    return it != answers_.end() && it->second.searchedTo >= index_.GameCount();
}

OpeningTree::Answer& OpeningTree::Current() { return answers_[target_->key]; }

// The pass that keeps the openings gives way to a search of the text, as on two cores it would
// halve that search's speed; a new pass goes on from the next game afterwards.
void OpeningTree::RunPasses(bool giveWay) {
    if (pass_) {
        const bool complete = pass_->TakeInto(store_);
        if (complete || pass_->Stopped()) {
            pass_.reset();
        } else if (giveWay) {
            pass_->Cancel();
        }
    }
    storeComplete_ = store_.GameCount() >= index_.GameCount();
    if (!pass_ && !giveWay && !storeComplete_) {
        pass_ = std::make_unique<search::StorePass>(file_, index_, search::kKeptPlies, store_.GameCount() + 1);
    }
}

// Games would be read at offsets that no longer hold them: what was found is dropped, not shown.
void OpeningTree::DropChangedFile() {
    ForgetAnswers();
    changed_ = true;
    poll_.stop();
    Table->clear();
    Count->setText("The file has changed on disk: open it again to see its tree");
    Progress->setVisible(false);
    GamesButton->setEnabled(false);
}

// A search over games not yet asked about runs while the store is left alone; between searches
// the store takes what the pass has kept since.
void OpeningTree::Poll() {
    if (changed_) return;
    if (watched_.Changed()) return DropChangedFile();
    if (reaching_.valid() && reaching_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        const search::SearchResult found = reaching_.get();
        // The answer for a position left meanwhile is dropped.
        if (target_ && target_->key == reachingKey_) {
            std::vector<std::pair<std::int64_t, int>> games;
            games.reserve(found.reach.size());
            for (const search::Reach& reach : found.reach) games.emplace_back(reach.game, reach.ply);
            ShowRows();
            emit GamesReaching(games);
        }
    }
    if (textPass_) {
        Answer& answer = Current();
        const std::int64_t before = answer.searchedTo;
        const bool done = TakeText(answer);
        if (done || answer.searchedTo > before) ShowRows();  // a table made anew only when it grew
        if (!done) return ShowProgress(answer);
    }
    if (running_.valid()) {
        if (running_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
        const search::SearchResult part = running_.get();
        Answer& answer = Current();
        answer.result.Add(part);
        answer.searchedTo = runningTo_;
        ShowRows();
    }
    // The games the openings kept so far do not hold are asked of their text.
    const bool fromText = target_ && !storeComplete_ && Current().searchedTo < index_.GameCount();
    RunPasses(fromText);
    if (!target_) return;
    const Answer& answer = Current();
    if (answer.searchedTo < store_.GameCount()) {
        cancel_ = false;
        runningTo_ = store_.GameCount();
        running_ = std::async(std::launch::async, [this, target = *target_, from = answer.searchedTo + 1,
                                                   to = runningTo_] {
            return search::Search(store_, file_, index_, target,
                                  {.firstGame = from, .lastGame = to, .threads = 0, .cancel = &cancel_});
        });
    } else if (fromText) {
        // One pass to the last game: rows and the progress bar move as its chunks come in.
        textPass_ = std::make_unique<search::TextSearchPass>(file_, index_, *target_,
                                                             search::SearchOptions{.firstGame = answer.searchedTo + 1});
    } else if (storeComplete_ && !reaching_.valid()) {
        poll_.stop();
    }
    ShowProgress(answer);
}

void OpeningTree::ShowProgress(const Answer& answer) {
    const std::int64_t total = std::max<std::int64_t>(1, index_.GameCount());
    Progress->setValue(static_cast<int>(1000 * answer.searchedTo / total));
    Progress->setVisible(answer.searchedTo < index_.GameCount());
}

// Adds what the text pass found since to the answer; true (and the pass gone) once it is over.
bool OpeningTree::TakeText(Answer& answer) {
    const bool done = textPass_->TakeInto(answer.result);
    answer.searchedTo = textPass_->SearchedTo();
    if (done) textPass_.reset();
    return done;
}

void OpeningTree::StopSearch() {
    if (textPass_) {
        // What it handed on is a run of games from the first asked: kept, and gone on from later.
        textPass_->Cancel();
        TakeText(Current());
        textPass_.reset();
    }
    if (!running_.valid()) return;
    cancel_ = true;
    running_.wait();
    running_ = {};  // a cancelled search covers only part of its games: it is not kept
}

void OpeningTree::ShowRows() {
    if (!target_ || changed_) return;
    const Answer& answer = Current();
    const search::SearchResult& result = answer.result;
    const int side = target_->side;
    const auto fill = [side](QTreeWidgetItem* item, const search::Tally& tally, std::int64_t all) {
        const auto number = [item](int column, double value, const QString& text) {
            item->setText(column, text);
            item->setData(column, Qt::UserRole + 2, value);
        };
        number(kGames, static_cast<double>(tally.games), GroupedNumber(tally.games));
        number(kShare, all ? 100.0 * tally.games / all : 0, Percent(all ? 100.0 * tally.games / all : 0));
        number(kScore, tally.ScoreFor(side), tally.Decided() ? Percent(tally.ScoreFor(side)) : QString());
        item->setData(kBar, kBarRole, QVariantList{QVariant::fromValue(tally.white), QVariant::fromValue(tally.draws),
                                                   QVariant::fromValue(tally.black)});
        number(kElo, tally.AverageElo(), tally.AverageElo() ? QString::number(tally.AverageElo()) : "");
        number(kYear, tally.lastYear, tally.lastYear ? QString::number(tally.lastYear) : "");
        for (int c = kGames; c < kColumns; ++c) {
            if (c != kBar) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
    };
    Table->setUpdatesEnabled(false);
    Table->clear();
    for (const search::TreeRow& row : search::TreeRows(result, *target_)) {
        auto* item = new Row(Table);
        item->setText(kMove, QString::fromStdString(row.san));
        item->setData(kMove, kCodeRole, row.code);
        fill(item, row.tally, result.total.games);
    }
    if (result.total.games > 0) {
        auto* total = new Row(Table);
        total->setText(kMove, "Total");
        QFont bold = total->font(kMove);
        bold.setBold(true);
        for (int c = 0; c < kColumns; ++c) total->setFont(c, bold);
        fill(total, result.total, result.total.games);
    }
    Table->setUpdatesEnabled(true);
    const std::int64_t games = result.total.games;
    Count->setText(games == 0 ? (answer.searchedTo < index_.GameCount() ? "Searching..." : "No games")
                              : GroupedNumber(games) + (games == 1 ? " game" : " games"));
    GamesButton->setEnabled(games > 0 && Settled() && !reaching_.valid());
}

// The tree's answers keep no game numbers (the start position would need one a game); the games
// are found by a search of their own, asked for rarely.
void OpeningTree::FindGames() {
    if (!Settled()) return;
    StopFindingGames();
    GamesButton->setEnabled(false);
    cancelReaching_ = false;
    reachingKey_ = target_->key;
    // The store, once it holds every game, is left alone by the pass; else the text is read.
    const search::OpeningStore* store = storeComplete_ ? &store_ : nullptr;
    reaching_ = std::async(std::launch::async, [this, store, target = *target_] {
        const search::SearchOptions options{.wantReach = true, .cancel = &cancelReaching_};
        return store ? search::Search(*store, file_, index_, target, options)
                     : search::SearchText(file_, index_, target, options);
    });
    poll_.start();
}

void OpeningTree::StopFindingGames() {
    if (!reaching_.valid()) return;
    cancelReaching_ = true;
    reaching_.wait();
    reaching_ = {};
}

void OpeningTree::PlayMove(search::MoveCode code) {
    if (!target_) return;
    FenSetUp after;
    after.position = target_->position;
    after.side = static_cast<int16_t>(-target_->side);
    if (code != search::kNullMove) {
        after.opponentLast = search::DecodeMove(code);
        ApplyMove(after.position, target_->side, after.opponentLast, search::PromotionLetter(search::DecodePromotion(code)));
    }
    emit MovePlayed(after);
    Follow(after);
}

}  // namespace tavrel::ui
