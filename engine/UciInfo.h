#pragma once
// What an engine's "info" lines say, and the rule that decides which of them are shown: only
// complete sets of lines, all at one depth, so that the lines do not flicker while the engine
// works through them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::engine {

// A score as the engine gives it: from the side to move's point of view.
struct EngineScore {
    bool mate = false;  // value is then moves to mate, negative when the side to move is mated
    int value = 0;      // centipawns otherwise
    bool operator==(const EngineScore&) const = default;
};

struct InfoLine {
    int depth = 0;
    int seldepth = 0;
    int multipv = 1;
    std::optional<EngineScore> score;
    bool bound = false;  // a lowerbound/upperbound score: the engine has not settled it
    long long nodes = 0;
    long long nps = 0;
    std::vector<std::string> pv;  // the moves in coordinates, as written
};

// Reads the words an engine writes after "info". Words Tavrel does not know are passed over
// with their values ("string" ends the line: what follows is free text); a number that cannot
// be read counts as absent.
InfoLine ParseInfo(std::string_view afterInfo);

// Gathers the lines of one search. A set is complete when it holds every wanted line at one
// depth, or when the engine goes deeper before filling it (the position has fewer moves than
// lines wanted). Lines of a shallower depth than the set being filled are late and left out, as
// are bound scores and lines without a move.
class LineSets {
public:
    explicit LineSets(int wanted = 1) : wanted_(wanted) {}
    void Reset(int wanted);
    // True when `line` completed a set; Complete() holds it then, best line first.
    bool Add(const InfoLine& line);
    // The search has ended: the set being filled counts as complete. True when there was one.
    bool Finish();
    const std::vector<InfoLine>& Complete() const { return complete_; }

private:
    bool Close();
    int wanted_;
    int depth_ = 0;
    std::vector<std::optional<InfoLine>> filling_;
    std::vector<InfoLine> complete_;
};

}  // namespace tavrel::engine
