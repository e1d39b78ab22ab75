#include "PgnFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tavrel::pgn {
std::string PgnFile::Open(const FileRef& file) {
    Close();
    const std::string& path = file.path;
    if (file.text) {
        text_ = file.text;
        path_ = path;
        length_ = text_->Length();
        return {};
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const std::string why = std::strerror(errno);
        ::close(fd);
        return why;
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return std::strerror(EISDIR);
    }
    fd_ = fd;
    path_ = path;
    length_ = static_cast<std::int64_t>(info.st_size);
    modified_ = info.st_mtim;
    buffer_.clear();
    bufferStart_ = 0;
    next_ = 0;
    return {};
}

void PgnFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    text_.reset();
    buffer_.clear();
    bufferStart_ = 0;
    next_ = 0;
    length_ = 0;
}

void PgnFile::Seek(std::int64_t position) {
    RefreshLength();
    SeekInRun(position);
}

void PgnFile::SeekInRun(std::int64_t position) {
    const std::int64_t offset = position < 1 ? 0 : position - 1;
    const auto end = bufferStart_ + static_cast<std::int64_t>(buffer_.size());
    if (offset >= bufferStart_ && offset <= end) {
        next_ = static_cast<std::size_t>(offset - bufferStart_);
        return;
    }
    buffer_.clear();
    bufferStart_ = offset;
    next_ = 0;
}

// A game is read long after the scan; if the file was truncated or rewritten in the meantime,
// the buffered bytes and the old length would describe a file that no longer exists.
void PgnFile::RefreshLength() {
    if (fd_ < 0) return;  // a compressed file's text is what the pass made of it
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return;
    const auto length = static_cast<std::int64_t>(info.st_size);
    if (length == length_ && info.st_mtim.tv_sec == modified_.tv_sec && info.st_mtim.tv_nsec == modified_.tv_nsec)
        return;
    length_ = length;
    modified_ = info.st_mtim;
    bufferStart_ += static_cast<std::int64_t>(next_);
    buffer_.clear();
    next_ = 0;
}

std::size_t PgnFile::Read(std::int64_t offset, char* out, std::size_t size) const {
    if (text_) return text_->ReadAt(offset, out, size);
    ssize_t got;
    do {
        got = ::pread(fd_, out, size, offset);
    } while (got < 0 && errno == EINTR);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool PgnFile::Refill() {
    if (!IsOpen()) return false;
    const std::int64_t offset = bufferStart_ + static_cast<std::int64_t>(next_);
    if (offset >= length_) return false;
    buffer_.resize(bufferSize_);
    const std::size_t got = Read(offset, buffer_.data(), bufferSize_);
    bufferStart_ = offset;
    next_ = 0;
    buffer_.resize(got);
    return got > 0;
}

void PgnFile::ReadLine(std::string& out, std::int64_t stop) {
    while (Position() < stop) {
        if (next_ >= buffer_.size() && !Refill()) return;
        const char* from = buffer_.data() + next_;
        const auto left = std::min<std::int64_t>(static_cast<std::int64_t>(buffer_.size() - next_), stop - Position());
        auto size = static_cast<std::size_t>(left);
        const void* newline = std::memchr(from, '\n', size);
        if (newline) size = static_cast<std::size_t>(static_cast<const char*>(newline) - from) + 1;
        if (const void* ret = std::memchr(from, '\r', size)) {
            size = static_cast<std::size_t>(static_cast<const char*>(ret) - from) + 1;
            newline = ret;
        }
        out.append(from, size);
        next_ += size;
        if (newline) return;
    }
}

std::size_t PgnFile::ReadBlock(char* out, std::size_t size) {
    std::size_t copied = 0;
    while (copied < size) {
        if (next_ >= buffer_.size()) {
            // Large reads go straight to the caller's memory instead of through the buffer.
            const std::int64_t offset = bufferStart_ + static_cast<std::int64_t>(next_);
            if (size - copied >= bufferSize_ && IsOpen() && offset < length_) {
                const std::size_t got = Read(offset, out + copied, size - copied);
                if (got == 0) break;
                copied += got;
                buffer_.clear();
                bufferStart_ = offset + static_cast<std::int64_t>(got);
                next_ = 0;
                continue;
            }
            if (!Refill()) break;
        }
        const std::size_t take = std::min(size - copied, buffer_.size() - next_);
        std::memcpy(out + copied, buffer_.data() + next_, take);
        next_ += take;
        copied += take;
    }
    return copied;
}

std::size_t PgnFile::ReadAt(std::int64_t position, char* out, std::size_t size) const {
    if (text_) return position >= 1 ? text_->ReadAt(position - 1, out, size) : 0;
    std::size_t copied = 0;
    while (fd_ >= 0 && copied < size && position >= 1) {
        const ssize_t got = ::pread(fd_, out + copied, size - copied, position - 1 + static_cast<std::int64_t>(copied));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        copied += static_cast<std::size_t>(got);
    }
    return copied;
}

}  // namespace tavrel::pgn
