#include "Fen.h"

#include <algorithm>
#include <array>
#include <vector>

#include "MoveGen.h"

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
            if (col != 9) return "rank " + std::to_string(9 - row) + " does not add up to 8 squares";
            if (++row > 8) return "the placement has more than 8 ranks";
            col = 1;
            continue;
        }
        if (c >= '1' && c <= '8') {
            col += c - '0';
        } else if (const int16_t code = CodeOfFenLetter(c)) {
            if (col <= 8) board(row, col) = code;
            ++col;
        } else {
            return std::string("unknown letter '") + c + "' in the placement";
        }
        if (col > 9) return "rank " + std::to_string(9 - row) + " does not add up to 8 squares";
    }
    if (row != 8) return "the placement does not have 8 ranks";
    if (col != 9) return "rank 1 does not add up to 8 squares";
    return {};
}

// Slots in the order a game starts with: pawns by file, then the other pieces by file.
std::string FillPieceList(Position& pos, int side) {
    std::vector<Square> pawns, pieces;
    int kings = 0;
    for (int16_t col = 1; col <= 8; ++col) {
        for (int16_t row = 1; row <= 8; ++row) {
            const int code = pos.GameBoard(row, col) * side;
            if (code == Piece::Pawn) pawns.push_back({row, col});
            if (code > Piece::Pawn) pieces.push_back({row, col});
            if (code == Piece::King) {
                pos.KingState[side].square = {row, col};
                ++kings;
            }
        }
    }
    const std::string name = side == White ? "White" : "Black";
    if (kings == 0) return name + " has no king";
    if (kings > 1) return name + " has more than one king";
    if (pawns.size() + pieces.size() > 16) return name + " has more than 16 pieces";
    std::size_t slot = 1;
    for (const auto& list : {pawns, pieces}) {
        for (Square s : list) pos.PieceListOf(side)[slot++] = s;
    }
    return {};
}

std::string CheckPawns(const Board& board) {
    for (int col = 1; col <= 8; ++col) {
        for (int row : {1, 8}) {
            if (board(row, col) == Piece::Pawn || board(row, col) == -Piece::Pawn) {
                return "a pawn stands on the first or last rank";
            }
        }
    }
    return {};
}

// A right counts only with the king on e1/e8 and the rook in its corner; otherwise it could
// never be used, and a rook arriving there later must not bring it back.
void SetCastling(Position& pos, std::string_view rights) {
    for (int side : {White, Black}) {
        const bool white = side == White;
        const int16_t home = white ? 8 : 1;
        const int16_t rook = static_cast<int16_t>(Piece::Rook * side);
        KingRecord& king = pos.KingState[side];
        king.CastleFlags = 0;
        if (rights.find(white ? 'K' : 'k') == std::string_view::npos || pos.GameBoard(home, 8) != rook) {
            king.CastleFlags |= Castle::KingSideBarred;
        }
        if (rights.find(white ? 'Q' : 'q') == std::string_view::npos || pos.GameBoard(home, 1) != rook) {
            king.CastleFlags |= Castle::QueenSideBarred;
        }
        if (!(king.square == Square{home, 5})) king.CastleFlags |= Castle::KingMoved;
    }
}

// The opponent's double step that the en passant square stands for, when the board shows it:
// their pawn in front of the square, the square and the pawn's start empty.
Move DoubleStepBehind(const Board& board, int side, std::string_view field) {
    const Square passed = SquareFromAlgebraic(field);
    const int16_t passedRow = side == White ? 3 : 6;
    if (!passed.onBoard() || passed.row != passedRow) return {};
    const int16_t step = side == White ? -1 : 1;  // towards the opponent's start row
    const Square start{static_cast<int16_t>(passed.row + step), passed.col};
    const Square arrived{static_cast<int16_t>(passed.row - step), passed.col};
    if (board[arrived] != -side * Piece::Pawn || board[passed] != 0 || board[start] != 0) return {};
    return {start, arrived};
}

// A counter as written, or `otherwise` when the field is missing or not a number.
int Counter(const std::string& field, int otherwise) {
    if (field.empty() || field.size() > 5 || field.find_first_not_of("0123456789") != std::string::npos) {
        return otherwise;
    }
    return std::stoi(field);
}

// The text's first fields, split at white space as a stream reads words; missing ones empty.
// Every game's start asks, so no stream is built for it.
std::array<std::string, 6> Fields(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::array<std::string, 6> fields;
    std::size_t at = 0;
    for (std::string& field : fields) {
        while (at < text.size() && blank(text[at])) ++at;
        const std::size_t from = at;
        while (at < text.size() && !blank(text[at])) ++at;
        field.assign(text.substr(from, at - from));
    }
    return fields;
}

}  // namespace

FenResult ParseFen(std::string_view fen) {
    const auto [placement, side, castling, passant, halfMoves, fullMoves] = Fields(fen);
    if (passant.empty()) return {{}, "the FEN has fewer than 4 fields"};
    if (side != "w" && side != "b") return {{}, "the side to move is not w or b"};

    FenSetUp setUp;
    Position& pos = setUp.position;
    if (auto error = ReadPlacement(placement, pos.GameBoard); !error.empty()) return {{}, error};
    for (int s : {White, Black}) {
        if (auto error = FillPieceList(pos, s); !error.empty()) return {{}, error};
    }
    if (auto error = CheckPawns(pos.GameBoard); !error.empty()) return {{}, error};
    setUp.side = side == "w" ? White : Black;
    const Square other = pos.KingState[-setUp.side].square;
    if (!KingSafeAfter(pos, -setUp.side, other, other)) return {{}, "the side not to move is in check"};

    SetCastling(pos, castling);
    setUp.opponentLast = DoubleStepBehind(pos.GameBoard, setUp.side, passant);
    setUp.fullMoveNumber = std::max(1, Counter(fullMoves, 1));
    setUp.halfMoveClock = Counter(halfMoves, 0);
    return {setUp, {}};
}

bool NeedsChess960Castling(std::string_view fen) {
    if (fen.empty()) return false;
    const std::string castling = Fields(fen)[2];
    for (char c : castling) {
        if ((c >= 'A' && c <= 'H') || (c >= 'a' && c <= 'h')) return true;
    }
    return false;
}

}  // namespace tavrel
