#pragma once
// Where a file keeps its compressed text, and the places from which it can be decompressed
// again without starting from its beginning.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tavrel::io {

enum class Packing {
    Zstd,     // zstd frames one after another (one, or many as parallel compressors write them)
    Gzip,     // gzip members one after another
    Deflate,  // one raw deflate stream (a zip entry)
    Stored,   // the text as it is (a zip entry kept uncompressed)
};

// An open file, closed when the last reader lets go of it.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    [[nodiscard]] int Fd() const { return fd_; }
    // Up to `size` bytes from `offset` (0-based); returns how many.
    std::size_t ReadAt(std::int64_t offset, void* out, std::size_t size) const;

private:
    int fd_;
};

// The compressed text of a file: bytes [from, to) of it, packed as `packing`.
struct PackedRegion {
    std::shared_ptr<const FileHandle> file;
    Packing packing = Packing::Zstd;
    std::int64_t from = 0;
    std::int64_t to = 0;
    // A zip entry's checksum of its text, checked when the text is read from its start.
    std::optional<std::uint32_t> crc;
};

// A place where decompression can start again: the text from `text` on comes from the packed
// bytes from `packed` on. Mid-stream in deflate, the last `bits` bits of the byte before
// `packed` come first, and the 32 KiB of text before `text` are the window the stream refers to.
struct RestartPoint {
    std::int64_t text = 0;
    std::int64_t packed = 0;
    int bits = 0;
    bool midStream = false;  // inside a deflate stream, with a window; else a frame or member starts
    std::int32_t window = -1;  // index of its window among the restart windows
};

inline constexpr std::size_t kWindowBytes = 32 * 1024;

}  // namespace tavrel::io
