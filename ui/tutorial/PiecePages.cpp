// The page of each piece, opened by a click on its picture.
// Each long line is one paragraph; the text area wraps it at its width.

#include "TutorialPage.h"

namespace tavrel::ui {
namespace {

constexpr auto H = EntryKind::Heading;
constexpr auto L = EntryKind::Line;
constexpr auto B = EntryKind::Blank;
constexpr auto T = EntryKind::Text;

constexpr PageEntry kPawn[] = {
    {H, "Legal Moves for a Pawn"},
    {B},
    {L,
     "The Pawn moves forward only except when capturing. From its starting square, it may "
     "advance one square ahead, or two squares if both are empty."},
    {B},
    {L,
     "On subsequent moves, the Pawn may move only one square straight ahead, onto an empty"
     " square. It captures one square diagonally forward, onto a square held by an "
     "opponent's piece. A Pawn can never capture straight ahead, nor jump over any piece "
     "at all."},
    {B},
    {L,
     "Any pawn reaching the last row is exchanged at once, as part of the same move, for a"
     " Queen, Rook, Bishop or Knight, as its owner chooses. This is called \"Promotion\"."},
    {B},
    {L,
     "A Pawn that is attacking a square that an opposing Pawn passes over, as that Pawn "
     "advances two squares from its starting square, may capture it as if it had moved "
     "only one square. This capture is called en passant (\"in passing\"): the capturing "
     "Pawn moves diagonally onto the square passed over, and the captured Pawn is removed."
     " It must be made on the very next move, or the right is lost."},
    {B},
};

constexpr PageEntry kRook[] = {
    {H, "Legal Moves for a Rook"},
    {B},
    {L,
     "The Rook moves to any square (empty or held by an opponent's piece) along its row or"
     " along its column, never jumping."},
    {B},
    {T,
     "The only exception to the above rule is known as Castling.  Click on the King piece "
     "for a description of this rule."},
};

constexpr PageEntry kKnight[] = {
    {H, "Legal Moves for a Knight"},
    {B},
    {L,
     "The Knight's move is comprised of two different steps: first one square straight "
     "along a row or a column, then one square diagonally, away from its starting square. "
     "It lands two squares away in one direction and one square in the other, like the "
     "letter L, always on a square of the other color. The Knight is the only piece that "
     "hops over other pieces: the squares it passes over don't matter."},
    {B},
    {T,
     "The Knight also has the unique quality of being able to attack a Queen without being"
     " attacked by it in return, because the Queen can never move the way the Knight "
     "moves."},
};

constexpr PageEntry kBishop[] = {
    {H, "Legal Moves for a Bishop"},
    {B},
    {L,
     "The Bishop moves to any square (empty or held by an opponent's piece) along a "
     "diagonal, never jumping a piece."},
    {B},
    {T,
     "Note that the color of the square that a Bishop starts on decides every square it "
     "can reach: it stays on that color for the whole game. So each side has one "
     "light-squared Bishop and one dark-squared Bishop, and each one covers half the "
     "board."},
};

constexpr PageEntry kQueen[] = {
    {H, "Legal Moves for a Queen"},
    {B},
    {L,
     "The Queen moves to any square (empty or held by an opponent's piece) along its row, "
     "its column or its diagonals, without jumping."},
    {B},
    {T,
     "The Queen is the most powerful piece on the board, because it combines the moves of "
     "both the Rook and the Bishop within a single piece."},
};

constexpr PageEntry kKing[] = {
    {H, "Legal Moves for a King"},
    {B},
    {L,
     "Except when castling, the King moves to any neighboring square, one square in any "
     "direction, as long as that square is not attacked by an opponent's piece. No move "
     "may place or leave the King under attack, which is known as being \"in check\"."},
    {B},
    {L,
     "The King may also perform a more complex move called castling. It is the only move "
     "in which a player moves two pieces at once: the King and one of the two Rooks. Each "
     "player may castle only once in the whole game."},
    {B},
    {L,
     "Castling counts as one move (even though two pieces move). The King moves two "
     "squares along its first row toward one of its Rooks, and that Rook then moves to the"
     " square the King has just crossed. Castling is allowed only if neither the King nor "
     "that Rook has moved earlier in the game. Once the King has moved, castling is lost "
     "for good on both sides; once a Rook has moved, it is lost on that side."},
    {B},
    {L,
     "Castling is temporarily prevented if: a. the King is in check; b. the King would "
     "pass over or land on a square attacked by an opponent's piece; c. any square between"
     " the King and that Rook is occupied; the pieces there must move."},
    {B},
    {L,
     "Castling sounds more complex than it really is. The King moves two squares toward a "
     "Rook, and that Rook jumps over to the King's other side, next to it. For White, "
     "castling on the King's side puts the King on g1 and the Rook on f1; on the Queen's "
     "side, the King goes to c1 and the Rook to d1. A Rook that has moved bars castling on"
     " its side; a King that has moved bars castling on both sides."},
    {B},
};

}  // namespace

Page PiecePage(int index) {
    static constexpr Page kPages[kPieceCount] = {kPawn, kRook, kKnight, kBishop, kQueen, kKing};
    return index >= 0 && index < kPieceCount ? kPages[index] : Page{};
}

}  // namespace tavrel::ui
