#pragma once
// What a file holds, told by its first bytes rather than by its name: PGN text, or something a
// user may pick by mistake (a picture, a program, an archive, random bytes). The answer names
// the kind so that compressed files (zstd, gzip, zip) go to their decompressor; every other kind
// but Text is refused as "not a PGN file".

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel::pgn {

enum class FileKind {
    Text,  // PGN or other text, Latin-1 or UTF-8, with or without a BOM; also an empty file
    Png,
    Jpeg,
    Gif,
    Pdf,
    Elf,
    Zip,
    Gzip,
    Zstd,
    Utf16,   // text in UTF-16 (with its BOM): rare for PGN, not read
    Binary,  // control bytes throughout: no text
};

// How many bytes from the start the kind is told by.
inline constexpr std::size_t kKindHeadBytes = 4096;

// The kind of a file whose first bytes are `head` (up to kKindHeadBytes of them).
FileKind KindOfHead(std::string_view head);
// The kind of the file at `path`; Text when it cannot be read, so that opening it reports why.
FileKind KindOfFile(const std::string& path);

// The reason given for refusing a file of a kind that holds no PGN text.
inline constexpr std::string_view kNotPgnFile = "not a PGN file";
// The reason given for a zip archive of several PGN files opened without naming one.
inline constexpr std::string_view kSeveralPgnFiles = "the zip archive holds several PGN files";

}  // namespace tavrel::pgn
