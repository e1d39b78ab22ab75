#include "GameSource.h"

#include <sys/stat.h>

#include <algorithm>

#include "FileKind.h"

namespace tavrel::pgn {

std::string GameSource::Open(const std::string& path, const ProgressFn& progress, const ScanOptions& options) {
    if (std::string why = OpenUnindexed(path); !why.empty()) return why;
    Scan(progress, options);
    return {};
}

std::string GameSource::OpenUnindexed(const std::string& path) {
    // Refused before the open file is closed, so that a picture picked by mistake costs the
    // user nothing.
    if (KindOfFile(path) != FileKind::Text) return std::string(kNotPgnFile);
    Close();
    if (std::string why = file_.Open(path); !why.empty()) return why;
    IdentityOf(path, indexed_);
    return {};
}

const GameIndex& GameSource::Scan(const ProgressFn& progress, const ScanOptions& options) {
    index_ = IndexGames(file_, progress, options);
    return index_;
}

void GameSource::Close() {
    file_.Close();
    index_ = {};
    indexed_ = {};
}

std::string_view GameSource::GameBytes(std::int64_t game) {
    if (!HasGame(game)) return {};
    // The index knows where the next game starts: the reader need not look for it.
    file_.Seek(index_.OffsetOf(game));
    return ReadGameBytes(file_, bytes_, EndOf(game));
}

std::optional<std::string> GameSource::ReadBytes(std::int64_t game, std::int64_t limit) {
    if (!HasGame(game)) return std::nullopt;
    const std::int64_t from = index_.OffsetOf(game);
    const std::int64_t to = EndOf(game);
    if (to - from > limit) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, to - from)), '\0');
    file_.Seek(from);
    bytes.resize(file_.ReadBlock(bytes.data(), bytes.size()));
    return bytes;
}

std::int64_t GameSource::EndOf(std::int64_t game) const {
    return game < GameCount() ? index_.OffsetOf(game + 1) : file_.Length() + 1;
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
