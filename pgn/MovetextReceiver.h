#pragma once
// What a game's movetext says beside the main line's move texts: comments, glyphs, variations.
// The reader hands it to a receiver only when one is given; the plain read pays nothing for it.

#include <string_view>

namespace tavrel::pgn {

class MovetextReceiver {
public:
    virtual ~MovetextReceiver() = default;
    // A brace comment or a rest-of-line comment, its text without the delimiters.
    virtual void Comment(std::string_view text) = 0;
    // A numeric glyph ($n), or a suffix written on the move: "!" 1, "?" 2, "!!" 3, "??" 4,
    // "!?" 5, "?!" 6. It follows the move it belongs to.
    virtual void Glyph(int number) = 0;
    // A move text as written, suffix glyphs cut off; "--", "Z0" and "0000" are null moves.
    virtual void Move(std::string_view san) = 0;
    // The first move number of the movetext: where the numbering starts.
    virtual void FirstMoveNumber(int number, bool blackToMove) = 0;
    // A variation: an alternative to the move just handed on, until its EndVariation.
    virtual void BeginVariation() = 0;
    virtual void EndVariation() = 0;
    virtual void Result(std::string_view text) = 0;
};

// Hands everything in `movetext` to the receiver in order, up to the "[" of a next game's tag
// outside any variation. Variations deeper than kMaxVariationDepth are passed over whole, so
// hostile input cannot build an unbounded nesting.
constexpr int kMaxVariationDepth = 64;
void WalkMovetext(std::string_view movetext, MovetextReceiver& receiver);

}  // namespace tavrel::pgn
