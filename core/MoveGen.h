#pragma once
// Legal move generation. The order of the list is part of the contract: the matcher takes the
// first entry that fits a move text, so the order decides which piece an ambiguous text names.

#include "Board.h"
#include "GameState.h"
#include "MoveList.h"

namespace tavrel {

// True when, after moving the piece on `from` to `to`, no enemy piece attacks the mover's king.
// With from == to nothing moves and the position as it stands is tested. Only the one piece
// moves for the test (a castling rook or an en-passant victim stays); the board is the same on
// return as on entry.
bool KingSafeAfter(Position& pos, int side, Square from, Square to);

// What a caller knows of the side to move's king before matching a move: whether it stands in
// check, or nothing. Knowing it lets most legality tests look along one line instead of all.
enum class CheckState : unsigned char { Unknown, Clear, InCheck };

// The other side's king after `mover` played `move` (already made on `pos`), for a caller that
// knows that king was not attacked before the move: then only the moved pieces and the lines
// through the squares the move changed can attack it now. Unknown for a position without that
// king.
CheckState CheckAfter(const Position& pos, int mover, Move move);

// Every legal move of `side`, in slot order and each piece's direction order. `opponentLast` is
// the other side's last half-move as resolved; it alone decides en passant.
void GenerateLegalMoves(Position& pos, int side, Move opponentLast, MoveList& out);

// The replay's form: the game's position, its resolved moves deciding en passant, and the list
// written to state.LegalMoves.
void GenerateLegalMoves(GameState& state, int side);

// The other side's last half-move as the replay has resolved it: for Black to move, White's move
// of the current move number; for White, Black's move of the one before.
Move OpponentLastMove(const GameState& state, int side);

// A pawn move onto its last row: the only moves that need a promotion piece.
bool IsPromotionMove(const Position& pos, Move move);

}  // namespace tavrel
