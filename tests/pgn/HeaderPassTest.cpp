// The background pass of the list of games: results in game order from several threads, a
// cancel that keeps a run of games from the first, and names stored once.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "pgn/GameSource.h"
#include "pgn/HeaderStore.h"
#include "pgn/OrderedPass.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

using Numbers = std::vector<std::int64_t>;

// Drains the pass; returns the games handed on, in the order they came.
Numbers Drain(OrderedPass<Numbers>& pass) {
    Numbers games;
    while (!pass.Finished()) {
        for (const Numbers& batch : pass.Take()) games.insert(games.end(), batch.begin(), batch.end());
        std::this_thread::yield();
    }
    for (const Numbers& batch : pass.Take()) games.insert(games.end(), batch.begin(), batch.end());
    return games;
}

// Chunks that finish out of order (the odd ones slowly) still come out in game order.
OrderedPass<Numbers>::Work Numbering() {
    return [](std::int64_t first, std::int64_t count) {
        if ((first / 10) % 2) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        Numbers games;
        for (std::int64_t k = first; k < first + count; ++k) games.push_back(k);
        return games;
    };
}

TEST(OrderedPass, HandsOnEveryGameInOrder) {
    for (std::int64_t games : {0, 1, 10, 95}) {
        OrderedPass<Numbers> pass(games, 10, 3, Numbering);
        Numbers expected;
        for (std::int64_t k = 1; k <= games; ++k) expected.push_back(k);
        EXPECT_EQ(Drain(pass), expected) << games;
        EXPECT_EQ(pass.GamesTaken(), games);
    }
}

TEST(OrderedPass, CancelKeepsARunFromTheFirstGame) {
    OrderedPass<Numbers> pass(100000, 10, 2, Numbering);
    Numbers games;
    while (games.empty()) {
        for (const Numbers& batch : pass.Take()) games.insert(games.end(), batch.begin(), batch.end());
    }
    pass.Cancel();
    const Numbers rest = Drain(pass);
    games.insert(games.end(), rest.begin(), rest.end());
    ASSERT_LT(games.size(), 100000u);
    for (std::size_t i = 0; i < games.size(); ++i) ASSERT_EQ(games[i], static_cast<std::int64_t>(i) + 1);
    EXPECT_EQ(pass.GamesTaken(), static_cast<std::int64_t>(games.size()));
}

TEST(HeaderStore, StoresRepeatedNamesOnce) {
    std::string text;
    for (int k = 0; k < 50; ++k) {
        // Tag names in any letter case fill their fields.
        text += std::string(k % 2 ? "[EVENT" : "[Event") + " \"Club\"]\n[White \"Ann\"]\n[Black \"B" + std::to_string(k % 2) +
                "\"]\n" + (k % 2 ? "[WHITEELO" : "[WhiteElo") + " \"2100\"]\n[Date \"2020.??.??\"]\n\n1. e4 *\n";
    }
    testing::TempFile file(text);
    GameSource source;
    ASSERT_EQ(source.Open(file.path()), "");
    HeaderReader reader(file.path(), std::make_shared<std::vector<std::int64_t>>(source.Index().GameOffsets));
    HeaderStore store;
    for (std::int64_t first = 1; first <= 50; first += 7) store.Append(reader.Read(first, std::min<std::int64_t>(7, 51 - first)));
    ASSERT_EQ(store.Size(), 50u);
    EXPECT_EQ(store.Pool().Size(), 6u);  // "", Club, Ann, B0, B1, the date
    EXPECT_EQ(store.Text(49, HeaderField::Black), "B1");
    EXPECT_EQ(store.Text(49, HeaderField::Site), "");
    EXPECT_EQ(store.Text(49, HeaderField::Event), "Club");
    EXPECT_EQ(store.Row(49).whiteElo, 2100);
    EXPECT_TRUE(store.HasElo());
}

}  // namespace
}  // namespace tavrel::pgn
