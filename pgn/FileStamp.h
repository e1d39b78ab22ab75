#pragma once
// Whether the file at a path is still the one read: the one rule by which the program learns that
// a file it indexed was rewritten, grown, shrunk, replaced or removed under it, whoever asks.

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace tavrel::pgn {

struct FileStamp {
    bool present = false;  // the path named a file that could be asked about
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t length = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;

    // The file at `path` as it stands now.
    static FileStamp Of(const std::string& path);
};

// A file as it was when indexed, to be asked later whether it changed.
struct WatchedFile {
    std::string path;
    FileStamp stamp;
    // True when the file at `path` is no longer the one stamped (a file never stamped never changes).
    [[nodiscard]] bool Changed() const { return !path.empty() && FileStamp::Of(path) != stamp; }
};

}  // namespace tavrel::pgn
