#pragma once
// The entries of a zip archive, read from its central directory (zip64 included), and where an
// entry's data lies.

#include <cstdint>
#include <string>
#include <vector>

#include "Packing.h"

namespace tavrel::io {

struct ZipEntry {
    std::string name;
    int method = 0;  // 0 stored, 8 deflate; others are not read
    bool encrypted = false;
    std::uint32_t crc = 0;
    std::int64_t packedSize = 0;
    std::int64_t textSize = 0;
    std::int64_t localHeader = 0;
};

struct ZipListing {
    std::vector<ZipEntry> entries;
    std::string why;  // why the directory cannot be read; empty when it can
};

// The directory of the archive `file`, `size` bytes long.
ZipListing ReadZipDirectory(const FileHandle& file, std::int64_t size);
// Where the entry's data begins, after its local header; -1 when that header is not there.
std::int64_t ZipDataStart(const FileHandle& file, const ZipEntry& entry);

}  // namespace tavrel::io
