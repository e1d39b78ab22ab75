#pragma once
// Games of other chess variants: their moves cannot be replayed with the rules of chess.

#include <string>
#include <string_view>

namespace tavrel {

// Empty when the Variant tag names standard chess (or is absent) and the FEN needs no Chess960
// castling; otherwise the text the window and the check tool show for the game.
std::string VariantProblem(std::string_view variant, std::string_view fen);

}  // namespace tavrel
