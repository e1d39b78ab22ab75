#include "Board.h"

#include <algorithm>

namespace tavrel {

Square SquareFromAlgebraic(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8') {
        return {};
    }
    return {static_cast<int16_t>(9 - (text[1] - '0')), static_cast<int16_t>(text[0] - 'a' + 1)};
}

std::string AlgebraicName(Square square) {
    if (!square.onBoard()) return "-";
    return {static_cast<char>('a' + square.col - 1), static_cast<char>('0' + 9 - square.row)};
}

void Board::CopyPlayingSquaresFrom(const Board& other) {
    for (int row = 1; row <= 8; ++row) {
        std::copy_n(other.cells_.begin() + Index(row, 1), 8, cells_.begin() + Index(row, 1));
    }
}

namespace {

Position MakeStartPosition() {
    static constexpr int16_t kBackRank[9] = {0, 6, 5, 4, 3, 2, 4, 5, 6};
    Position pos;
    for (int16_t col = 1; col <= 8; ++col) {
        pos.GameBoard(7, col) = Piece::Pawn;
        pos.GameBoard(2, col) = -Piece::Pawn;
        pos.GameBoard(8, col) = kBackRank[col];
        pos.GameBoard(1, col) = static_cast<int16_t>(-kBackRank[col]);
        pos.WhitePieceList[col] = {7, col};
        pos.BlackPieceList[col] = {2, col};
        pos.WhitePieceList[col + 8] = {8, col};
        pos.BlackPieceList[col + 8] = {1, col};
    }
    pos.KingState[White] = {0, {8, 5}};
    pos.KingState[Black] = {0, {1, 5}};
    return pos;
}

}  // namespace

// Made once: every game that starts from it copies it.
Position StartPosition() {
    static const Position start = MakeStartPosition();
    return start;
}

std::string FenPlacement(const Board& board) {
    std::string out;
    AppendFenPlacement(out, board);
    return out;
}

void AppendFenPlacement(std::string& out, const Board& board) {
    // Written into a buffer and appended once: a whole-file check writes one a game.
    static constexpr char kLetters[] = "rnbqkp PKQBNR";  // by code + 6
    char text[8 * 9];
    std::size_t n = 0;
    for (int row = 1; row <= 8; ++row) {
        char empty = 0;
        for (int col = 1; col <= 8; ++col) {
            const int code = board(row, col);
            if (code == 0 || code > 6 || code < -6) {
                ++empty;
                continue;
            }
            if (empty) text[n++] = static_cast<char>('0' + empty);
            empty = 0;
            text[n++] = kLetters[code + 6];
        }
        if (empty) text[n++] = static_cast<char>('0' + empty);
        if (row < 8) text[n++] = '/';
    }
    out.append(text, n);
}

}  // namespace tavrel
