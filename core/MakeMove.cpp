#include "MakeMove.h"

namespace tavrel {
namespace {

void ClearEntriesAt(PieceList& list, Square square) {
    for (int slot = 1; slot <= 16; ++slot) {
        if (list[static_cast<std::size_t>(slot)] == square) list[static_cast<std::size_t>(slot)] = {};
    }
}

void MoveFirstEntry(PieceList& list, Square from, Square to) {
    for (int slot = 1; slot <= 16; ++slot) {
        if (list[static_cast<std::size_t>(slot)] == from) {
            list[static_cast<std::size_t>(slot)] = to;
            return;
        }
    }
}

// Any move from or to a corner ends castling on that wing: the rook has moved or been taken,
// and a rook that comes back later does not bring the right back.
void BarCastlingAtCorner(KingStateTable& kings, Square square) {
    if (square.col != 1 && square.col != 8) return;
    const int16_t wing = square.col == 8 ? Castle::KingSideBarred : Castle::QueenSideBarred;
    if (square.row == 8) kings[White].CastleFlags |= wing;
    if (square.row == 1) kings[Black].CastleFlags |= wing;
}

int16_t PromotionCode(std::string_view letter) {
    if (letter == "R") return Piece::Rook;
    if (letter == "B") return Piece::Bishop;
    if (letter == "N") return Piece::Knight;
    return Piece::Queen;
}

}  // namespace

void ApplyMove(Position& pos, int side, Move move, std::string_view promotionLetter) {
    if (move.IsNone() || !move.from.onBoard() || !move.to.onBoard()) return;
    Board& b = pos.GameBoard;
    const Square from = move.from, to = move.to;
    const int16_t piece = b[from];

    if ((piece == Piece::King && from.row == 8) || (piece == -Piece::King && from.row == 1)) {
        int16_t& flags = pos.KingState[side].CastleFlags;
        if (from.col == 1) flags |= Castle::QueenSideBarred;
        if (from.col == 5) flags |= Castle::KingMoved;
        if (from.col == 8) flags |= Castle::KingSideBarred;
    }
    BarCastlingAtCorner(pos.KingState, from);
    BarCastlingAtCorner(pos.KingState, to);

    PieceList& theirs = pos.PieceListOf(-side);
    if (b[to] != 0) {
        ClearEntriesAt(theirs, to);
    } else if ((piece == Piece::Pawn || piece == -Piece::Pawn) && from.col != to.col) {
        const Square victim{from.row, to.col};  // en passant: the pawn beside, not in front
        ClearEntriesAt(theirs, victim);
        b[victim] = 0;
    }

    b[to] = piece;
    b[from] = 0;
    const bool promotes = (piece == Piece::Pawn && to.row == 1) || (piece == -Piece::Pawn && to.row == 8);
    if (promotes) b[to] = static_cast<int16_t>(PromotionCode(promotionLetter) * side);
    if (b[to] == Piece::King * side) pos.KingState[side].square = to;

    MoveFirstEntry(pos.PieceListOf(side), from, to);

    // Castling is the king's two-column move from its home square; the rook jumps over.
    if (b[to] == Piece::King * side && from.col == 5 && (from.row == 8 || from.row == 1) &&
        (to.col == 7 || to.col == 3) && to.row == from.row) {
        const Square rookFrom{from.row, static_cast<int16_t>(to.col == 7 ? 8 : 1)};
        const Square rookTo{from.row, static_cast<int16_t>(to.col == 7 ? 6 : 4)};
        b[rookTo] = b[rookFrom];
        b[rookFrom] = 0;
        MoveFirstEntry(pos.PieceListOf(side), rookFrom, rookTo);
    }
}

void MakeMove(GameState& state, Move move) {
    const MoveRow* row = state.Moves.Find(state.MoveNumber);
    const std::string_view letter = row ? std::string_view(row->Of(state.SideToMove).promotion) : "";
    ApplyMove(state, state.SideToMove, move, letter);
    state.AnalysisBoard.CopyPlayingSquaresFrom(state.GameBoard);
}

}  // namespace tavrel
