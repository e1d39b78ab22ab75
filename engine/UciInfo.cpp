#include "UciInfo.h"

#include <charconv>

namespace tavrel::engine {
namespace {

class Words {
public:
    explicit Words(std::string_view text) : rest_(text) {}
    std::string_view Next() {
        while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) rest_.remove_prefix(1);
        std::size_t end = 0;
        while (end < rest_.size() && rest_[end] != ' ' && rest_[end] != '\t') ++end;
        const std::string_view word = rest_.substr(0, end);
        rest_.remove_prefix(end);
        return word;
    }
    // A number, or `fallback` when the next word is not one.
    long long Number(long long fallback = 0) {
        const std::string_view word = Next();
        long long value = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        return error == std::errc() && end == word.data() + word.size() ? value : fallback;
    }

private:
    std::string_view rest_;
};

bool IsInfoKeyword(std::string_view w) {
    for (std::string_view k : {"depth", "seldepth", "time", "nodes", "pv", "multipv", "score", "currmove",
                               "currmovenumber", "hashfull", "nps", "tbhits", "sbhits", "cpuload", "string",
                               "refutation", "currline", "wdl"}) {
        if (w == k) return true;
    }
    return false;
}

bool LooksLikeMove(std::string_view w) {
    return (w.size() == 4 || w.size() == 5) && w[0] >= 'a' && w[0] <= 'h' && w[1] >= '1' && w[1] <= '8';
}

}  // namespace

InfoLine ParseInfo(std::string_view afterInfo) {
    InfoLine line;
    Words words(afterInfo);
    std::string_view w = words.Next();
    while (!w.empty()) {
        if (w == "string") break;
        std::string_view next;
        if (w == "depth") {
            line.depth = static_cast<int>(words.Number());
        } else if (w == "seldepth") {
            line.seldepth = static_cast<int>(words.Number());
        } else if (w == "multipv") {
            line.multipv = static_cast<int>(words.Number(-1));
        } else if (w == "nodes") {
            line.nodes = words.Number();
        } else if (w == "nps") {
            line.nps = words.Number();
        } else if (w == "score") {
            const std::string_view kind = words.Next();
            const long long value = words.Number(1LL << 40);
            if ((kind == "cp" || kind == "mate") && value != (1LL << 40)) {
                line.score = EngineScore{kind == "mate", static_cast<int>(value)};
            }
            // A bound word may follow the value.
            next = words.Next();
            if (next == "lowerbound" || next == "upperbound") {
                line.bound = true;
                next = {};
            }
        } else if (w == "pv") {
            for (next = words.Next(); LooksLikeMove(next); next = words.Next()) line.pv.emplace_back(next);
        } else if (w == "wdl") {
            words.Next(), words.Next(), words.Next();
        } else if (w == "currline" || w == "refutation") {
            do next = words.Next(); while (LooksLikeMove(next) || next == "0000");
        } else if (!IsInfoKeyword(w)) {
            // An unknown word: its value, if any, is passed over with it.
        } else {
            words.Next();
        }
        w = next.empty() ? words.Next() : next;
    }
    return line;
}

void LineSets::Reset(int wanted) {
    wanted_ = wanted;
    depth_ = 0;
    filling_.clear();
    complete_.clear();
}

bool LineSets::Close() {
    if (filling_.empty() || !filling_[0]) return false;
    complete_.clear();
    for (const auto& line : filling_) {
        if (!line) break;  // lines after a gap would be numbered wrongly
        complete_.push_back(*line);
    }
    filling_.clear();
    return true;
}

bool LineSets::Add(const InfoLine& line) {
    if (line.pv.empty() || !line.score || line.bound || line.multipv < 1 || line.multipv > wanted_) return false;
    if (line.depth < depth_) return false;
    bool closed = false;
    if (line.depth > depth_) {
        closed = Close();
        depth_ = line.depth;
    }
    filling_.resize(static_cast<std::size_t>(wanted_));
    filling_[static_cast<std::size_t>(line.multipv - 1)] = line;
    for (const auto& held : filling_) {
        if (!held) return closed;
    }
    Close();
    return true;
}

bool LineSets::Finish() { return Close(); }

}  // namespace tavrel::engine
