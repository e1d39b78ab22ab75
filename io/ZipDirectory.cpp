#include "ZipDirectory.h"

#include <algorithm>

namespace tavrel::io {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kEntrySignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::int64_t kEndBytes = 22;
constexpr std::int64_t kEntryBytes = 46;
constexpr std::int64_t kLongestComment = 0xffff;

std::uint64_t Little(const unsigned char* at, int bytes) {
    std::uint64_t value = 0;
    for (int k = bytes - 1; k >= 0; --k) value = value << 8 | at[k];
    return value;
}

constexpr const char* kNoDirectory = "the zip archive's directory is missing or damaged";

}  // namespace

ZipListing ReadZipDirectory(const FileHandle& file, std::int64_t size) {
    ZipListing listing;
    // The directory's end record stands last, before a comment of up to 64 KiB.
    const std::int64_t tailFrom = std::max<std::int64_t>(0, size - kEndBytes - kLongestComment);
    std::vector<unsigned char> tail(static_cast<std::size_t>(size - tailFrom));
    if (file.ReadAt(tailFrom, tail.data(), tail.size()) != tail.size() || tail.size() < kEndBytes) {
        listing.why = kNoDirectory;
        return listing;
    }
    std::int64_t end = -1;
    for (std::int64_t k = static_cast<std::int64_t>(tail.size()) - kEndBytes; k >= 0 && end < 0; --k) {
        if (Little(&tail[static_cast<std::size_t>(k)], 4) == kEndSignature) end = k;
    }
    if (end < 0) {
        listing.why = kNoDirectory;
        return listing;
    }
    const unsigned char* record = &tail[static_cast<std::size_t>(end)];
    std::uint64_t count = Little(record + 10, 2);
    std::uint64_t directorySize = Little(record + 12, 4);
    std::uint64_t directoryAt = Little(record + 16, 4);
    if (count == 0xffff || directorySize == 0xffffffff || directoryAt == 0xffffffff) {
        unsigned char locator[20];
        unsigned char zip64[56];
        const std::int64_t locatorAt = tailFrom + end - 20;
        if (locatorAt < 0 || file.ReadAt(locatorAt, locator, 20) != 20 || Little(locator, 4) != kZip64LocatorSignature ||
            file.ReadAt(static_cast<std::int64_t>(Little(locator + 8, 8)), zip64, 56) != 56 ||
            Little(zip64, 4) != kZip64EndSignature) {
            listing.why = kNoDirectory;
            return listing;
        }
        count = Little(zip64 + 32, 8);
        directorySize = Little(zip64 + 40, 8);
        directoryAt = Little(zip64 + 48, 8);
    }
    if (directoryAt > static_cast<std::uint64_t>(size) || directorySize > static_cast<std::uint64_t>(size) - directoryAt ||
        count > directorySize / kEntryBytes) {
        listing.why = kNoDirectory;
        return listing;
    }
    std::vector<unsigned char> directory(static_cast<std::size_t>(directorySize));
    if (file.ReadAt(static_cast<std::int64_t>(directoryAt), directory.data(), directory.size()) != directory.size()) {
        listing.why = kNoDirectory;
        return listing;
    }
    std::size_t at = 0;
    for (std::uint64_t k = 0; k < count; ++k) {
        if (at + kEntryBytes > directory.size() || Little(&directory[at], 4) != kEntrySignature) {
            listing.why = kNoDirectory;
            return listing;
        }
        const unsigned char* e = &directory[at];
        ZipEntry entry;
        entry.encrypted = (Little(e + 8, 2) & 1) != 0;
        entry.method = static_cast<int>(Little(e + 10, 2));
        entry.crc = static_cast<std::uint32_t>(Little(e + 16, 4));
        std::uint64_t packed = Little(e + 20, 4), text = Little(e + 24, 4), local = Little(e + 42, 4);
        const std::size_t nameSize = Little(e + 28, 2), extraSize = Little(e + 30, 2), commentSize = Little(e + 32, 2);
        if (at + kEntryBytes + nameSize + extraSize + commentSize > directory.size()) {
            listing.why = kNoDirectory;
            return listing;
        }
        entry.name.assign(reinterpret_cast<const char*>(e + kEntryBytes), nameSize);
        // Sizes too large for the old fields are in the zip64 extra field, in this order.
        for (std::size_t x = 0; x + 4 <= extraSize;) {
            const unsigned char* field = e + kEntryBytes + nameSize + x;
            const std::size_t fieldSize = Little(field + 2, 2);
            if (x + 4 + fieldSize > extraSize) break;
            if (Little(field, 2) == 0x0001) {
                std::size_t next = 4;
                for (std::uint64_t* value : {&text, &packed, &local}) {
                    if (*value != 0xffffffff || next + 8 > 4 + fieldSize) continue;
                    *value = Little(field + next, 8);
                    next += 8;
                }
            }
            x += 4 + fieldSize;
        }
        entry.packedSize = static_cast<std::int64_t>(std::min<std::uint64_t>(packed, static_cast<std::uint64_t>(size)));
        entry.textSize = static_cast<std::int64_t>(std::min<std::uint64_t>(text, INT64_MAX));
        entry.localHeader = static_cast<std::int64_t>(std::min<std::uint64_t>(local, static_cast<std::uint64_t>(size)));
        listing.entries.push_back(std::move(entry));
        at += kEntryBytes + nameSize + extraSize + commentSize;
    }
    return listing;
}

std::int64_t ZipDataStart(const FileHandle& file, const ZipEntry& entry) {
    unsigned char header[30];
    if (file.ReadAt(entry.localHeader, header, sizeof header) != sizeof header || Little(header, 4) != kLocalSignature) return -1;
    return entry.localHeader + 30 + static_cast<std::int64_t>(Little(header + 26, 2) + Little(header + 28, 2));
}

}  // namespace tavrel::io
