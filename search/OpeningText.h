#pragma once
// The move texts of the games' openings as a tree, for a search of the text: most games of a file
// open with the same few texts, so a move is matched once for each place it is written in, not
// once a game. Each node is a position reached from the usual start by one run of texts, and
// says whether a game there stands on the target or can no longer reach it. A thread's search
// keeps one tree; it stops growing at a bound, and a game that would grow it further goes on on a
// board of its own.

#include <cstdint>
#include <string_view>
#include <vector>

#include "PositionSearch.h"

namespace tavrel::search {

class OpeningText {
public:
    static constexpr std::int32_t kRoot = 0;
    // What a move text does where no node follows it:
    static constexpr std::int32_t kIllegal = -1;      // it names no legal move there
    static constexpr std::int32_t kOffTree = -2;      // not known: play it on a board
    static constexpr std::int32_t kAfterTarget = -3;  // a legal move from the target, not followed

    struct Step {
        std::int32_t child = kIllegal;  // the node after the move, or one of the above
        MoveCode code = 0;              // the move, when it is legal
        // The child's Reached(), Out() and Needs(), kept with the step: a game asks them after
        // every move.
        bool reached = false, out = false;
        std::uint8_t needs = 0;
    };

    // A game's board, which stands at `node` of the tree while node is not -1: a game that leaves
    // the tree goes on from it, and a new node is made from it without replaying the opening.
    struct Cursor {
        Position pos;
        int side = White;
        Move opponentLast;
        std::int32_t node = -1;
    };

    explicit OpeningText(const Target& target);

    [[nodiscard]] bool Reached(std::int32_t node) const { return nodes_[Slot(node)].reached; }
    [[nodiscard]] bool Out(std::int32_t node) const { return nodes_[Slot(node)].out; }
    [[nodiscard]] int Pieces(std::int32_t node) const { return nodes_[Slot(node)].pieces; }
    // At least how many half-moves a game at `node` must still play to stand on the target.
    [[nodiscard]] int Needs(std::int32_t node) const { return nodes_[Slot(node)].needs; }

    // The move `san` (a null move too) plays at `node`; `cursor` follows where a node is made.
    Step Play(std::int32_t node, std::string_view san, Cursor& cursor);
    // Sets the cursor on `node`, replaying the moves from the start.
    void PositionAt(std::int32_t node, Cursor& cursor) const;

private:
    struct Node {
        std::int32_t parent = -1;
        MoveCode code = 0;  // the move from the parent
        std::uint8_t pieces = 0;
        std::uint8_t depth = 0;
        std::uint8_t needs = 0;
        bool reached = false, out = false;
    };
    // A move text met at a node, found by hashing both: one probe or two a move, where a list of a
    // node's texts would be walked, and the root alone has dozens.
    struct Edge {
        std::uint64_t text = 0;  // up to 8 bytes of the move's text; 0 marks a free entry
        std::int32_t node = -1;
        Step step;
    };
    static std::size_t Slot(std::int32_t node) { return static_cast<std::size_t>(node); }
    [[nodiscard]] std::size_t Home(std::int32_t node, std::uint64_t text) const;
    Step Add(std::int32_t node, std::string_view san, std::uint64_t key, Cursor& cursor);
    void Insert(const Edge& edge);
    void Grow();

    const Target& t_;
    std::vector<Node> nodes_;
    std::vector<Edge> edges_;  // open addressing, at most half full
    std::size_t edgeCount_ = 0;
};

}  // namespace tavrel::search
