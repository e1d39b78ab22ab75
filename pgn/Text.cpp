#include "Text.h"

namespace tavrel::pgn {

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        unsigned min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3, min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(follow) >= bytes.size()) return false;
        unsigned code = c & (0x3F >> follow);
        for (int k = 1; k <= follow; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(follow) + 1;
    }
    return true;
}

std::string DisplayText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace tavrel::pgn
