#pragma once
// What the lexer (Lexer.h) hands on as it reads a game: the one interface through which every
// part of the program sees PGN text. A visitor overrides what it wants and leaves the rest.
//
// The calls of one game come in this order:
//   BeginGame
//   Tag*, Comment* (the tag section; a comment here stands before the first move) and, in a
//   game without moves, a Result
//   BeginMovetext (only when the game has moves; Next::Skip passes over the rest of the game)
//   then, in file order: MoveNumber, Move, Glyph, Comment, BeginVariation ... EndVariation, Result
//   EndGame (always, once)
// A visitor class with a member `bool Done()` that says true after a Move has all it wants of the
// game: the lexer reads no further, and only the EndVariation calls of open variations and
// EndGame follow.
// A visitor class with a member `Next PrintableTag(name, value)` is handed there, instead of to
// Tag, each tag written `[Name "value"]` whose name and value are printable ASCII without a quote
// or a backslash: text that needs no escape and no conversion.
// Every string_view points into the game's bytes, or into a buffer the lexer reuses: it is valid
// only during the call. Nothing is allocated per token.

#include <string_view>

namespace tavrel::pgn {

// What a visitor wants next: Go on, or Skip what the call opened (the variation after
// BeginVariation, the movetext after BeginMovetext, the rest of the game after Tag).
enum class Next : unsigned char { Go, Skip };

// How a game's bytes ended, as far as the lexer read them.
enum class GameEnd : unsigned char {
    Empty,           // there were no bytes
    InComment,       // they ended inside or right after a comment (or escape line) before any move
    BeforeMovetext,  // they ended before any move: tags only, or nothing readable
    AfterMovetext,   // they ended in or after the movetext (the next game's "[" ends it too)
    Skipped,         // the visitor skipped the rest
};

struct MoveToken {
    // As written, from its first byte after the move number and any dots: annotations, check
    // marks and trailing commas kept ("Nxf6+!", "g7xf6,").
    std::string_view written;
    // The move itself: trailing commas and a suffix annotation ("!", "?", "!!", "??", "!?",
    // "?!") cut off; the check mark stays ("Nxf6+").
    std::string_view san;
    int glyph = 0;              // the suffix annotation's number (1 to 6), 0 when none
    bool enPassant = false;     // an "e.p." or "ep" mark followed the capture, apart from it
    // Nothing of the game follows but one blank, or the next game's "[" follows at once: the
    // game's last position stands on this move.
    bool endsGame = false;
    int depth = 0;  // 0 on the main line, 1 inside a variation, 2 inside one within it ...
};

class Visitor {
public:
    virtual ~Visitor() = default;
    virtual void BeginGame() {}
    // A tag pair: the name as written and the value after one blank, with its double quotes
    // removed and backslashes kept (as files write "\"" and other readers show it).
    virtual Next Tag(std::string_view /*name*/, std::string_view /*value*/) { return Next::Go; }
    virtual Next BeginMovetext() { return Next::Go; }
    // A move number: "12." gives (12, 1), "5..." (5, 3), a bare "15" (15, 0).
    virtual void MoveNumber(int /*number*/, int /*dots*/, int /*depth*/) {}
    virtual void Move(const MoveToken& /*move*/) {}
    // A numeric glyph ($n), or a suffix annotation handed on after its move (also one written
    // apart from the move, "Bxf7+ ?").
    virtual void Glyph(int /*number*/) {}
    // A brace comment or a rest-of-line (";") comment, without its delimiters.
    virtual void Comment(std::string_view /*text*/) {}
    // A variation: an alternative to the move just handed on. Skip passes over it whole (and no
    // EndVariation follows). Variations deeper than kMaxVariationDepth are passed over unasked.
    virtual Next BeginVariation() { return Next::Go; }
    virtual void EndVariation() {}
    // A termination marker ("1-0", "0-1", "1/2-1/2", "*"), at any depth.
    virtual void Result(std::string_view /*text*/, int /*depth*/) {}
    virtual void EndGame(GameEnd /*how*/) {}
};

// Hostile input cannot build an unbounded nesting: deeper variations are passed over whole.
constexpr int kMaxVariationDepth = 64;

}  // namespace tavrel::pgn
