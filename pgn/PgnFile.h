#pragma once
// The one input file: sequential reading through a buffer, 1-based 64-bit positions.

#include <ctime>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrel::pgn {

class PgnFile {
public:
    static constexpr std::size_t kDefaultBufferSize = 64 * 1024;
    // Tests use tiny buffers so that every token is split across a refill somewhere.
    explicit PgnFile(std::size_t bufferSize = kDefaultBufferSize)
        : bufferSize_(bufferSize ? bufferSize : 1) {}
    ~PgnFile() { Close(); }
    PgnFile(const PgnFile&) = delete;
    PgnFile& operator=(const PgnFile&) = delete;

    // Opens `path` for reading; on failure returns why (and the file stays closed).
    std::string Open(const std::string& path);
    void Close();
    [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
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
    void RefreshLength();

    std::size_t bufferSize_;
    int fd_ = -1;
    std::string path_;
    std::int64_t length_ = 0;
    timespec modified_{};
    std::vector<char> buffer_;
    std::int64_t bufferStart_ = 0;  // 0-based offset of buffer_[0]
    std::size_t next_ = 0;
};

}  // namespace tavrel::pgn
