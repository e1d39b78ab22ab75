// The list of games: its model checked by Qt's model tester while headers arrive sorted and
// searched, the search words, the sort orders, and the window's background passes.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <random>

#include "ui/WaitUntil.h"
#include "pgn/GameSource.h"
#include "support/TempFile.h"
#include "ui/list/GameList.h"
#include "ui/list/ListKeys.h"

namespace tavrel::ui {
namespace {

struct Game {
    const char* white;
    const char* black;
    const char* date;
    const char* round;
    const char* eco;
    int whiteElo;
};

const Game kGames[] = {
    {"Émile Zola", "Kramnik, V", "1992.03.01", "10", "B90", 2700},
    {"emile, p", "Anand, Viswanathan", "1992.??.??", "2", "C42", 0},
    {"Anand, Viswanathan", "Kramnik, V", "????.??.??", "2.1", "D37", 2780},
    {"Sm\xe9kal, Ola", "Zola, M", "2001.12.31", "?", "A00", 999},  // Latin-1 in the file
    {"Kramnik, V", "Anand, Viswanathan", "1851.06.21", "1", "B90", 2750},
};

std::string GamesFile(int copies) {
    std::string text;
    for (int copy = 0; copy < copies; ++copy) {
        for (const Game& g : kGames) {
            text += std::string("[Event \"Linares ") + std::to_string(copy) + "\"]\n[Site \"Linares ESP\"]\n[Date \"" +
                    g.date + "\"]\n[Round \"" + g.round + "\"]\n[White \"" + g.white + "\"]\n[Black \"" + g.black +
                    "\"]\n[Result \"1-0\"]\n[ECO \"" + g.eco + "\"]\n";
            if (g.whiteElo) text += "[WhiteElo \"" + std::to_string(g.whiteElo) + "\"]\n";
            text += "\n1. e4 e5 2. Nf3 1-0\n\n";
        }
    }
    return text;
}

// The headers of every game of `path`, in batches of `per` games.
std::vector<pgn::HeaderBatch> Batches(const std::string& path, int per) {
    pgn::GameSource source;
    source.Open(path);
    pgn::HeaderReader reader(path, std::make_shared<std::vector<std::int64_t>>(source.Index().GameOffsets));
    std::vector<pgn::HeaderBatch> batches;
    for (std::int64_t first = 1; first <= source.GameCount(); first += per) {
        batches.push_back(reader.Read(first, std::min<std::int64_t>(per, source.GameCount() - first + 1)));
    }
    return batches;
}

QString Cell(const GameListModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

// The games of the rows on show, top to bottom.
std::vector<std::int64_t> Shown(const GameListModel& model) {
    std::vector<std::int64_t> games;
    for (int row = 0; row < model.rowCount(); ++row) games.push_back(model.GameAt(row));
    return games;
}

TEST(GameListModel, StaysConsistentWhileRowsArriveSortedAndSearched) {
    testing::TempFile file(GamesFile(40));
    const auto batches = Batches(file.path(), 23);
    GameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Reset(200);
    model.AppendHeaders({batches[0]});
    model.sort(GameListModel::White, Qt::DescendingOrder);
    for (std::size_t i = 1; i < batches.size(); ++i) {
        if (i == 3) model.SetFilter("anand");
        if (i == 6) model.SetFilter("");
        if (i == 7) model.sort(GameListModel::Date, Qt::AscendingOrder);
        model.AppendHeaders({batches[i]});
    }
    ASSERT_EQ(model.rowCount(), 200);
    // Sorted by date with every arrival merged in place; equal dates in game order.
    for (int row = 1; row < model.rowCount(); ++row) {
        const QString before = Cell(model, row - 1, GameListModel::Date), here = Cell(model, row, GameListModel::Date);
        ASSERT_LE(DateKey(before), DateKey(here)) << row;
        if (before == here) {
            ASSERT_LT(model.GameAt(row - 1), model.GameAt(row));
        }
    }
    EXPECT_EQ(Cell(model, 0, GameListModel::Date), "????.??.??");
    EXPECT_EQ(Cell(model, 40, GameListModel::Date), "1851.06.21");
    EXPECT_EQ(Cell(model, 80, GameListModel::Date), "1992.??.??");
    for (int row = 0; row < model.rowCount(); ++row) ASSERT_EQ(model.RowOfGame(model.GameAt(row)), row);
}

TEST(GameListModel, SearchKeepsRowsHoldingEveryWord) {
    testing::TempFile file(GamesFile(1));
    GameListModel model;
    model.Reset(5);
    model.AppendHeaders(Batches(file.path(), 2));
    struct Row {
        const char* words;
        std::vector<std::int64_t> games;
    };
    const Row rows[] = {
        {"EMILE", {1, 2}},           // case
        {"émile", {1, 2}},           // accents
        {"smekal", {4}},           // an accent from a Latin-1 file
        {"  anand   kramnik ", {3, 5}},   // several words, in different fields
        {"b90 1992", {1}},           // ECO and date
        {"linares esp zola", {1, 4}},  // site
        {"2.1", {3}},                // round
        {"1-0 b90", {1, 5}},         // result
        {"carlsen", {}},
        {"", {1, 2, 3, 4, 5}},
    };
    for (const Row& row : rows) {
        model.SetFilter(QString::fromUtf8(row.words));
        EXPECT_EQ(Shown(model), row.games) << row.words;
    }
}

TEST(GameListModel, SortsNumbersDatesAndRoundsAsSuch) {
    testing::TempFile file(GamesFile(1));
    GameListModel model;
    model.Reset(5);
    model.AppendHeaders(Batches(file.path(), 5));
    struct Row {
        int column;
        Qt::SortOrder order;
        std::vector<std::int64_t> games;
    };
    const Row rows[] = {
        {GameListModel::Round, Qt::AscendingOrder, {4, 5, 2, 3, 1}},  // ?, 1, 2, 2.1, 10
        {GameListModel::WhiteElo, Qt::DescendingOrder, {3, 5, 1, 4, 2}},
        {GameListModel::White, Qt::AscendingOrder, {3, 1, 2, 5, 4}},  // É with E
        {GameListModel::Number, Qt::DescendingOrder, {5, 4, 3, 2, 1}},
    };
    for (const Row& row : rows) {
        model.sort(row.column, row.order);
        EXPECT_EQ(Shown(model), row.games) << "column " << row.column;
    }
    EXPECT_EQ(Cell(model, 1, GameListModel::White), QString::fromUtf8("Smékal, Ola"));
}

// The radix sort skips the digits where all keys agree: keys that differ only high up, only low
// down, or across the top bit must still come out in order.
TEST(ListKeys, SortKeysOrdersAsAComparisonSortDoes) {
    std::mt19937_64 random(14);
    const std::uint64_t masks[] = {~std::uint64_t{0}, 0xFFull << 56, 0x7FF, 0xF00000000000000Full, 0x3ull << 31};
    for (const std::uint64_t mask : masks) {
        for (const std::size_t size : {0, 1, 2, 1000}) {
            std::vector<std::uint64_t> keys(size);
            for (std::uint64_t& key : keys) key = (random() & mask) | 0x0000'1234'0000'0000ull;
            std::vector<std::uint64_t> expected = keys;
            std::sort(expected.begin(), expected.end());
            SortKeys(keys);
            EXPECT_EQ(keys, expected) << std::hex << mask << " " << size;
        }
    }
}

TEST(GameList, ReadsEveryHeaderInTheBackgroundAndChecksTheGames) {
    std::string text = GamesFile(300);
    text += "[Event \"Broken\"]\n[White \"X\"]\n\n1. e4 e5 2. Ke3 Nf6 3. Qxh9 *\n";
    testing::TempFile file(text);
    pgn::GameSource source;
    ASSERT_EQ(source.Open(file.path()), "");
    GameList list;
    list.show();
    list.SelectGame(1499);
    list.Load(file.path(), source.Index().GameOffsets);
    WAIT_UNTIL_MS(!list.PassRunning(), 20000);
    EXPECT_EQ(list.Count->text(), "1,501 of 1,501 games");  // grouped alike on every desktop
    EXPECT_FALSE(list.Table->isColumnHidden(GameListModel::WhiteElo));
    ASSERT_EQ(list.Table->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(list.Table->selectionModel()->selectedRows()[0].row(), 1498);

    std::int64_t chosen = 0;
    QObject::connect(&list, &GameList::GameChosen, [&](std::int64_t game) { chosen = game; });
    list.activateWindow();
    WAIT_UNTIL(QApplication::activeWindow() == &list);  // keys sent before then find no focus under load
    list.Search->setFocus();
    list.Search->setText("kramnik");
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Return}) {
        list.Search->setFocus();
        QTest::keyClick(list.Search, key);
        EXPECT_EQ(QApplication::focusWidget(), list.Table) << "several hits: the key goes to the rows";
    }
    EXPECT_EQ(chosen, 0);
    list.Search->setText("broken");
    EXPECT_EQ(list.Count->text(), "1 of 1,501 games");
    QTest::keyClick(list.Search, Qt::Key_Return);
    EXPECT_EQ(chosen, 1501) << "Enter on a single hit shows it";
    chosen = 0;
    list.Search->clear();
    EXPECT_EQ(list.Table->selectionModel()->selectedRows()[0].row(), 1498) << "the current game stays selected";

    list.CheckTheGames();
    WAIT_UNTIL_MS(!list.PassRunning(), 60000);
    GameListModel& model = *list.Model();
    EXPECT_EQ(Cell(model, 1500, GameListModel::Check), "2: Ke3");
    EXPECT_EQ(Cell(model, 0, GameListModel::Check), "ok");
    model.sort(GameListModel::Check, Qt::DescendingOrder);
    EXPECT_EQ(model.GameAt(0), 1501);

    list.Table->setCurrentIndex(model.index(0, 0));
    QTest::keyClick(list.Table, Qt::Key_Return);
    EXPECT_EQ(chosen, 1501);
}

}  // namespace
}  // namespace tavrel::ui
