// The whole-file pass on several threads: every game once, with its own bytes, in file order.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "GamesInOrder.h"
#include "pgn/GameSource.h"
#include "support/TempFile.h"

namespace tavrel {
namespace {

// Writes each game's number and bytes; a thread that is slow on some games must not reorder them.
class EchoWorker final : public GameWorker {
public:
    void Game(std::int64_t number, std::string_view bytes, std::string& out) override {
        if (number % 7 == 0) std::this_thread::yield();
        out += std::to_string(number) + ":" + std::string(bytes) + "|";
    }
};

TEST(GamesInOrder, EveryThreadCountAndChunkSizeGivesTheFileOrder) {
    std::string bytes = "junk before the first game\n";
    std::string expected;
    for (int k = 1; k <= 300; ++k) {
        const std::string game = "[Event \"" + std::to_string(k) + "\"]\n\n1. e4 " + std::string(k % 13, 'x') + " *\n\n";
        bytes += game;
        expected += std::to_string(k) + ":" + game + "|";
    }
    testing::TempFile file(bytes);
    pgn::GameSource source;
    ASSERT_EQ(source.Open(file.path()), "");
    ASSERT_EQ(source.GameCount(), 300);
    for (const std::size_t workers : {1, 2, 5}) {
        for (const std::size_t chunkBytes : {1, 100, 1 << 20}) {
            std::vector<EchoWorker> pool(workers);
            std::vector<GameWorker*> threads;
            for (EchoWorker& worker : pool) threads.push_back(&worker);
            std::string out;
            ForEachGameInOrder(source, threads, [&](std::string_view chunk) { out += chunk; }, chunkBytes);
            EXPECT_EQ(out, expected) << workers << " workers, chunks of " << chunkBytes;
        }
    }
}

}  // namespace
}  // namespace tavrel
