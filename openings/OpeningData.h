#pragma once
// The table tavrel-opening-table makes from data/openings: one entry per named position, sorted by
// its position key.

#include <cstddef>
#include <cstdint>

namespace tavrel::openings {

struct OpeningEntry {
    std::uint64_t key;          // PositionKey of the named position
    std::uint32_t nameOffset;   // where its name starts in kOpeningNames
    std::uint16_t nameLength;
    char eco[3];                // "C33"
};

extern const char kOpeningNames[];
extern const OpeningEntry kOpeningEntries[];
extern const std::size_t kOpeningEntryCount;

}  // namespace tavrel::openings
