#include "Unpack.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "Decoder.h"
#include "ZstdFrames.h"

namespace tavrel::io {
namespace {

// Blocks decoded ahead of the sink: enough to keep both threads busy, few enough to stay small.
constexpr std::size_t kBlocksAhead = 3;

struct Block {
    std::vector<char> bytes;
    std::size_t size = 0;
    double share = 0;
};

// The blocks passed between the two threads.
class Handoff {
public:
    explicit Handoff(std::size_t blockBytes) {
        for (std::size_t k = 0; k < kBlocksAhead; ++k) free_.push_back(Block{std::vector<char>(blockBytes)});
    }
    // The decoder's side: a block to fill; none once the sink has stopped.
    std::optional<Block> TakeFree() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !free_.empty() || stopped_; });
        if (stopped_) return std::nullopt;
        Block block = std::move(free_.front());
        free_.pop_front();
        return block;
    }
    void Fill(Block block) {
        const std::lock_guard lock(mutex_);
        full_.push_back(std::move(block));
        changed_.notify_all();
    }
    void Finish() {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    // The sink's side: the next block; none when the decoder has finished.
    std::optional<Block> TakeFull() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !full_.empty() || finished_; });
        if (full_.empty()) return std::nullopt;
        Block block = std::move(full_.front());
        full_.pop_front();
        return block;
    }
    void Return(Block block) {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(block));
        changed_.notify_all();
    }
    void Stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Block> free_, full_;
    bool finished_ = false, stopped_ = false;
};

// Whether a place to start again is kept: far enough from the last one kept for what it costs,
// and after a new mark (a game start), so that a stream that expands to text without any keeps
// no memory for it.
class KeepRule {
public:
    KeepRule(const UnpackOptions& options, const std::atomic<std::int64_t>* marks)
        : options_(options), marks_(marks), marksAtLast_(marks ? marks->load() : 0) {}
    bool Keeps(std::int64_t text, std::int64_t lastKept, std::int64_t cost) {
        if (text - lastKept < std::max(options_.spacing, options_.textPerKeptByte * cost)) return false;
        const std::int64_t marksNow = marks_ ? marks_->load(std::memory_order_relaxed) : marksAtLast_ + 1;
        if (marksNow == marksAtLast_) return false;
        marksAtLast_ = marksNow;
        return true;
    }

private:
    const UnpackOptions& options_;
    const std::atomic<std::int64_t>* marks_;
    std::int64_t marksAtLast_;
};

// Many zstd frames, decoded on several threads at once and handed on in order, each frame's
// start a restart point as the one-stream way below would keep it. Returns where that way goes
// on: nowhere once the text is all handed on or the sink has stopped.
std::optional<RestartPoint> HandFrames(const PackedRegion& region, const TextSink& sink, const std::atomic<std::int64_t>* marks,
                                       const UnpackOptions& options, const FrameWork& work, std::vector<RestartPoint>& points,
                                       std::int64_t& handed, bool& stopped) {
    const int workers = options.workers > 0 ? options.workers : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    ZstdFrames frames(region, workers, options.frameTextMax, work);
    KeepRule keep(options, marks);
    const auto packedSize = static_cast<double>(std::max<std::int64_t>(1, region.to - region.from));
    std::int64_t packed = region.from;
    while (const std::optional<ZstdFrames::Frame> frame = frames.Next()) {
        // What the work found belongs to the whole frame, which the sink then takes at once.
        const std::size_t blockBytes = work ? frame->size : options.blockBytes;
        for (std::size_t at = 0; at < frame->size;) {
            const std::size_t size = std::min(blockBytes, frame->size - at);
            at += size;
            const double through = static_cast<double>(at) / static_cast<double>(frame->size);
            const double share = (static_cast<double>(packed - region.from) + through * static_cast<double>(frame->packedEnd - packed)) / packedSize;
            handed += static_cast<std::int64_t>(size);
            if (!sink(frame->text + at - size, size, std::min(share, 1.0), frame->result)) {
                stopped = true;
                return std::nullopt;
            }
        }
        packed = frame->packedEnd;
        if (keep.Keeps(handed, points.back().text, 0)) points.push_back(RestartPoint{.text = handed, .packed = packed});
    }
    if (frames.Whole()) return std::nullopt;
    return RestartPoint{.text = handed, .packed = frames.GoOnAt()};
}

