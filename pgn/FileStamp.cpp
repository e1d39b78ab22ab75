#include "FileStamp.h"

#include <sys/stat.h>

namespace tavrel::pgn {

FileStamp FileStamp::Of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return {true, info.st_dev, info.st_ino, static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

}  // namespace tavrel::pgn
