#pragma once
// The index of a compressed file, made in the one pass that decompresses it: the text goes
// through the same scan of where games start as a plain file's, and the pass keeps what reading
// the text again at any game needs.

#include <memory>
#include <string>

#include "GameIndex.h"
#include "io/ByteSource.h"
#include "io/Packing.h"

namespace tavrel::pgn {

struct PackedIndex {
    GameIndex index;
    std::shared_ptr<const io::ByteSource> text;  // the decompressed text, read at any position
    std::string damage;  // why the text ends early (the games before it are indexed); empty if whole
};

// Progress is told as IndexGames tells it, by the share of the compressed bytes read.
PackedIndex IndexPacked(const io::PackedRegion& region, const ProgressFn& progress = {}, const ScanOptions& options = {});

}  // namespace tavrel::pgn
