#include "GameChecker.h"

#include "GameCheck.h"
#include "pgn/GameReader.h"

namespace tavrel::ui {

GameChecker::GameChecker(const pgn::FileRef& file, std::shared_ptr<const std::vector<std::int64_t>> offsets)
    : offsets_(std::move(offsets)) {
    file_.Open(file);
}

CheckBatch GameChecker::Check(std::int64_t first, std::int64_t count) {
    CheckBatch batch(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t game = first + i;
        if (!file_.IsOpen() || game < 1 || game > static_cast<std::int64_t>(offsets_->size())) continue;
        file_.Seek((*offsets_)[static_cast<std::size_t>(game - 1)]);
        // The next game's offset ends this one; after the last game the reader finds the end.
        const std::int64_t end = game < static_cast<std::int64_t>(offsets_->size())
                                     ? (*offsets_)[static_cast<std::size_t>(game)]
                                     : 0;
        const GameCheck check = CheckGame(state_, pgn::ReadGame(pgn::ReadGameBytes(file_, bytes_, end)), false);
        CheckedGame& out = batch[static_cast<std::size_t>(i)];
        out.unmatched = static_cast<std::int32_t>(check.unmatched.size());
        if (!check.unmatched.empty()) out.firstUnmatched = check.unmatched.front().second;
    }
    return batch;
}

}  // namespace tavrel::ui
