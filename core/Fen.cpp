#include "Fen.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace tavrel {
namespace {

int16_t CodeOfFenLetter(char c) {
    const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    static constexpr std::string_view kLetters = "pkqbnr";
    const auto at = kLetters.find(lower);
    if (at == std::string_view::npos) return 0;
    const auto code = static_cast<int16_t>(at + 1);
    return c == lower ? static_cast<int16_t>(-code) : code;
}

std::string ReadPlacement(std::string_view placement, Board& board) {
    int row = 1, col = 1;
    for (char c : placement) {
        if (c == '/') {
            if (col != 9) return "a rank of the placement does not have 8 squares";
            ++row;
            col = 1;
        } else if (c >= '1' && c <= '8') {
            col += c - '0';
        } else if (const int16_t code = CodeOfFenLetter(c)) {
            if (row > 8 || col > 8) return "the placement runs past the board";
            board(row, col++) = code;
        } else {
            return std::string("unknown character in the placement: ") + c;
        }
        if (col > 9) return "a rank of the placement has more than 8 squares";
    }
    if (row != 8 || col != 9) return "the placement does not have 8 ranks of 8 squares";
    return {};
}

// Slots in the order a game starts with: pawns by file, then the other pieces by file.
std::string FillPieceList(Position& pos, int side) {
    std::vector<Square> pawns, pieces;
    for (int16_t col = 1; col <= 8; ++col) {
        for (int16_t row = 1; row <= 8; ++row) {
            const int code = pos.GameBoard(row, col) * side;
            if (code == Piece::Pawn) pawns.push_back({row, col});
            if (code > Piece::Pawn) pieces.push_back({row, col});
            if (code == Piece::King) pos.KingState[side].square = {row, col};
        }
    }
    if (pawns.size() + pieces.size() > 16) return "a side has more than 16 pieces";
    std::size_t slot = 1;
    for (const auto& list : {pawns, pieces}) {
        for (Square s : list) pos.PieceListOf(side)[slot++] = s;
    }
    return {};
}

std::string CheckMaterial(const Board& board) {
    int kings[2] = {0, 0};
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const int code = board(row, col);
            if (code == Piece::King) ++kings[0];
            if (code == -Piece::King) ++kings[1];
            if ((code == Piece::Pawn || code == -Piece::Pawn) && (row == 1 || row == 8)) {
                return "a pawn stands on its first or last rank";
            }
        }
    }
    if (kings[0] != 1 || kings[1] != 1) return "each side needs exactly one king";
    return {};
}

void SetCastling(Position& pos, std::string_view rights) {
    for (int side : {White, Black}) {
        const bool white = side == White;
        KingRecord& king = pos.KingState[side];
        king.CastleFlags = 0;
        if (rights.find(white ? 'K' : 'k') == std::string_view::npos) king.CastleFlags |= Castle::KingSideBarred;
        if (rights.find(white ? 'Q' : 'q') == std::string_view::npos) king.CastleFlags |= Castle::QueenSideBarred;
        if (!(king.square == Square{static_cast<int16_t>(white ? 8 : 1), 5})) king.CastleFlags |= Castle::KingMoved;
    }
}

}  // namespace

FenResult ParseFen(std::string_view fen) {
    std::istringstream fields{std::string(fen)};
    std::string placement, side, castling = "-", passant = "-";
    fields >> placement >> side >> castling >> passant;
    if (placement.empty()) return {{}, "empty FEN"};
    if (side != "w" && side != "b") return {{}, "the side to move is not w or b"};

    FenSetUp setUp;
    Position& pos = setUp.position;
    if (auto error = ReadPlacement(placement, pos.GameBoard); !error.empty()) return {{}, error};
    if (auto error = CheckMaterial(pos.GameBoard); !error.empty()) return {{}, error};
    for (int s : {White, Black}) {
        if (auto error = FillPieceList(pos, s); !error.empty()) return {{}, error};
    }
    SetCastling(pos, castling);
    setUp.side = side == "w" ? White : Black;

    if (passant != "-") {
        const Square passed = SquareFromAlgebraic(passant);
        // White to move after Black's double step passes row 3 (rank 6), and the other way round.
        const int16_t passedRow = setUp.side == White ? 3 : 6;
        if (!passed.onBoard() || passed.row != passedRow) return {{}, "bad en-passant square"};
        const int16_t step = setUp.side == White ? -1 : 1;  // towards the mover's start row
        setUp.opponentLast = {{static_cast<int16_t>(passed.row + step), passed.col},
                              {static_cast<int16_t>(passed.row - step), passed.col}};
    }
    return {setUp, {}};
}

}  // namespace tavrel
