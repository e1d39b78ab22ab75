#include "FileKind.h"

#include <fcntl.h>
#include <unistd.h>

namespace tavrel::pgn {
namespace {

struct Signature {
    std::string_view bytes;
    FileKind kind;
};

constexpr Signature kSignatures[] = {
    {std::string_view("\x89PNG\r\n\x1a\n", 8), FileKind::Png},
    {"\xff\xd8\xff", FileKind::Jpeg},
    {"GIF87a", FileKind::Gif},
    {"GIF89a", FileKind::Gif},
    {"%PDF-", FileKind::Pdf},
    {"\x7f" "ELF", FileKind::Elf},
    {std::string_view("PK\x03\x04", 4), FileKind::Zip},
    {std::string_view("PK\x05\x06", 4), FileKind::Zip},  // an empty archive
    {"\x1f\x8b", FileKind::Gzip},
    {"\x28\xb5\x2f\xfd", FileKind::Zstd},
    {"\x50\x2a\x4d\x18", FileKind::Zstd},  // a skippable frame first, as parallel compressors write
    {"\xff\xfe", FileKind::Utf16},
    {"\xfe\xff", FileKind::Utf16},
};

// Control bytes no text file holds. Tab, line and page breaks are text, and so is the DOS
// end-of-file mark (Ctrl+Z) that old files carry at their end.
bool IsBinaryByte(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1a) || c == 0x7f;
}

}  // namespace

FileKind KindOfHead(std::string_view head) {
    for (const Signature& signature : kSignatures) {
        if (head.starts_with(signature.bytes)) return signature.kind;
    }
    // Random bytes are about one in nine control bytes; a text file with a few damaged bytes
    // stays far below one in thirty-two.
    std::size_t binary = 0;
    for (const char c : head) binary += IsBinaryByte(static_cast<unsigned char>(c));
    return binary > 8 + head.size() / 32 ? FileKind::Binary : FileKind::Text;
}

FileKind KindOfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return FileKind::Text;
    char head[kKindHeadBytes];
    std::size_t got = 0;
    for (ssize_t n = 0; got < sizeof head && (n = ::read(fd, head + got, sizeof head - got)) > 0;) got += static_cast<std::size_t>(n);
    ::close(fd);
    return KindOfHead(std::string_view(head, got));
}

}  // namespace tavrel::pgn
