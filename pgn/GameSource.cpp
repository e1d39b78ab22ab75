#include "GameSource.h"

#include <sys/stat.h>

#include <algorithm>

#include "FileKind.h"
#include "PackedIndex.h"
#include "io/Decoder.h"
#include "io/PackedFile.h"

namespace tavrel::pgn {

std::string GameSource::Open(const std::string& path, const ProgressFn& progress, const ScanOptions& options) {
    if (std::string why = OpenUnindexed(path); !why.empty()) return why;
    Scan(progress, options);
    return {};
}

namespace {

std::optional<io::Container> ContainerOf(FileKind kind) {
    switch (kind) {
        case FileKind::Zstd:
            return io::Container::Zstd;
        case FileKind::Gzip:
            return io::Container::Gzip;
        case FileKind::Zip:
            return io::Container::Zip;
        default:
            return std::nullopt;
    }
}

// The file on disk and the archive entry that "ARCHIVE.zip:NAME.pgn" names; a path that names a
// file as it stands is that file.
std::pair<std::string, std::string> SplitEntry(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return {path, {}};
    for (std::size_t colon = path.find(':'); colon != std::string::npos; colon = path.find(':', colon + 1)) {
        const std::string file = path.substr(0, colon);
        if (::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return {file, path.substr(colon + 1)};
    }
    return {path, {}};
}

// Whether the compressed text begins as text does: a picture or a program compressed is not
// a game file either.
bool HoldsText(const io::PackedRegion& region) {
    io::Decoder decoder(region, io::RestartPoint{.packed = region.from}, nullptr, 0);
    std::string head(kKindHeadBytes, '\0');
    std::size_t got = 0;
    while (got < head.size()) {
        const std::size_t n = decoder.Read(head.data() + got, head.size() - got);
        if (n == 0) break;
        got += n;
    }
    head.resize(got);
    return KindOfHead(head) == FileKind::Text;
}

}  // namespace

bool GameSource::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(SplitEntry(path).first.c_str(), &info) == 0;
}

std::string GameSource::OpenUnindexed(const std::string& path) {
    // Refused before the open file is closed, so that a picture picked by mistake costs the
    // user nothing.
    const auto [onDisk, entry] = SplitEntry(path);
    const FileKind kind = KindOfFile(onDisk);
    const std::optional<io::Container> container = ContainerOf(kind);
    if (kind != FileKind::Text && !container) return std::string(kNotPgnFile);
    std::optional<io::PackedRegion> packed;
    if (container) {
        io::PackedOpen open = io::OpenPacked(onDisk, *container, entry);
        if (!open.choices.empty()) return std::string(kSeveralPgnFiles);
        if (open.region && !HoldsText(*open.region)) return std::string(kNotPgnFile);
        if (!open.region) {
            Close();
            return open.why;
        }
        packed = std::move(open.region);
    }
    Close();
    if (packed) {
        packed_ = std::move(packed);
    } else if (std::string why = file_.Open(onDisk); !why.empty()) {
        return why;
    }
    path_ = path;
    onDisk_ = onDisk;
    indexed_ = FileStamp::Of(onDisk_);
    return {};
}

std::vector<std::string> GameSource::PgnFilesIn(const std::string& path) {
    return io::OpenPacked(path, io::Container::Zip).choices;
}

const GameIndex& GameSource::Scan(const ProgressFn& progress, const ScanOptions& options) {
    if (!packed_) {
        index_ = IndexGames(file_, progress, options);
        return index_;
    }
    PackedIndex packed = IndexPacked(*packed_, progress, options);
    packed_.reset();
    index_ = std::move(packed.index);
    damage_ = std::move(packed.damage);
    file_.Open(FileRef(path_, std::move(packed.text)));
    file_.Seek(index_.OffsetOf(1));
    return index_;
}

void GameSource::Close() {
    file_.Close();
    packed_.reset();
    path_.clear();
    onDisk_.clear();
    damage_.clear();
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

}  // namespace tavrel::pgn
