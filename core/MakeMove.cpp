#include "MakeMove.h"

#include <bit>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel {
namespace {

// The slots (bit k for slot k) whose entry is `square`, found without branches: which slot a
// piece sits in follows no pattern a branch predictor could learn, and this runs on every move.
unsigned SlotsAt(const PieceList& list, Square square) {
    const auto key = std::bit_cast<std::uint32_t>(square);
#if defined(__SSE2__)
    // Four entries to a compare.
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    unsigned slots = 0;
    for (int group = 0; group < 4; ++group) {
        const __m128i entries = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&list[1 + 4 * group]));
        slots |= static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(entries, keys))))
                 << (4 * group);
    }
    return slots << 1;
#else
    unsigned slots = 0;
    for (std::size_t slot = 1; slot <= 16; ++slot) {
        slots |= static_cast<unsigned>(std::bit_cast<std::uint32_t>(list[slot]) == key) << slot;
    }
    return slots;
#endif
}

void ClearEntriesAt(PieceList& list, Square square) {
    for (unsigned slots = SlotsAt(list, square); slots != 0; slots &= slots - 1) {
        list[static_cast<std::size_t>(std::countr_zero(slots))] = {};
    }
}

void MoveFirstEntry(PieceList& list, Square from, Square to) {
    if (const unsigned slots = SlotsAt(list, from)) list[static_cast<std::size_t>(std::countr_zero(slots))] = to;
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
