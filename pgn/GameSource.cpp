#include "GameSource.h"

#include <sys/stat.h>

namespace tavrel::pgn {

std::string GameSource::Open(const std::string& path, const ProgressFn& progress) {
    Close();
    if (std::string why = file_.Open(path); !why.empty()) return why;
    IdentityOf(path, indexed_);
    index_ = IndexGames(file_, progress);
    return {};
}

void GameSource::Close() {
    file_.Close();
    index_ = {};
    indexed_ = {};
}

GameRecord GameSource::ReadGame(std::int64_t game, MovetextReceiver* receiver) {
    if (!HasGame(game)) return {};
    file_.Seek(index_.OffsetOf(game));
    return pgn::ReadGame(file_, receiver);
}

std::vector<TagPair> GameSource::ReadTags(std::int64_t game) {
    if (!HasGame(game)) return {};
    file_.Seek(index_.OffsetOf(game));
    return ReadTagPairs(file_);
}

bool GameSource::IdentityOf(const std::string& path, Identity& out) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    out = {info.st_dev, info.st_ino, static_cast<std::int64_t>(info.st_size),
           static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    return true;
}

bool GameSource::ChangedOnDisk() const {
    if (!IsOpen()) return false;
    Identity now;
    return !IdentityOf(Path(), now) || !(now == indexed_);
}

}  // namespace tavrel::pgn
