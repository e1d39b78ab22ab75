#include <gtest/gtest.h>

#include "core/GameState.h"

namespace tavrel {
namespace {

TEST(MoveStore, GrowsBeyondTwoHundredMoves) {
    MoveStore store;
    store.MoveText(350, Black) = "Kh1";
    EXPECT_EQ(store.RowCount(), 350);
    EXPECT_EQ(store.Find(350)->black.text, "Kh1");
    EXPECT_EQ(store.Find(351), nullptr);
    EXPECT_EQ(store.Find(0), nullptr);
    EXPECT_TRUE(store.ResolvedSquares(White, 999).IsNone());
}

}  // namespace
}  // namespace tavrel
