#include "GamesInOrder.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "pgn/GameSource.h"

namespace tavrel {
namespace {

struct Chunk {
    std::int64_t first = 0;  // games first .. end - 1
    std::int64_t end = 0;
};

// Cuts the file into chunks of whole games by the index, in order.
class ChunkCutter {
public:
    ChunkCutter(const pgn::GameSource& source, std::size_t chunkBytes) : source_(source), chunkBytes_(chunkBytes) {}

    bool Next(Chunk& chunk) {
        const std::int64_t count = source_.GameCount();
        if (next_ > count) return false;
        chunk.first = next_;
        const std::int64_t from = source_.Index().OffsetOf(next_);
        do {
            ++next_;
        } while (next_ <= count && StartOf(next_) - from < static_cast<std::int64_t>(chunkBytes_));
        chunk.end = next_;
        return true;
    }

    // Where game k begins; one past the file's last byte for k = count + 1.
    [[nodiscard]] std::int64_t StartOf(std::int64_t game) const {
        return game <= source_.GameCount() ? source_.Index().OffsetOf(game) : source_.Length() + 1;
    }

private:
    const pgn::GameSource& source_;
    std::size_t chunkBytes_;
    std::int64_t next_ = 1;
};

// Reads the chunk's bytes into `bytes` and hands each game to the worker.
void RunChunk(pgn::GameSource& source, const ChunkCutter& cutter, const Chunk& chunk, GameWorker& worker,
              std::string& bytes, std::string& out) {
    const std::int64_t from = cutter.StartOf(chunk.first);
    const auto size = static_cast<std::size_t>(cutter.StartOf(chunk.end) - from);
    if (bytes.size() < size) bytes.resize(size);
    const std::size_t got = source.File().ReadAt(from, bytes.data(), size);
    const std::string_view block(bytes.data(), got);
    for (std::int64_t game = chunk.first; game < chunk.end; ++game) {
        // A file that shrank since the scan gives its games as far as they are still there.
        const auto at = std::min(block.size(), static_cast<std::size_t>(cutter.StartOf(game) - from));
        const auto to = std::min(block.size(), static_cast<std::size_t>(cutter.StartOf(game + 1) - from));
        worker.Game(game, block.substr(at, to - at), out);
    }
}

}  // namespace

void ForEachGameInOrder(pgn::GameSource& source, const std::vector<GameWorker*>& workers,
                        const std::function<void(std::string_view)>& emit, std::size_t chunkBytes) {
    ChunkCutter cutter(source, chunkBytes);
    if (workers.size() <= 1) {
        std::string bytes, out;
        for (Chunk chunk; !workers.empty() && cutter.Next(chunk);) {
            RunChunk(source, cutter, chunk, *workers.front(), bytes, out);
            emit(out);
            out.clear();
        }
        return;
    }

    // A ring of slots, one per chunk in flight: a worker may start chunk c only once chunk
    // c - slots has been written, so the slots bound the memory.
    const std::size_t slots = 2 * workers.size();
    struct Slot {
        std::string out;
        bool ready = false;
    };
    std::vector<Slot> ring(slots);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t cut = 0;      // chunks handed out
    std::size_t written = 0;  // chunks emitted
    std::size_t running = workers.size();

    const auto work = [&](GameWorker& worker) {
        std::string bytes, out;
        for (;;) {
            Chunk chunk;
            std::size_t number = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return cut < written + slots; });
                if (!cutter.Next(chunk)) break;
                number = cut++;
            }
            RunChunk(source, cutter, chunk, worker, bytes, out);
            {
                std::lock_guard lock(mutex);
                Slot& slot = ring[number % slots];
                slot.out.swap(out);  // the slot's old buffer comes back, its memory kept
                slot.ready = true;
            }
            changed.notify_all();
            out.clear();
        }
        std::lock_guard lock(mutex);
        --running;
        changed.notify_all();
    };
    std::vector<std::thread> threads;
    threads.reserve(workers.size());
    for (GameWorker* worker : workers) threads.emplace_back(work, std::ref(*worker));

    std::string out;
    for (;;) {
        {
            std::unique_lock lock(mutex);
            Slot& slot = ring[written % slots];
            changed.wait(lock, [&] { return slot.ready || (running == 0 && written == cut); });
            if (!slot.ready) break;
            slot.out.swap(out);
            slot.ready = false;
            ++written;
        }
        changed.notify_all();
        emit(out);
        out.clear();
    }
    for (std::thread& thread : threads) thread.join();
}

int WholeFileThreads() {
    if (const char* forced = std::getenv("TAVREL_THREADS")) {
        const int n = std::atoi(forced);
        if (n >= 1) return std::min(n, 256);
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace tavrel
