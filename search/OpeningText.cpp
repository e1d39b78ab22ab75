#include "OpeningText.h"

#include <algorithm>
#include <cstring>

#include "Reaching.h"
#include "core/MakeMove.h"
#include "core/SanMatch.h"

namespace tavrel::search {
namespace {

// The tree's bound: about 64 bytes a node and its edges, some twenty megabytes a thread at most.
constexpr std::size_t kMaxNodes = 1 << 18;
constexpr std::size_t kFirstEdges = 1 << 12;
// Openings are shared for a few dozen half-moves; deeper games go on on their own board.
constexpr int kMaxDepth = 48;

// A text of up to 8 bytes as a number; texts hold no zero byte (the lexer reads it as a blank).
// Kept to a byte: a lower bound cut to 255 is still one.
std::uint8_t NeedsOf(const Target& t, const Position& pos, int side) {
    return static_cast<std::uint8_t>(std::min(PliesNeeded(t, pos, side), 255));
}

bool KeyOf(std::string_view san, std::uint64_t& key) {
    if (san.empty() || san.size() > sizeof key) return false;
    key = 0;
    std::memcpy(&key, san.data(), san.size());
    return true;
}

}  // namespace

OpeningText::OpeningText(const Target& target) : t_(target) {
    Node root;
    const Position start = StartPosition();
    root.pieces = static_cast<std::uint8_t>(PieceCount(start.GameBoard));
    root.out = root.pieces < t_.pieces || !HasHomePawns(start.GameBoard, t_.homePawns);
    root.reached = !root.out && StandsOn(t_, start, root.pieces, White, {});
    root.needs = NeedsOf(t_, start, White);
    nodes_.push_back(root);
    edges_.resize(kFirstEdges);
}

std::size_t OpeningText::Home(std::int32_t node, std::uint64_t text) const {
    const std::uint64_t h = (text ^ (static_cast<std::uint64_t>(node) * 0x9E3779B97F4A7C15ull)) * 0xFF51AFD7ED558CCDull;
    return static_cast<std::size_t>(h >> 32) & (edges_.size() - 1);
}

void OpeningText::Insert(const Edge& edge) {
    std::size_t i = Home(edge.node, edge.text);
    while (edges_[i].text != 0) i = (i + 1) & (edges_.size() - 1);
    edges_[i] = edge;
}

void OpeningText::Grow() {
    std::vector<Edge> old(edges_.size() * 2);
    old.swap(edges_);
    for (const Edge& edge : old) {
        if (edge.text != 0) Insert(edge);
    }
}

OpeningText::Step OpeningText::Play(std::int32_t node, std::string_view san, Cursor& cursor) {
    std::uint64_t key = 0;
    if (!KeyOf(san, key)) return {kOffTree, 0};
    for (std::size_t i = Home(node, key);; i = (i + 1) & (edges_.size() - 1)) {
        const Edge& edge = edges_[i];
        if (edge.text == key && edge.node == node) return edge.step;
        if (edge.text == 0) break;
    }
    // Texts that name no legal move, or moves from the target, make edges without nodes.
    if (nodes_.size() >= kMaxNodes || edgeCount_ >= 2 * kMaxNodes || nodes_[Slot(node)].depth >= kMaxDepth) {
        return {kOffTree, 0};
    }
    if (cursor.node != node) PositionAt(node, cursor);
    return Add(node, san, key, cursor);
}

void OpeningText::PositionAt(std::int32_t node, Cursor& cursor) const {
    MoveCode path[kMaxDepth + 1];
    int plies = 0;
    for (std::int32_t n = node; n != kRoot; n = nodes_[Slot(n)].parent) path[plies++] = nodes_[Slot(n)].code;
    cursor.pos = StartPosition();
    cursor.side = White;
    cursor.opponentLast = {};
    while (plies > 0) {
        const MoveCode code = path[--plies];
        if (code == kNullMove) {
            cursor.opponentLast = {};
        } else {
            cursor.opponentLast = DecodeMove(code);
            ApplyMove(cursor.pos, cursor.side, cursor.opponentLast, PromotionLetter(DecodePromotion(code)));
        }
        cursor.side = -cursor.side;
    }
    cursor.node = node;
}

OpeningText::Step OpeningText::Add(std::int32_t node, std::string_view san, std::uint64_t key, Cursor& cursor) {
    const Node from = nodes_[Slot(node)];
    Node child;
    child.parent = node;
    child.pieces = from.pieces;
    child.depth = static_cast<std::uint8_t>(from.depth + 1);
    Step step;
    bool legal = true;
    Move move;
    int promotion = 0;
    if (IsNullMoveText(san)) {
        step.code = kNullMove;
    } else {
        SanQuery query;
        move = FindTextMove(cursor.pos, cursor.side, cursor.opponentLast, san, query);
        legal = !move.IsNone();
        if (legal) {
            const int16_t piece = cursor.pos.GameBoard[move.from];
            const bool promotes = (piece == Piece::Pawn && move.to.row == 1) || (piece == -Piece::Pawn && move.to.row == 8);
            // A promotion written without its piece becomes a queen, as the walk that keeps plies reads it.
            promotion = promotes ? std::max(1, PromotionNumber(query.promotion)) : 0;
            step.code = EncodeMove(move, promotion);
        }
    }
    if (!legal) {
        step.child = kIllegal;
    } else if (from.reached) {
        step.child = kAfterTarget;  // a game is not followed past the target
    } else {
        int pieces = from.pieces;
        child.out = step.code != kNullMove && RulesOut(t_, cursor.pos.GameBoard, move, pieces);
        child.pieces = static_cast<std::uint8_t>(pieces);
        child.code = step.code;
        step.child = static_cast<std::int32_t>(nodes_.size());
        if (!child.out) {
            // The cursor moves on to the new node.
            if (step.code != kNullMove) ApplyMove(cursor.pos, cursor.side, move, PromotionLetter(promotion));
            cursor.opponentLast = step.code != kNullMove ? move : Move{};
            cursor.side = -cursor.side;
            cursor.node = step.child;
            // Counted once a node, so the fuller test costs little.
            child.out = step.code != kNullMove && !HasMenFor(t_, cursor.pos.GameBoard);
            child.reached = !child.out && StandsOn(t_, cursor.pos, pieces, cursor.side, cursor.opponentLast);
            child.needs = NeedsOf(t_, cursor.pos, cursor.side);
        }
        step.reached = child.reached;
        step.out = child.out;
        step.needs = child.needs;
        nodes_.push_back(child);
    }
    if (2 * (edgeCount_ + 1) > edges_.size()) Grow();
    Insert({key, node, step});
    ++edgeCount_;
    return step;
}

}  // namespace tavrel::search
