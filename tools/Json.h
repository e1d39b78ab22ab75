#pragma once
#include <string>
#include <string_view>

namespace tavrel {

// A JSON string literal of `text`, which must be UTF-8.
std::string JsonString(std::string_view text);
// The same literal appended to `out`.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace tavrel
