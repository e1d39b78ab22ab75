#include "PackedFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ZipDirectory.h"

namespace tavrel::io {
namespace {

PackedOpen FromZip(const std::shared_ptr<const FileHandle>& file, std::int64_t size, const std::string& wanted) {
    PackedOpen open;
    const ZipListing listing = ReadZipDirectory(*file, size);
    if (!listing.why.empty()) {
        open.why = listing.why;
        return open;
    }
    const ZipEntry* entry = nullptr;
    if (!wanted.empty()) {
        const auto it = std::find_if(listing.entries.begin(), listing.entries.end(), [&](const ZipEntry& e) { return e.name == wanted; });
        if (it == listing.entries.end()) {
            open.why = "the zip archive holds no file named " + wanted;
            return open;
        }
        entry = &*it;
    } else {
        for (const ZipEntry& e : listing.entries) {
            if (!IsPgnName(e.name)) continue;
            open.choices.push_back(e.name);
            entry = &e;
        }
        if (open.choices.empty()) {
            open.why = "the zip archive holds no PGN file";
            return open;
        }
        if (open.choices.size() > 1) return open;
        open.choices.clear();
    }
    if (entry->encrypted) {
        open.why = entry->name + " is encrypted in the zip archive; Tavrel does not read encrypted files";
        return open;
    }
    if (entry->method != 0 && entry->method != 8) {
        open.why = entry->name + " is compressed in a way Tavrel does not read (zip method " + std::to_string(entry->method) + ")";
        return open;
    }
    const std::int64_t data = ZipDataStart(*file, *entry);
    if (data < 0 || data > size || entry->packedSize > size - data) {
        open.why = "the zip archive is damaged or cut short";
        return open;
    }
    open.region = PackedRegion{file, entry->method == 8 ? Packing::Deflate : Packing::Stored, data, data + entry->packedSize, entry->crc};
    return open;
}

}  // namespace

bool IsPgnName(const std::string& name) {
    if (name.size() < 4 || name.back() == '/') return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".pgn";
}

PackedOpen OpenPacked(const std::string& path, Container container, const std::string& entry) {
    PackedOpen open;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        open.why = std::strerror(errno);
        return open;
    }
    auto file = std::make_shared<const FileHandle>(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        open.why = std::strerror(errno);
        return open;
    }
    const auto size = static_cast<std::int64_t>(info.st_size);
    if (container == Container::Zip) return FromZip(file, size, entry);
    open.region = PackedRegion{file, container == Container::Zstd ? Packing::Zstd : Packing::Gzip, 0, size, std::nullopt};
    return open;
}

}  // namespace tavrel::io
