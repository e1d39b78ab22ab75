#pragma once
// A pass over every game of a file on several threads, handing back its results in game order:
// chunks of games are taken by whichever thread is free, and a chunk is handed on only once all
// chunks before it are. Cancelling keeps every chunk already handed on, so what was read stays a
// run of games from the first.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrel::pgn {

template <class Batch>
class OrderedPass {
public:
    // Reads games first to first + count - 1 (from 1).
    using Work = std::function<Batch(std::int64_t first, std::int64_t count)>;

    // `makeWork` runs once on each thread, so that each has its own file handle and buffers.
    OrderedPass(std::int64_t games, std::int64_t chunkGames, int threads, std::function<Work()> makeWork)
        : games_(games), chunk_(std::max<std::int64_t>(1, chunkGames)) {
        const std::int64_t chunks = (games_ + chunk_ - 1) / chunk_;
        const int count = static_cast<int>(std::clamp<std::int64_t>(chunks, 0, std::max(1, threads)));
        running_ = count;
        for (int i = 0; i < count; ++i) threads_.emplace_back([this, makeWork] { Run(makeWork()); });
    }
    ~OrderedPass() {
        Cancel();
        for (std::thread& thread : threads_) thread.join();
    }
    OrderedPass(const OrderedPass&) = delete;
    OrderedPass& operator=(const OrderedPass&) = delete;

    // The threads finish the chunks they hold and take no more.
    void Cancel() { cancelled_ = true; }
    [[nodiscard]] bool Cancelled() const { return cancelled_; }

    // The chunks finished since the last call that follow on from those handed on before.
    std::vector<Batch> Take() {
        std::vector<Batch> ready;
        const std::lock_guard lock(mutex_);
        for (auto next = done_.find(nextChunk_); next != done_.end(); next = done_.find(nextChunk_)) {
            ready.push_back(std::move(next->second));
            done_.erase(next);
            ++nextChunk_;
        }
        return ready;
    }
    // Games handed on by Take so far.
    [[nodiscard]] std::int64_t GamesTaken() const {
        const std::lock_guard lock(mutex_);
        return std::min(games_, nextChunk_ * chunk_);
    }
    [[nodiscard]] std::int64_t Games() const { return games_; }
    // No thread works any more and Take has nothing more to give.
    [[nodiscard]] bool Finished() const {
        const std::lock_guard lock(mutex_);
        return running_ == 0 && done_.find(nextChunk_) == done_.end();
    }

private:
    void Run(const Work& work) {
        for (;;) {
            const std::int64_t chunk = claimed_++;
            const std::int64_t first = chunk * chunk_ + 1;
            if (cancelled_ || first > games_) break;
            Batch batch = work(first, std::min(chunk_, games_ - first + 1));
            const std::lock_guard lock(mutex_);
            done_.emplace(chunk, std::move(batch));
        }
        const std::lock_guard lock(mutex_);
        --running_;
    }

    const std::int64_t games_;
    const std::int64_t chunk_;
    std::atomic<std::int64_t> claimed_{0};
    std::atomic<bool> cancelled_{false};
    mutable std::mutex mutex_;
    std::map<std::int64_t, Batch> done_;  // finished chunks waiting for an earlier one
    std::int64_t nextChunk_ = 0;
    int running_ = 0;
    std::vector<std::thread> threads_;
};

// Threads for a background pass: every core, but at least two.
inline int PassThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 8u));
}

}  // namespace tavrel::pgn
