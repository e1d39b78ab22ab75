#pragma once
// What the opening tree keeps of every game, so that a question about a position replays a few
// 16-bit codes per game instead of its text: the first plies as move codes, the outcome, the year
// and both ratings. Kept as columns, about 11 bytes a game plus 2 a kept ply.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GameWalk.h"
#include "pgn/GameIndex.h"
#include "pgn/OrderedPass.h"
#include "pgn/PgnFile.h"

namespace tavrel::search {

// Plies kept a game by default: move 16 of both sides. A question about a deeper position, or a
// game that may reach it later, reads that game's text again.
constexpr int kKeptPlies = 32;

class OpeningStore {
public:
    explicit OpeningStore(int keptPlies = kKeptPlies) : keptPlies_(keptPlies) { firstCode_.push_back(0); }

    [[nodiscard]] int KeptPlies() const { return keptPlies_; }
    [[nodiscard]] std::int64_t GameCount() const { return static_cast<std::int64_t>(flags_.size()); }

    // Room for `games` games in all, so that the columns are not copied as chunks arrive. The move
    // codes, whose number is not known before, grow by a quarter at a time: doubling would leave up
    // to half their room unused, and they are most of the memory kept.
    void Reserve(std::int64_t games);
    // Game k (from 1) as the walk left it.
    void Append(const WalkedGame& game);
    void AppendAll(const OpeningStore& more);

    [[nodiscard]] const MoveCode* Codes(std::int64_t game) const { return codes_.data() + firstCode_[Slot(game)]; }
    [[nodiscard]] int PlyCount(std::int64_t game) const {
        return static_cast<int>(firstCode_[Slot(game) + 1] - firstCode_[Slot(game)]);
    }
    [[nodiscard]] bool Complete(std::int64_t game) const { return flags_[Slot(game)] & kComplete; }
    [[nodiscard]] bool Excluded(std::int64_t game) const { return flags_[Slot(game)] & kExcluded; }
    [[nodiscard]] bool SetUp(std::int64_t game) const { return flags_[Slot(game)] & kSetUp; }
    [[nodiscard]] Outcome OutcomeOf(std::int64_t game) const { return static_cast<Outcome>(flags_[Slot(game)] & 3); }
    [[nodiscard]] std::uint16_t Year(std::int64_t game) const { return year_[Slot(game)]; }
    [[nodiscard]] std::uint16_t Elo(std::int64_t game, int side) const {
        return side == White ? whiteElo_[Slot(game)] : blackElo_[Slot(game)];
    }
    // The FEN of a game from a set-up position (SetUp(game) is true).
    [[nodiscard]] const std::string& Fen(std::int64_t game) const { return fens_.at(game); }

    // Bytes held, for the memory figure of the benchmarks.
    [[nodiscard]] std::size_t Bytes() const;

private:
    static constexpr std::uint8_t kComplete = 4, kExcluded = 8, kSetUp = 16;
    static std::size_t Slot(std::int64_t game) { return static_cast<std::size_t>(game - 1); }

    int keptPlies_;
    std::vector<std::uint32_t> firstCode_;  // game k's codes start at firstCode_[k - 1]; one more entry
    std::vector<MoveCode> codes_;
    std::vector<std::uint8_t> flags_;       // outcome in bits 0-1, then the flags above
    std::vector<std::uint16_t> year_, whiteElo_, blackElo_;
    std::map<std::int64_t, std::string> fens_;  // few games are set up
};

// The pass that fills a store from a file on all cores, in game order: chunks of games are read
// with one read each and walked one game after another. Take() hands on the games walked since
// the last call; the window shows a tree of the games so far while it runs.
class StorePass {
public:
    // Walks games firstGame .. the last, to go on with a store that holds the games before.
    StorePass(const pgn::PgnFile& file, const pgn::GameIndex& index, int keptPlies = kKeptPlies,
              std::int64_t firstGame = 1);
    // Adds the chunks finished since the last call to `store`; true when every game is in it.
    bool TakeInto(OpeningStore& store);
    // The threads finish the chunks they hold and take no more; a pass from the store's next
    // game goes on where this one stopped.
    void Cancel() { pass_->Cancel(); }
    // Cancelled, and TakeInto has handed on all it will.
    [[nodiscard]] bool Stopped() const { return pass_->Cancelled() && pass_->Finished(); }

private:
    std::int64_t firstGame_;
    std::unique_ptr<pgn::OrderedPass<OpeningStore>> pass_;
};

// The whole pass at once, for the check tool and the tests.
OpeningStore BuildStore(const pgn::PgnFile& file, const pgn::GameIndex& index, int keptPlies = kKeptPlies);

// The bytes of games first .. first + count - 1 (from 1) in one read: what the walk and the
// text fallback of a search read. Returns the offset of the first byte read.
std::int64_t ReadGames(const pgn::PgnFile& file, const pgn::GameIndex& index, std::int64_t first, std::int64_t count,
                       std::string& out);

}  // namespace tavrel::search
