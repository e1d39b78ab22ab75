#pragma once
// A game's movetext as a reader of a chess book sees it: the moves of the main line and of every
// variation, with comments and glyphs, in the order of the file. Kept flat (one item after
// another) so that nesting costs no recursion to draw, copy or free.

#include <string>
#include <string_view>
#include <vector>

#include "Visitor.h"

namespace tavrel::pgn {

struct MovetextItem {
    enum class Kind { Move, Comment, Glyph, VariationStart, VariationEnd, Result };
    Kind kind = Kind::Move;
    std::string text;  // the move text, the comment, the result
    int glyph = 0;
    int depth = 0;  // 0 on the main line, 1 inside a variation, 2 inside one within it ...
    // Moves only: half-moves played before this one (0 for the game's first), and the index of
    // the move this one is played after (-1 when it is played from the game's first position).
    int ply = 0;
    int previous = -1;
};

struct AnnotatedGame {
    std::vector<MovetextItem> items;
    int firstMoveNumber = 1;  // the number the file gives the first move
    bool blackStarts = false;

    // The move number a half-move with this ply carries, and whether it is Black's.
    [[nodiscard]] int MoveNumberOf(int ply) const { return firstMoveNumber + (ply + (blackStarts ? 1 : 0)) / 2; }
    [[nodiscard]] bool IsBlackPly(int ply) const { return (ply + (blackStarts ? 1 : 0)) % 2 == 1; }
    // The moves from the main line's move where the variation holding item `move` branches off,
    // to that item: the branch is the last main-line move before them (-1: the first position).
    struct Path {
        int branch = -1;
        std::vector<int> moves;
    };
    [[nodiscard]] Path PathTo(int move) const;
};

// Builds an AnnotatedGame from what the lexer hands on.
class AnnotationCollector final : public Visitor {
public:
    Next Tag(std::string_view name, std::string_view value) override;
    void MoveNumber(int number, int dots, int depth) override;
    void Move(const MoveToken& move) override;
    void Glyph(int number) override;
    void Comment(std::string_view text) override;
    Next BeginVariation() override;
    void EndVariation() override;
    void Result(std::string_view text, int depth) override;

    [[nodiscard]] const AnnotatedGame& Game() const { return game_; }
    AnnotatedGame Take() { return std::move(game_); }

private:
    struct Line {
        int last = -1;       // the line's latest move, or where it starts before its first
        int before = -1;     // the move its latest move was played after
        bool moved = false;  // the line has a move of its own
    };
    MovetextItem& Add(MovetextItem::Kind kind, std::string_view text);

    AnnotatedGame game_;
    std::vector<Line> lines_{Line{}};
    bool numbered_ = false;  // the main line's numbering is known (or a move came first)
};

}  // namespace tavrel::pgn
