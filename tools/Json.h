#pragma once
#include <string>
#include <string_view>

namespace tavrel {

// A JSON string literal of `text`, which must be UTF-8.
std::string JsonString(std::string_view text);

}  // namespace tavrel
