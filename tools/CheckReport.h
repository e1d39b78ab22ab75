#pragma once
// The check tool's line for one replayed game: one JSON object.

#include <cstdint>
#include <string>
#include <string_view>

#include "GameCheck.h"

namespace tavrel {

// The four tags the line names, as the file's bytes (UTF-8 or Latin-1).
struct ShownTags {
    std::string_view white, black, event, round;
};

// Appends {"game":N,"white":..,"black":..,"event":..,"round":..,"plies":N,"unmatched":[..],
// "final":..,"error":..[,"fens":[..]]} and a line end. An unmatched text that several pieces
// could play also says which: {"ply":3,"text":"Ne7","ambiguous":["c6","g8"]}.
void AppendGameReport(std::string& out, std::int64_t number, const ShownTags& tags, const GameCheck& check,
                      bool fens);

// Appends a tag's bytes as a JSON string, Latin-1 read as such.
void AppendTagJson(std::string& out, std::string_view bytes);

}  // namespace tavrel
