#pragma once
// The questions of PositionSearch.h answered from the games' text alone, for a file whose
// openings are not kept (yet). Each game is read only as far as it can still reach the position:
// most are ruled out within a few half-moves, when a pawn leaves a square it keeps in the
// position or a capture leaves fewer men than it has. The answer is the one Search gives.

#include <memory>

#include "PositionSearch.h"
#include "pgn/OrderedPass.h"

namespace tavrel::search {

// The same search in the background on every core, handing on its answer in game order as chunks
// of games finish: the window shows the rows of the games searched so far while it runs, and a
// search cancelled part way keeps an answer for a run of games from the first it was asked.
class TextSearchPass {
public:
    // Searches games options.firstGame .. options.lastGame (options.cancel is not read: Cancel()).
    TextSearchPass(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
                   const SearchOptions& options = {});
    // Adds the games searched since the last call to `result`; true when every game asked is in it.
    bool TakeInto(SearchResult& result);
    // The last game whose answer TakeInto has handed on.
    [[nodiscard]] std::int64_t SearchedTo() const { return firstGame_ - 1 + pass_->GamesTaken(); }
    // The threads finish the chunks they hold and take no more.
    void Cancel() { pass_->Cancel(); }

private:
    const std::unique_ptr<const Target> target_;  // the threads' own copy, whatever the caller keeps
    std::int64_t firstGame_;
    std::unique_ptr<pgn::OrderedPass<SearchResult>> pass_;
};

// The whole search, waiting for it; options.cancel stops it early with the games searched so far.
SearchResult SearchText(const pgn::PgnFile& file, const pgn::GameIndex& index, const Target& target,
                        const SearchOptions& options = {});

}  // namespace tavrel::search
