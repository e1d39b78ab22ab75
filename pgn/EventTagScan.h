#pragma once
// The rule of where a game starts: a "[" followed by "EVENT " in any letter case. Every examined
// "[" consumes the six bytes after it, match or not, so "[[Event " opens nothing.
//
// The rule is applied one block of the file at a time, and only the rare "[E" or "[e" pairs are
// looked at closely: whether such a "[" is examined at all depends only on the brackets shortly
// before it, which are walked back over when there are any. The state carried from one block to
// the next is the first position a "[" may be examined at.

#include <cstdint>
#include <vector>

namespace tavrel::pgn {

class EventTagScan {
public:
    // Nothing before `from` (1-based) reaches past it: the start of the file, or a position whose
    // six preceding bytes hold no "[".
    explicit EventTagScan(std::int64_t from) : eligible_(from) {}

    // Appends to `starts` the game starts among positions [start, start + size) of the file, whose
    // bytes are block[0 .. size). The block must hold six more bytes after them (the tag name of
    // a "[" at its end) and be readable for 16 bytes past size. Blocks come in file order.
    void Scan(const char* block, std::int64_t start, std::size_t size, std::vector<std::int64_t>& starts);

    // A position from which a scan may start afresh: `at` itself when its six predecessors,
    // before[0 .. 6), hold no "[".
    static bool CleanStart(const char* sixBefore);

private:
    // The first position at or after which a "[" is examined, given the brackets in
    // [start, at) and the state carried into the block.
    std::int64_t EligibleAt(const char* block, std::int64_t start, std::int64_t at) const;

    std::int64_t eligible_;
};

}  // namespace tavrel::pgn
