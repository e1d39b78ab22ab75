#pragma once
// The one input file: sequential reading through a buffer, 1-based 64-bit positions.

#include <ctime>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/ByteSource.h"

namespace tavrel::pgn {

// What another reader needs to read the same file on its own: the path, and for a compressed
// file its decompressed text (which only the pass that indexed it can make). A path alone is
// read as a plain file.
struct FileRef {
    FileRef() = default;
    FileRef(std::string path) : path(std::move(path)) {}  // NOLINT: a path names a plain file
    FileRef(const char* path) : path(path) {}               // NOLINT
    FileRef(std::string path, std::shared_ptr<const io::ByteSource> text) : path(std::move(path)), text(std::move(text)) {}
    std::string path;
    std::shared_ptr<const io::ByteSource> text;
};

class PgnFile {
public:
    static constexpr std::size_t kDefaultBufferSize = 64 * 1024;
    // Tests use tiny buffers so that every token is split across a refill somewhere.
    explicit PgnFile(std::size_t bufferSize = kDefaultBufferSize)
        : bufferSize_(bufferSize ? bufferSize : 1) {}
    ~PgnFile() { Close(); }
    PgnFile(const PgnFile&) = delete;
    PgnFile& operator=(const PgnFile&) = delete;

    // Opens `file` for reading; on failure returns why (and the file stays closed).
    std::string Open(const FileRef& file);
    void Close();
    [[nodiscard]] bool IsOpen() const { return fd_ >= 0 || text_ != nullptr; }
    // What another reader opens to read this file on its own.
    [[nodiscard]] FileRef Ref() const { return {path_, text_}; }
    [[nodiscard]] const std::string& Path() const { return path_; }

    // The length as it was when opened or last sought (a seek notices a file changed on disk).
    [[nodiscard]] std::int64_t Length() const { return length_; }
    // The next byte read is byte `position` (1 is the first). Past the end the file reads as ended.
    void Seek(std::int64_t position);
    // Seek without asking the system whether the file changed: for reading many games in a row,
    // where one Seek before the run has asked.
    void SeekInRun(std::int64_t position);
    // The 1-based position of the next byte to be read.
    [[nodiscard]] std::int64_t Position() const { return bufferStart_ + static_cast<std::int64_t>(next_) + 1; }
    // True once the last byte has been read (or the file shrank under us).
    [[nodiscard]] bool AtEnd() {
        return next_ >= buffer_.size() && (Position() > length_ || !Refill());
    }

    // One byte; a blank when the file is at its end (callers test AtEnd first).
    char ReadChar() {
        if (next_ >= buffer_.size() && !Refill()) return ' ';
        return buffer_[next_++];
    }

    // Appends to `out` the bytes from the current position to the first line end ("\n" or "\r")
    // included, stopping before position `stop` and at the file's end. Moves on past them.
    void ReadLine(std::string& out, std::int64_t stop);

    // Up to `size` bytes from the current position into `out`; returns how many. Moves on.
    std::size_t ReadBlock(char* out, std::size_t size);
    // Up to `size` bytes from `position` on into `out`, past the buffer and without moving: several
    // threads may read at once. Returns how many (fewer at the end of the file).
    std::size_t ReadAt(std::int64_t position, char* out, std::size_t size) const;

private:
    bool Refill();
    std::size_t Read(std::int64_t offset, char* out, std::size_t size) const;
    void RefreshLength();

    std::size_t bufferSize_;
    int fd_ = -1;
    std::shared_ptr<const io::ByteSource> text_;  // a compressed file's text, read in place of fd_
    std::string path_;
    std::int64_t length_ = 0;
    timespec modified_{};
    std::vector<char> buffer_;
    std::int64_t bufferStart_ = 0;  // 0-based offset of buffer_[0]
    std::size_t next_ = 0;
};

}  // namespace tavrel::pgn
