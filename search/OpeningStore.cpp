#include "OpeningStore.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace tavrel::search {

void OpeningStore::Append(const WalkedGame& game) {
    codes_.insert(codes_.end(), game.codes.begin(), game.codes.end());
    firstCode_.push_back(static_cast<std::uint32_t>(codes_.size()));
    std::uint8_t flags = static_cast<std::uint8_t>(game.outcome);
    if (game.complete) flags |= kComplete;
    if (game.excluded) flags |= kExcluded;
    if (!game.fen.empty() && !game.excluded) {
        flags |= kSetUp;
        fens_[GameCount() + 1] = game.fen;
    }
    flags_.push_back(flags);
    year_.push_back(game.year);
    whiteElo_.push_back(game.whiteElo);
    blackElo_.push_back(game.blackElo);
}

void OpeningStore::Reserve(std::int64_t games) {
    const auto n = static_cast<std::size_t>(std::max<std::int64_t>(games, 0));
    firstCode_.reserve(n + 1);
    flags_.reserve(n);
    year_.reserve(n);
    whiteElo_.reserve(n);
    blackElo_.reserve(n);
}

void OpeningStore::AppendAll(const OpeningStore& more) {
    const std::int64_t before = GameCount();
    const std::size_t needed = codes_.size() + more.codes_.size();
    if (needed > codes_.capacity()) codes_.reserve(std::max(needed, codes_.capacity() + codes_.capacity() / 4));
    const std::uint32_t base = static_cast<std::uint32_t>(codes_.size());
    codes_.insert(codes_.end(), more.codes_.begin(), more.codes_.end());
    for (std::size_t i = 1; i < more.firstCode_.size(); ++i) firstCode_.push_back(base + more.firstCode_[i]);
    flags_.insert(flags_.end(), more.flags_.begin(), more.flags_.end());
    year_.insert(year_.end(), more.year_.begin(), more.year_.end());
    whiteElo_.insert(whiteElo_.end(), more.whiteElo_.begin(), more.whiteElo_.end());
    blackElo_.insert(blackElo_.end(), more.blackElo_.begin(), more.blackElo_.end());
    for (const auto& [game, fen] : more.fens_) fens_[before + game] = fen;
}

std::size_t OpeningStore::Bytes() const {
    std::size_t bytes = firstCode_.capacity() * sizeof(std::uint32_t) + codes_.capacity() * sizeof(MoveCode) +
                        flags_.capacity() + (year_.capacity() + whiteElo_.capacity() + blackElo_.capacity()) * 2;
    for (const auto& [game, fen] : fens_) bytes += sizeof(game) + fen.capacity() + 48;
    return bytes;
}

std::int64_t ReadGames(const pgn::PgnFile& file, const pgn::GameIndex& index, std::int64_t first, std::int64_t count,
                       std::string& out) {
    const std::int64_t from = index.OffsetOf(first);
    const std::int64_t last = first + count - 1;
    const std::int64_t to = last < index.GameCount() ? index.OffsetOf(last + 1) : file.Length() + 1;
    out.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, to - from)));
    out.resize(file.ReadAt(from, out.data(), out.size()));
    return from;
}

namespace {

// A chunk's games, walked. A file that shrank under the pass gives the games it still holds
// fewer bytes; they are walked as they stand, and the caller learns of the change from the file.
OpeningStore WalkChunk(const pgn::PgnFile& file, const pgn::GameIndex& index, int keptPlies, std::int64_t first,
                       std::int64_t count, std::string& bytes, GameWalker& walker) {
    OpeningStore chunk(keptPlies);
    WalkedGame walked;
    const std::int64_t from = ReadGames(file, index, first, count, bytes);
    const std::string_view all(bytes);
    for (std::int64_t game = first; game < first + count; ++game) {
        const std::int64_t begin = index.OffsetOf(game) - from;
        const std::int64_t end = game < index.GameCount() ? index.OffsetOf(game + 1) - from
                                                          : static_cast<std::int64_t>(all.size());
        const auto at = static_cast<std::size_t>(std::clamp<std::int64_t>(begin, 0, static_cast<std::int64_t>(all.size())));
        const auto size = static_cast<std::size_t>(std::clamp<std::int64_t>(end - begin, 0,
                                                   static_cast<std::int64_t>(all.size() - at)));
        walker.Walk(all.substr(at, size), keptPlies, walked);
        chunk.Append(walked);
    }
    return chunk;
}

constexpr std::int64_t kChunkGames = 4096;

}  // namespace

StorePass::StorePass(const pgn::PgnFile& file, const pgn::GameIndex& index, int keptPlies, std::int64_t firstGame)
    : firstGame_(std::max<std::int64_t>(1, firstGame)),
      pass_(std::make_unique<pgn::OrderedPass<OpeningStore>>(
          std::max<std::int64_t>(0, index.GameCount() - firstGame_ + 1), kChunkGames, pgn::PassThreads(),
          [&file, &index, keptPlies, base = firstGame_ - 1] {
              // Each thread keeps its buffer and the openings its walks remember.
              return [&file, &index, keptPlies, base, bytes = std::make_shared<std::string>(),
                      walker = std::make_shared<GameWalker>()](std::int64_t first, std::int64_t count) {
                  return WalkChunk(file, index, keptPlies, base + first, count, *bytes, *walker);
              };
          })) {}

bool StorePass::TakeInto(OpeningStore& store) {
    if (store.GameCount() == 0) store.Reserve(firstGame_ - 1 + pass_->Games());
    for (const OpeningStore& chunk : pass_->Take()) store.AppendAll(chunk);
    return pass_->Finished() && store.GameCount() >= firstGame_ - 1 + pass_->Games();
}

OpeningStore BuildStore(const pgn::PgnFile& file, const pgn::GameIndex& index, int keptPlies) {
    OpeningStore store(keptPlies);
    StorePass pass(file, index, keptPlies);
    while (!pass.TakeInto(store)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return store;
}

}  // namespace tavrel::search
