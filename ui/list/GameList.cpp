#include "GameList.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "../common/PanelTexts.h"

namespace tavrel::ui {
namespace {

// Games per chunk of a background pass: small enough that the first rows show at once and a
// cancel stops quickly, large enough that handing chunks over costs nothing.
constexpr std::int64_t kChunkGames = 2048;
constexpr int kPollMs = 100;

}  // namespace

GameList::GameList(QWidget* parent) : QWidget(parent, Qt::Window), model_(new GameListModel(this)) {
    setObjectName("GameList");
    setWindowTitle("List of games");
    Search = new QLineEdit(this);
    Search->setObjectName("Search");
    Search->setPlaceholderText("Search players, result, event, site, round, date, ECO");
    Search->installEventFilter(this);
    Search->setClearButtonEnabled(true);
    Count = new QLabel(this);
    Count->setObjectName("Count");
    auto* top = new QHBoxLayout;
    top->addWidget(Search, 1);
    top->addWidget(Count);

    Table = new QTableView(this);
    Table->setObjectName("Table");
    Table->setModel(model_);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->setAlternatingRowColors(true);
    Table->verticalHeader()->hide();
    // Rows of one height: the view then never measures a million rows.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
    QHeaderView* header = Table->horizontalHeader();
    header->setSortIndicator(GameListModel::Number, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    const int widths[GameListModel::ColumnCount] = {60, 170, 45, 170, 45, 60, 110, 80, 200, 50, 45, 40};
    for (int column = 0; column < GameListModel::ColumnCount; ++column) Table->setColumnWidth(column, widths[column]);
    header->setStretchLastSection(true);
    Table->setSortingEnabled(true);

    Progress = new QProgressBar(this);
    Progress->setObjectName("Progress");
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    CheckButton = new QPushButton("Check the games", this);
    CheckButton->setObjectName("CheckButton");
    CheckButton->setToolTip("Replay every game and mark those whose moves do not all replay");
    AllGamesButton = new QPushButton("All games", this);
    AllGamesButton->setObjectName("AllGamesButton");
    AllGamesButton->setToolTip("Show every game of the file again");
    AllGamesButton->hide();
    SaveButton = new QPushButton("Save games as...", this);
    SaveButton->setObjectName("SaveButton");
    SaveButton->setToolTip("Write the games the list shows, in its order, to a new PGN file");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Progress, 1);
    bottom->addWidget(CancelButton);
    bottom->addStretch();
    bottom->addWidget(AllGamesButton);
    bottom->addWidget(SaveButton);
    bottom->addWidget(CheckButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Table, 1);
    layout->addLayout(bottom);
    resize(1000, 560);

    connect(Search, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_->SetFilter(text);
        currentShown_ = false;
        SelectGame(current_);
        if (!currentShown_) Table->scrollToTop();
        ShowCount();
    });
    // After a sort the selected game is somewhere else: keep it in view.
    connect(header, &QHeaderView::sortIndicatorChanged, this, [this] {
        const QModelIndexList selected = Table->selectionModel()->selectedRows();
        if (!selected.isEmpty()) Table->scrollTo(selected.front(), QAbstractItemView::PositionAtCenter);
    });
    connect(Table, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { emit GameChosen(model_->GameAt(index.row())); });
    connect(CancelButton, &QPushButton::clicked, this, &GameList::CancelPass);
    connect(CheckButton, &QPushButton::clicked, this, &GameList::CheckTheGames);
    connect(AllGamesButton, &QPushButton::clicked, this, &GameList::ShowAll);
    connect(SaveButton, &QPushButton::clicked, this, &GameList::SaveRequested);
    // Copy belongs to this window: the main window's Ctrl+C is its colour scheme.
    auto* copy = new QAction("Copy", this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, this, &GameList::CopySelectedRow);
    connect(&poll_, &QTimer::timeout, this, &GameList::Poll);
    poll_.setInterval(kPollMs);
    ShowPass({}, 0, 0);
    ShowColumns();
}

GameList::~GameList() = default;

void GameList::Load(const pgn::FileRef& file, const std::vector<std::int64_t>& offsets) {
    headerPass_.reset();
    checkPass_.reset();
    file_ = file;
    offsets_ = std::make_shared<const std::vector<std::int64_t>>(offsets);
    model_->Reset(static_cast<std::int64_t>(offsets.size()));
    AllGamesButton->hide();
    currentShown_ = false;
    setWindowTitle("List of games - " + QString::fromStdString(file.path));
    FitNumberColumn();
    const auto shared = offsets_;
    headerPass_ = std::make_unique<pgn::OrderedPass<pgn::HeaderBatch>>(
        static_cast<std::int64_t>(offsets.size()), kChunkGames, pgn::PassThreads(), [file, shared] {
            auto reader = std::make_shared<pgn::HeaderReader>(file, shared);
            return [reader](std::int64_t first, std::int64_t count) { return reader->Read(first, count); };
        });
    ShowColumns();
    Poll();
    poll_.start();
}

void GameList::CheckTheGames() {
    if (PassRunning() || !offsets_) return;
    const auto shared = offsets_;
    const pgn::FileRef file = file_;
    model_->AppendChecks({});  // nothing yet: the column shows
    checkPass_ = std::make_unique<pgn::OrderedPass<CheckBatch>>(
        static_cast<std::int64_t>(shared->size()), kChunkGames / 8, pgn::PassThreads(), [file, shared] {
            auto checker = std::make_shared<GameChecker>(file, shared);
            return [checker](std::int64_t first, std::int64_t count) { return checker->Check(first, count); };
        });
    Table->setColumnHidden(GameListModel::Check, false);
    Poll();
    poll_.start();
}

