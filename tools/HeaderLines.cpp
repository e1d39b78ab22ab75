#include "HeaderLines.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CheckReport.h"
#include "Decimal.h"
#include "pgn/GameBytes.h"
#include "pgn/GameSource.h"
#include "pgn/OrderedPass.h"

namespace tavrel {
namespace {

// Copies `text` in loads of 16 bytes: most names and values are shorter, and a copy of a varying
// length costs a call, or branches on the length that the varying lengths defeat. It reads and
// writes up to 15 bytes past the text's end: ReadTags lets the sink read that far past a printable
// tag's views, and the room claimed for a tag holds the writes.
char* CopyTagText(char* to, std::string_view text) {
    for (std::size_t at = 0; at < text.size(); at += 16) std::memcpy(to + at, text.data() + at, 16);
    return to + text.size();
}

// The lines of a run of games: the first `used` bytes of `bytes`. The rest is room already
// claimed, so that the next run written into the same buffer clears and faults in no memory.
struct Lines {
    std::string bytes;
    std::size_t used = 0;
};

// Each game's line: its number, offset and every tag pair in file order, written through a cursor
// so that a tag costs no resize of its own. Done() sets how much of the buffer was written.
class HeaderLines final : public pgn::TagSink {
public:
    HeaderLines(Lines& out, const pgn::GameIndex& index) : out_(out), index_(index) {
        to_ = out_.bytes.data() + out_.used;
        end_ = out_.bytes.data() + out_.bytes.size();
    }
    void Done() { out_.used = static_cast<std::size_t>(to_ - out_.bytes.data()); }
    void BeginGame(std::int64_t game) override {
        char* to = Room(80);
        to = Put(to, "{\"game\":");
        to = PutDecimal(to, static_cast<std::uint64_t>(game));
        to = Put(to, ",\"offset\":");
        to = PutDecimal(to, static_cast<std::uint64_t>(index_.OffsetOf(game)));
        Used(Put(to, ",\"tags\":["));
    }
    void PrintableTag(std::string_view name, std::string_view value) override {
        char* to = Room(name.size() + value.size() + 8 + 16);
        to = Put(to, "[\"");
        to = CopyTagText(to, name);
        to = Put(to, "\",\"");
        to = CopyTagText(to, value);
        Used(Put(to, "\"],"));
    }
    void Tag(std::string_view name, std::string_view value) override {
        std::string tag("[");
        AppendTagJson(tag, name);
        tag += ',';
        AppendTagJson(tag, value);
        tag += "],";
        Used(Put(Room(tag.size()), tag));
    }
    // Each tag is written with a comma after it, so that a tag need not ask whether it is the
    // first; the last one's comma is taken back.
    void EndGame(std::int64_t /*game*/) override {
        char* to = Room(3);
        if (to[-1] == ',') --to;
        Used(Put(to, "]}\n"));
    }

private:
    // Where `bytes` more may be written.
    char* Room(std::size_t bytes) {
        if (static_cast<std::size_t>(end_ - to_) < bytes) Grow(bytes);
        return to_;
    }
    void Grow(std::size_t bytes) {
        std::string& buffer = out_.bytes;
        const auto used = static_cast<std::size_t>(to_ - buffer.data());
        buffer.resize(std::max(buffer.size() + buffer.size() / 2, used + bytes + 4096));
        to_ = buffer.data() + used;
        end_ = buffer.data() + buffer.size();
    }
    void Used(char* end) { to_ = end; }
    static char* Put(char* to, std::string_view bytes) {
        std::memcpy(to, bytes.data(), bytes.size());
        return to + bytes.size();
    }

    Lines& out_;
    const pgn::GameIndex& index_;
    char* to_;   // the next byte to write
    char* end_;  // the end of the buffer
};

// Buffers whose lines were written out, handed back to the threads that fill them.
class SpareBuffers {
public:
    std::string Take() {
        const std::lock_guard lock(mutex_);
        if (spare_.empty()) return {};
        std::string buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }
    void Give(std::string buffer) {
        const std::lock_guard lock(mutex_);
        spare_.push_back(std::move(buffer));
    }

private:
    std::mutex mutex_;
    std::vector<std::string> spare_;
};

}  // namespace

void WriteHeaderLines(pgn::GameSource& source, const std::function<void(std::string_view)>& emit, int threads) {
    const pgn::GameIndex& index = source.Index();
    const pgn::PgnFile& file = source.File();
    SpareBuffers spare;
    pgn::OrderedPass<Lines> pass(index.GameCount(), 2048, threads, [&file, &index, &spare] {
        auto games = std::make_shared<pgn::GameBytes>(file, index.GameOffsets);
        return [games, &index, &spare](std::int64_t first, std::int64_t count) {
            Lines lines{spare.Take()};
            HeaderLines sink(lines, index);
            pgn::ReadTags(*games, first, count, sink);
            sink.Done();
            return lines;
        };
    });
    const auto write = [&] {
        for (Lines& lines : pass.Take()) {
            emit(std::string_view(lines.bytes).substr(0, lines.used));
            spare.Give(std::move(lines.bytes));
        }
    };
    while (!pass.Finished()) {
        write();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    write();
}

}  // namespace tavrel