// The one-stream way, from `from`: one thread decodes, telling the places to start again as it
// passes them, while the calling thread hands the text on.
Unpacked UnpackOn(const PackedRegion& region, const RestartPoint& from, const TextSink& sink, const std::atomic<std::int64_t>* marks,
                  const UnpackOptions& options, std::vector<RestartPoint> points, std::int64_t handed) {
    std::vector<std::vector<unsigned char>> windows;
    Handoff handoff(options.blockBytes);
    auto decoder = std::make_unique<Decoder>(region, from, nullptr, 0);
    decoder->StopAtRestarts(true);
    bool keptInside = false;  // a state inside a zstd frame, which only this decoder can take back

    std::jthread decoding([&] {
        KeepRule keep(options, marks);
        while (!decoder->Ended()) {
            std::optional<Block> block = handoff.TakeFree();
            if (!block) break;
            block->size = 0;
            while (block->size < block->bytes.size() && !decoder->Ended()) {
                block->size += decoder->Read(block->bytes.data() + block->size, block->bytes.size() - block->size);
                if (!decoder->AtRestart()) continue;
                RestartPoint point = decoder->Restart();
                const auto cost = static_cast<std::int64_t>(decoder->RestartCost());
                if (!keep.Keeps(point.text, points.back().text, cost)) continue;
                if (point.midStream) {
                    point.window = static_cast<std::int32_t>(windows.size());
                    windows.emplace_back();
                    decoder->Window(windows.back());
                    if (region.packing == Packing::Zstd && windows.back().empty()) {
                        windows.pop_back();
                        continue;
                    }
                    keptInside = keptInside || region.packing == Packing::Zstd;
                }
                points.push_back(point);
            }
            block->share = decoder->Share();
            handoff.Fill(std::move(*block));
        }
        handoff.Finish();
    });

    Unpacked result;
    while (std::optional<Block> block = handoff.TakeFull()) {
        if (result.stopped) {
        } else if (sink(block->bytes.data(), block->size, block->share, nullptr)) {
            handed += static_cast<std::int64_t>(block->size);
        } else {
            handed += static_cast<std::int64_t>(block->size);
            result.stopped = true;
            handoff.Stop();
        }
        handoff.Return(std::move(*block));
    }
    decoding.join();
    // A stopped pass keeps the text handed on; a damaged one, the text before the damage.
    result.damage = result.stopped ? std::string() : decoder->Error();
    const std::int64_t length = result.stopped ? handed : std::min(handed, decoder->SoundLength());
    decoder->StopAtRestarts(false);
    if (!keptInside) decoder.reset();
    result.text = std::make_shared<PackedText>(region, std::move(points), std::move(windows), length, std::move(decoder));
    return result;
}

}  // namespace

Unpacked Unpack(const PackedRegion& region, const TextSink& sink, const std::atomic<std::int64_t>* marks,
                const UnpackOptions& options, const FrameWork& work) {
    std::vector<RestartPoint> points{RestartPoint{.packed = region.from}};
    std::optional<RestartPoint> from = points.front();
    std::int64_t handed = 0;
    bool stopped = false;
    if (region.packing == Packing::Zstd && options.workers >= 0) from = HandFrames(region, sink, marks, options, work, points, handed, stopped);
    if (from) return UnpackOn(region, *from, sink, marks, options, std::move(points), handed);
    Unpacked result;
    result.stopped = stopped;
    result.text = std::make_shared<PackedText>(region, std::move(points), std::vector<std::vector<unsigned char>>{}, handed, nullptr);
    return result;
}

}  // namespace tavrel::io