void GameList::CancelPass() {
    if (headerPass_) headerPass_->Cancel();
    if (checkPass_) checkPass_->Cancel();
}

void GameList::Poll() {
    if (headerPass_) {
        model_->AppendHeaders(headerPass_->Take());
        ShowPass("Reading the games' headers", model_->GamesRead(), model_->TotalGames());
        if (headerPass_->Finished()) headerPass_.reset();
        ShowColumns();
        if (!currentShown_) SelectGame(current_);
    }
    if (checkPass_) {
        model_->AppendChecks(checkPass_->Take());
        ShowPass("Checking the games", model_->GamesChecked(), model_->TotalGames());
        if (checkPass_->Finished()) checkPass_.reset();
    }
    if (!PassRunning()) {
        poll_.stop();
        ShowPass({}, 0, 0);
    }
    ShowCount();
}

void GameList::ShowPass(const QString& what, std::int64_t done, std::int64_t total) {
    const bool running = PassRunning();
    Progress->setVisible(running);
    CancelButton->setVisible(running);
    CheckButton->setEnabled(!running && model_->TotalGames() > 0);
    if (!running) return;
    // A progress bar counts in int: scale to per mille for files of any size.
    Progress->setRange(0, 1000);
    Progress->setValue(total > 0 ? static_cast<int>(1000 * done / total) : 0);
    Progress->setFormat(what + QString(": %1 of %2").arg(GroupedNumber(done), GroupedNumber(total)));
}

void GameList::ShowCount() {
    const QString shown = GroupedNumber(model_->rowCount());
    Count->setText(model_->ShowsOnly()
                       ? QString("%1 of %2 games reaching the position").arg(shown, GroupedNumber(model_->OnlyCount()))
                       : QString("%1 of %2 games").arg(shown, GroupedNumber(model_->TotalGames())));
    SaveButton->setEnabled(model_->rowCount() > 0);
}

void GameList::ShowOnly(const std::vector<std::pair<std::int64_t, int>>& games) {
    model_->ShowOnly(games);
    AllGamesButton->show();
    ShowColumns();
    currentShown_ = false;
    SelectGame(current_);
    if (!currentShown_) Table->scrollToTop();
    ShowCount();
}

void GameList::ShowAll() {
    model_->ShowAll();
    AllGamesButton->hide();
    ShowColumns();
    currentShown_ = false;
    SelectGame(current_);
    ShowCount();
}

std::vector<std::int64_t> GameList::ShownGames() const {
    std::vector<std::int64_t> games;
    games.reserve(static_cast<std::size_t>(model_->rowCount()));
    for (int row = 0; row < model_->rowCount(); ++row) games.push_back(model_->GameAt(row));
    return games;
}

void GameList::ShowColumns() {
    Table->setColumnHidden(GameListModel::WhiteElo, !model_->HasElo());
    Table->setColumnHidden(GameListModel::BlackElo, !model_->HasElo());
    Table->setColumnHidden(GameListModel::Check, model_->GamesChecked() == 0 && !checkPass_);
    Table->setColumnHidden(GameListModel::Reached, !model_->ShowsOnly());
}

// The widest game number of the file fits, with room for the sort mark of the header.
void GameList::FitNumberColumn() {
    const QString widest = GroupedNumber(std::max<std::int64_t>(model_->TotalGames(), 1));
    const int digits = Table->fontMetrics().horizontalAdvance(widest);
    const int caption = Table->horizontalHeader()->sectionSizeHint(GameListModel::Number);
    Table->setColumnWidth(GameListModel::Number, std::max(digits + 16, caption));
}

// From the search field, Down goes to the rows; so does Enter, which shows the game at once
// when the search kept only one.
bool GameList::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Search || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((key != Qt::Key_Down && !enter) || model_->rowCount() == 0) return QWidget::eventFilter(watched, event);
    if (enter && model_->rowCount() == 1) {
        emit GameChosen(model_->GameAt(0));
        return true;
    }
    if (Table->selectionModel()->selectedRows().isEmpty()) Table->selectRow(0);
    Table->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void GameList::SelectGame(std::int64_t game) {
    current_ = game;
    const int row = model_->RowOfGame(game);
    if (row < 0) {
        Table->clearSelection();
        return;
    }
    currentShown_ = true;
    Table->selectRow(row);
    Table->scrollTo(model_->index(row, GameListModel::Number), QAbstractItemView::PositionAtCenter);
}

void GameList::CopySelectedRow() {
    const QModelIndexList selected = Table->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    QStringList cells;
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (!Table->isColumnHidden(column)) cells << model_->index(selected.front().row(), column).data().toString();
    }
    QGuiApplication::clipboard()->setText(cells.join('\t'));
}

void GameList::PlaceClearOf(const QRect& windows, const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const int above = windows.top() - area.top(), below = area.bottom() - windows.bottom();
    constexpr int kGap = 8, kTitle = 30, kLeast = 300;
    const int height = std::max(kLeast, std::max(above, below) - kGap - kTitle);
    const int top = below >= above ? std::min(windows.bottom() + kGap, area.bottom() - height - kTitle)
                                   : std::max(area.top(), windows.top() - kGap - height - kTitle);
    const int width = std::min(area.width() - 40, 1000);
    setGeometry(area.left() + (area.width() - width) / 2, top + kTitle, width, height);
}

}  // namespace tavrel::ui
