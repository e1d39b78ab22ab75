#pragma once
#include <string>
#include <string_view>

namespace tavrel::pgn {

// Tag values as UTF-8: bytes that already are valid UTF-8 stay, anything else is read as Latin-1,
// the other encoding PGN files come in.
std::string DisplayText(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

}  // namespace tavrel::pgn
