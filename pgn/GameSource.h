#pragma once
// The open game file: the file, the index of its games, and reading game k by number. The
// window, the list of games and the check tool all read through it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileStamp.h"
#include "GameIndex.h"
#include "GameReader.h"
#include "GameRecord.h"
#include "PgnFile.h"
#include "io/Packing.h"

namespace tavrel::pgn {

class GameSource {
public:
    explicit GameSource(std::size_t bufferSize = PgnFile::kDefaultBufferSize) : file_(bufferSize) {}

    // Opens and indexes `path`; on failure returns why and nothing is open, except for a file
    // that is not PGN (kNotPgnFile) and a zip archive that holds several (kSeveralPgnFiles): the
    // file open before stays open, as it was. `progress` is called during the scan as IndexGames
    // calls it. A file compressed with zstd or gzip, or a zip archive, is read as the PGN text it
    // holds; "ARCHIVE.zip:NAME.pgn" names one file in an archive.
    std::string Open(const std::string& path, const ProgressFn& progress = {}, const ScanOptions& options = {});
    // The two steps of Open apart, for a caller that reports a file it cannot open before it
    // shows the scan's progress: the file opened has no games until Scan has indexed it.
    std::string OpenUnindexed(const std::string& path);
    // Indexes the open file; a scan stopped by `progress` keeps the games found until then.
    const GameIndex& Scan(const ProgressFn& progress = {}, const ScanOptions& options = {});
    void Close();
    // Whether the file `path` names is on disk: for "ARCHIVE.zip:NAME.pgn", the archive.
    static bool Exists(const std::string& path);
    // The PGN files in the zip archive at `path`, to choose one from when there are several.
    static std::vector<std::string> PgnFilesIn(const std::string& path);
    [[nodiscard]] bool IsOpen() const { return file_.IsOpen() || packed_.has_value(); }
    [[nodiscard]] const std::string& Path() const { return path_; }
    // The text's length; for a compressed file not indexed yet, the compressed length.
    [[nodiscard]] std::int64_t Length() const { return packed_ ? packed_->to - packed_->from : file_.Length(); }
    // Why a compressed file's text ends before its end (damaged, cut short): the games before the
    // damage are indexed. Empty when the text is whole.
    [[nodiscard]] const std::string& Damage() const { return damage_; }
    [[nodiscard]] const GameIndex& Index() const { return index_; }
    [[nodiscard]] std::int64_t GameCount() const { return index_.GameCount(); }
    [[nodiscard]] bool HasGame(std::int64_t game) const { return game >= 1 && game <= GameCount(); }

    // The bytes of game k, from its first byte to the next game's (or the file's end), in a
    // buffer that the next read reuses; none when there is no such game. Any visitor can read
    // them through LexGame (Lexer.h).
    std::string_view GameBytes(std::int64_t game);
    // Game k (from 1); a record with Outcome::AtEnd when there is no such game.
    GameRecord ReadGame(std::int64_t game) { return pgn::ReadGame(GameBytes(game)); }
    // Game k's movetext with its comments, glyphs and variations.
    AnnotatedGame ReadAnnotatedGame(std::int64_t game) { return pgn::ReadAnnotatedGame(GameBytes(game)); }
    // Every tag pair of game k in file order; none when there is no such game.
    std::vector<TagPair> ReadTags(std::int64_t game) { return ReadTagPairs(GameBytes(game)); }
    // The bytes of game k as they stand in the file, from its first byte to the next game's (or
    // the file's end); nothing when there is no such game or it is longer than `limit` bytes.
    std::optional<std::string> ReadBytes(std::int64_t game, std::int64_t limit);

    // True when the file at Path() is no longer the one indexed: rewritten, grown, shrunk,
    // replaced or gone. Its games may then start elsewhere and the index should be made again.
    [[nodiscard]] bool ChangedOnDisk() const { return IsOpen() && Watched().Changed(); }
    // The file on disk as it was when opened, for a reader of its own to ask the same later.
    [[nodiscard]] WatchedFile Watched() const { return {onDisk_, indexed_}; }

    // The file itself, positioned at whatever was read last.
    PgnFile& File() { return file_; }

private:
    // Where game k ends: the next game's first byte, or one past the file's last.
    [[nodiscard]] std::int64_t EndOf(std::int64_t game) const;
    PgnFile file_;
    std::string path_;  // as opened: an archive's path may name a file in it
    std::string onDisk_;  // the file itself
    std::optional<io::PackedRegion> packed_;  // a compressed file until its pass has indexed it
    std::string damage_;
    GameIndex index_;
    std::string bytes_;  // the game read last
    FileStamp indexed_;
};

}  // namespace tavrel::pgn
