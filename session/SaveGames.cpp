#include "SaveGames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

namespace tavrel::session {
namespace {

namespace fs = std::filesystem;

// Closes and removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    // A name of its own beside the target, made with the user's usual permissions (mkstemp's
    // would keep it from everyone else once renamed).
    explicit TemporaryFile(const std::string& target) {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            path_ = target + ".saving-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
            fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        made_ = fd_ >= 0;
    }
    ~TemporaryFile() {
        if (fd_ >= 0) close(fd_);
        if (made_ && !renamed_) std::remove(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool RenameTo(const std::string& target) {
        if (fsync(fd_) != 0 || close(fd_) != 0) {
            fd_ = -1;
            return false;
        }
        fd_ = -1;
        renamed_ = std::rename(path_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    std::string path_;
    int fd_ = -1;
    bool made_ = false;
    bool renamed_ = false;
};

std::string Why(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

std::optional<std::string> SaveGames(pgn::GameSource& source, const std::vector<std::int64_t>& games,
                                     const std::string& target) {
    std::error_code same;
    if (target == source.Path() || fs::equivalent(target, source.Path(), same)) {
        return "the open file cannot be written over; choose another name";
    }
    if (source.ChangedOnDisk()) return "the file has changed on disk; open it again to save its games";
    TemporaryFile out(target);
    if (!out.IsOpen()) return Why("cannot write in the folder of " + target);
    for (const std::int64_t game : games) {
        if (!source.HasGame(game)) return "game " + std::to_string(game) + " is no longer in the file";
        const std::string_view bytes = source.GameBytes(game);
        if (!out.Write(bytes) || (!bytes.empty() && bytes.back() != '\n' && !out.Write("\n\n"))) {
            return Why("cannot write " + target);
        }
    }
    if (!out.RenameTo(target)) return Why("cannot write " + target);
    return std::nullopt;
}

}  // namespace tavrel::session
