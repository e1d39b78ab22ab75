#include "MoveSan.h"

#include <cstdlib>

#include "MakeMove.h"
#include "MoveGen.h"
#include "MoveList.h"

namespace tavrel {
namespace {

char PieceLetter(int kind) {
    switch (kind) {
        case Piece::King: return 'K';
        case Piece::Queen: return 'Q';
        case Piece::Bishop: return 'B';
        case Piece::Knight: return 'N';
        case Piece::Rook: return 'R';
        default: return 0;
    }
}

}  // namespace

std::string MoveSan(const Position& start, int side, Move opponentLast, Move move, std::string_view promotionLetter) {
    Position pos = start;
    const Board& b = pos.GameBoard;
    const int kind = std::abs(b[move.from]);
    std::string san;
    if (kind == Piece::King && std::abs(move.to.col - move.from.col) == 2) {
        san = move.to.col == 7 ? "O-O" : "O-O-O";
    } else {
        const bool capture = b[move.to] != 0 || (kind == Piece::Pawn && move.from.col != move.to.col);
        const std::string target = AlgebraicName(move.to);
        if (kind == Piece::Pawn) {
            if (capture) san += static_cast<char>('a' + move.from.col - 1);
        } else {
            san += PieceLetter(kind);
            MoveList legal;
            GenerateLegalMoves(pos, side, opponentLast, legal);
            bool other = false, sameCol = false, sameRow = false;
            for (const Move m : legal) {
                if (m.to != move.to || m.from == move.from || std::abs(b[m.from]) != kind) continue;
                other = true;
                sameCol = sameCol || m.from.col == move.from.col;
                sameRow = sameRow || m.from.row == move.from.row;
            }
            const std::string origin = AlgebraicName(move.from);
            if (other && (!sameCol || sameRow == sameCol)) san += origin[0];
            if (other && sameCol) san += origin[1];
        }
        if (capture) san += 'x';
        san += target;
        if (IsPromotionMove(pos, move)) {
            san += '=';
            san += promotionLetter.empty() ? 'Q' : promotionLetter[0];
        }
    }
    ApplyMove(pos, side, move, promotionLetter);
    const Square king = pos.KingState[-side].square;
    if (!KingSafeAfter(pos, -side, king, king)) {
        MoveList replies;
        GenerateLegalMoves(pos, -side, move, replies);
        san += replies.size() == 0 ? '#' : '+';
    }
    return san;
}

std::string MoveUci(Move move, std::string_view promotionLetter) {
    std::string uci = AlgebraicName(move.from) + AlgebraicName(move.to);
    if (!promotionLetter.empty()) uci += static_cast<char>(promotionLetter[0] - 'A' + 'a');
    return uci;
}

}  // namespace tavrel
