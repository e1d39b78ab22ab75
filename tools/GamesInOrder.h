#pragma once
// Working through every game of an indexed file on several threads, with what each game writes
// coming out in the file's order.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::pgn {
class GameSource;
}

namespace tavrel {

// One thread's share of the work: handed the games of its chunks one after another, each with its
// bytes (from its first byte to the next game's first), it appends what it reports to `out`.
class GameWorker {
public:
    virtual ~GameWorker() = default;
    virtual void Game(std::int64_t number, std::string_view bytes, std::string& out) = 0;
};

// Hands every game of `source` to the workers, one thread per worker, in chunks of consecutive
// games of about `chunkBytes` (a game longer than that is a chunk of its own). `emit` gets each
// chunk's output in the file's order, on the calling thread. Only a few chunks per thread are
// held at once, so memory grows with the chunk size and the longest game, never with the file.
// One worker runs on the calling thread alone.
void ForEachGameInOrder(pgn::GameSource& source, const std::vector<GameWorker*>& workers,
                        const std::function<void(std::string_view)>& emit, std::size_t chunkBytes = 1 << 20);

// The threads a whole-file pass uses: TAVREL_THREADS when set to a number from 1 up, else one
// per core.
int WholeFileThreads();

}  // namespace tavrel
