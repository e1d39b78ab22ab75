// The pages behind the tutorial's four buttons: rules, pieces, notation and strategy.
// Each long line is one paragraph; the text area wraps it at its width.

#include "TutorialPage.h"

namespace tavrel::ui {
namespace {

constexpr auto H = EntryKind::Heading;
constexpr auto L = EntryKind::Line;
constexpr auto B = EntryKind::Blank;

// The draw rules are wrapped by hand into short lines with a hanging indent.
constexpr PageEntry kRules[] = {
    {H, "THE RULES FOR PLAYING CHESS"},
    {B},
    {L,
     "Chess is a game played between two players on a square board of sixty-four squares, "
     "eight rows by eight columns, colored light and dark in turn, like a checkerboard."},
    {B},
    {L,
     "Each player starts the game with one King, one Queen, two Rooks, two Bishops, two "
     "Knights and eight Pawns. The player of the light pieces is called White, the other "
     "player Black."},
    {B},
    {L,
     "The initial position of the pieces is exactly as shown when Tavrel is first started."
     " The player who has the White pieces always starts first."},
    {B},
    {L,
     "Players alternate moves until one King can be attacked with no legal move to escape "
     "the attack; this is checkmate, and it ends the game. A game may also end in a draw "
     "or resignation."},
    {B},
    {L,
     "A move is the transfer of a piece from its square to another square, which must be "
     "either empty or held by an opponent's piece, which is then captured. Click the "
     "Pieces button to see the way each kind of piece moves."},
    {B},
    {L,
     "The King is in check when the square on which it stands is attacked by one or more "
     "of the opponent's pieces. It must escape check at once."},
    {B},
    {L,
     "If the King cannot be removed from check, by moving it, capturing the attacker or "
     "blocking the attack, it is checkmate: the game is over and the attacker wins."},
    {B},
    {L, "A game is drawn (that is, not won by either player) if:"},
    {L, "- The King of the player who has the move is not"},
    {L, "  in check but can't make any legal move. This is"},
    {L, "  called 'stalemate'."},
    {L, "- Upon demand, the same position (the same pieces of"},
    {L, "  the same kind occupy the same squares) is repeated"},
    {L, "  three times."},
    {L, "- The player having the move demonstrates that at"},
    {L, "  least fifty (50) moves have been made without a"},
    {L, "  capture of any piece or the movement of any pawns"},
    {B},
};

constexpr PageEntry kPieces[] = {
    {H,
     "To see how each piece can legally move, Click on the piece to the left. That piece's"
     " rules will appear in this box."},
    {B},
    {L,
     "In general, a legal move is defined by how the piece moves and by a rule for all "
     "pieces: no move may place or leave the player's own King in check."},
    {B},
    {L,
     "Also, with the exception of the Knight, pieces cannot jump over other pieces: every "
     "square between the start and end of a move must be empty. A piece moves to an empty "
     "square or to a square held by an opponent's piece, which it captures. A captured "
     "piece is removed from the board for the rest of the game."},
    {B},
    {L, "Tavrel note:"},
    {L,
     "Tavrel will not make an illegal move. In fact, Tavrel beeps when it does not have a "
     "legal move."},
    {B},
    {L,
     "Tavrel has two different board color combinations.  One combination works for color "
     "VGA and the other works for monochrome VGA.  Use Control-C to toggle between these "
     "color modes to see which you prefer."},
    {B},
};

// Ends after its last paragraph's line break, with no empty line.
constexpr PageEntry kNotation[] = {
    {H, "THE NOTATION USED BY TAVREL"},
    {B},
    {L,
     "PGN notation is short-hand way of recording the moves of a chess game in a plain "
     "text file, so that it can be saved, shared and replayed later on."},
    {B},
    {L,
     "A PGN file consists of a tagpair section and a movetext section for each game. Tag "
     "pairs such as [White \"Smith, John\"] record the event, site, date, round, players "
     "and result. The movetext then lists the moves with their numbers, as in 1. e4 e5 2. "
     "Nf3 Nc6."},
    {B},
    {L,
     "It is beyond the scope of this helpfile to describe the full PGN standard. The "
     "complete standard, written by Steven J. Edwards in 1994, is offered by many chess "
     "sites on the Internet."},
};

// Book lines: four blanks, then title " by " author.
constexpr PageEntry kStrategy[] = {
    {H, "THE STRATEGY FOR PLAYING CHESS"},
    {B},
    {L,
     "The strategies for playing chess are far too many and too varied to be covered in a "
     "help file. Whole libraries have been written about the opening, the middlegame and "
     "the endgame, and even the strongest players go on learning all their lives. Instead,"
     " a few books are recommended below as a good place to start; each is a classic that "
     "has helped generations of players understand chess better."},
    {B},
    {L, "Opening Books"},
    {L, "    Modern Chess Openings by Nick de Firmian"},
    {L, "    Winning Chess Openings by Yasser Seirawan"},
    {B},
    {L, "General Strategy Books"},
    {L, "    My System by Aron Nimzowitsch"},
    {L, "    Logical Chess: Move by Move by Irving Chernev"},
    {B},
    {L, "Endgame Books"},
    {L, "    Basic Chess Endings by Reuben Fine"},
    {B},
    {L, "Rule Books"},
    {L, "    USCF's Official Rules of Chess"},
};

}  // namespace

Page RulesPage() {
    return kRules;
}
Page PiecesPage() {
    return kPieces;
}
Page NotationPage() {
    return kNotation;
}
Page StrategyPage() {
    return kStrategy;
}

}  // namespace tavrel::ui
