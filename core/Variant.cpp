#include "Variant.h"

#include "Fen.h"

namespace tavrel {
namespace {

std::string Lower(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

// Names that tools write for ordinary chess, with or without a set-up position.
bool IsStandardChess(std::string_view variant) {
    const std::string name = Lower(variant);
    return name.empty() || name == "standard" || name == "chess" || name == "normal" ||
           name == "from position" || name == "fromposition" || name == "classical" || name == "orthodox";
}

}  // namespace

std::string VariantProblem(std::string_view variant, std::string_view fen) {
    if (!IsStandardChess(variant)) {
        return "Variant " + std::string(variant.substr(0, 40)) + " cannot be replayed";
    }
    if (NeedsChess960Castling(fen)) return "Chess960 castling cannot be replayed";
    return {};
}

}  // namespace tavrel
