#include "CheckReport.h"

#include <charconv>

#include "Json.h"
#include "pgn/Text.h"

namespace tavrel {
namespace {

void AppendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

const TextMatch* AmbiguityAt(const GameCheck& check, int ply) {
    for (const auto& [at, match] : check.ambiguous) {
        if (at == ply) return &match;
    }
    return nullptr;
}

}  // namespace

void AppendTagJson(std::string& out, std::string_view bytes) {
    if (pgn::IsValidUtf8(bytes)) {
        AppendJsonString(out, bytes);
    } else {
        AppendJsonString(out, pgn::DisplayText(bytes));
    }
}

void AppendGameReport(std::string& out, std::int64_t number, const ShownTags& tags, const GameCheck& check,
                      bool fens) {
    out += "{\"game\":";
    AppendNumber(out, number);
    out += ",\"white\":";
    AppendTagJson(out, tags.white);
    out += ",\"black\":";
    AppendTagJson(out, tags.black);
    out += ",\"event\":";
    AppendTagJson(out, tags.event);
    out += ",\"round\":";
    AppendTagJson(out, tags.round);
    out += ",\"plies\":";
    AppendNumber(out, check.plies);
    out += ",\"unmatched\":[";
    for (std::size_t i = 0; i < check.unmatched.size(); ++i) {
        const auto& [ply, text] = check.unmatched[i];
        if (i) out += ',';
        out += "{\"ply\":";
        AppendNumber(out, ply);
        out += ",\"text\":";
        AppendTagJson(out, text);
        if (const TextMatch* match = AmbiguityAt(check, ply)) {
            out += ",\"ambiguous\":[";
            for (int k = 0; k < match->fits; ++k) {
                if (k) out += ',';
                AppendJsonString(out, AlgebraicName(match->from[static_cast<std::size_t>(k)]));
            }
            out += ']';
        }
        out += '}';
    }
    out += "],\"final\":";
    AppendJsonString(out, check.final);
    out += ",\"error\":";
    if (check.error.empty()) {
        out += "null";
    } else {
        AppendJsonString(out, check.error);
    }
    if (fens) {
        out += ",\"fens\":[";
        for (std::size_t i = 0; i < check.fens.size(); ++i) {
            if (i) out += ',';
            AppendJsonString(out, check.fens[i]);
        }
        out += ']';
    }
    out += "}\n";
}

}  // namespace tavrel
