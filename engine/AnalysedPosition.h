#pragma once
// The position the engine is asked about, built from what the window shows: the game's position
// at the slider, or the analysis board's as the user set it up.

#include <string>

#include "UciEngine.h"
#include "core/GameState.h"
#include "core/LineReplay.h"

namespace tavrel::engine {

struct AnalysedPosition {
    SearchPosition search;  // what the engine is told
    LinePosition at;        // the position reached, from which the engine's lines are read
    int moveNumber = 1;     // the number of the move to be played from there
    std::string problem;    // why the position is not sent (then `search` is empty)
};

// The game's position at its slider value: the game's start (a set-up game's FEN) and the moves
// played since, so that the engine knows what repeats. A game with a move the replay could not
// resolve is sent as the FEN of the position reached.
AnalysedPosition GamePosition(const GameState& game);

// A board set up by hand. Side to move, castling rights (where king and rook still stand at
// home) and en passant (while the board is unchanged) come from `from`, the position the board
// was last made from. A position no game can reach is not sent: `problem` says why.
AnalysedPosition BoardPosition(const Board& board, const LinePosition& from, int moveNumber);
// The board set up by hand as a position, on the same terms, whether or not a game can reach it.
LinePosition EditedPosition(const Board& board, const LinePosition& from);

// The number of the move to be played at slider value v, as the game counts: on from a set-up
// game's number, up after each Black half-move. A line of k half-moves played from value v gets
// the number of value v + k.
int NextMoveNumber(const GameState& game, int v);

}  // namespace tavrel::engine
