#include "Json.h"

#include <array>

namespace tavrel {

namespace {

// The bytes a JSON string must escape: control bytes, the quote and the backslash.
constexpr auto kEscaped = [] {
    std::array<bool, 256> escaped{};
    for (int c = 0; c < 0x20; ++c) escaped[static_cast<std::size_t>(c)] = true;
    escaped['"'] = escaped['\\'] = true;
    return escaped;
}();

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t plain = 0;  // the run of bytes that need no escape, appended at once
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!kEscaped[c]) continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
        }
    }
    out.append(text.substr(plain));
    out += '"';
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

}  // namespace tavrel
