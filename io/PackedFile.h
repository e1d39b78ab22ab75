#pragma once
// Opening a compressed game file: finding its compressed text (for a zip archive, the PGN file
// in it) before the pass that decompresses it.

#include <optional>
#include <string>
#include <vector>

#include "Packing.h"

namespace tavrel::io {

enum class Container { Zstd, Gzip, Zip };

struct PackedOpen {
    std::optional<PackedRegion> region;  // the compressed text, when found
    std::string why;                     // why it cannot be read
    // A zip archive holding several PGN files, none named: their names, to choose from.
    std::vector<std::string> choices;
};

// Opens the file at `path`, a `container` by its first bytes. From a zip archive the entry named
// `entry` is read, or its one PGN file when `entry` is empty.
PackedOpen OpenPacked(const std::string& path, Container container, const std::string& entry = {});

// Whether a zip entry of this name is a PGN file, by its name: the archive tells no more.
bool IsPgnName(const std::string& name);

}  // namespace tavrel::io
