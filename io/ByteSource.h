#pragma once
// The text of a game file read by position, whatever the file keeps it in: the file itself, or
// a compressed stream that is decompressed on demand.

#include <cstddef>
#include <cstdint>

namespace tavrel::io {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // How many bytes of text there are.
    [[nodiscard]] virtual std::int64_t Length() const = 0;
    // Up to `size` bytes of text from `offset` (0-based) into `out`; returns how many (fewer at the
    // end of the text). Several threads may read at once.
    virtual std::size_t ReadAt(std::int64_t offset, char* out, std::size_t size) const = 0;
};

}  // namespace tavrel::io
