#include "LineText.h"

#include <cstdio>
#include <cstdlib>

#include "core/MakeMove.h"
#include "core/SanMatch.h"
#include "core/MoveSan.h"

namespace tavrel::engine {
namespace {

// "e1h1", the king onto its own rook, is how some engines write castling: it becomes the king's
// two-square move the rest of the program knows.
std::string AsKingMove(const Board& board, int side, const std::string& text) {
    if (text.size() != 4) return text;
    const Square from = SquareFromAlgebraic(text.substr(0, 2));
    const Square to = SquareFromAlgebraic(text.substr(2, 2));
    if (!from.onBoard() || !to.onBoard() || board[from] != side * Piece::King || board[to] != side * Piece::Rook ||
        from.row != to.row || from.col != 5) {
        return text;
    }
    return text.substr(0, 2) + (to.col > from.col ? 'g' : 'c') + text[3];
}

}  // namespace

std::string ScoreText(const EngineScore& score, int sideToMove) {
    const int value = score.value * sideToMove;
    if (score.mate) return "#" + std::to_string(value);
    if (value == 0) return "0.00";
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", value / 100.0);
    return text;
}

ReadLine ReadPv(LinePosition at, int moveNumber, const std::vector<std::string>& pv) {
    ReadLine line;
    for (const std::string& written : pv) {
        const std::string text = AsKingMove(at.position.GameBoard, at.sideToMove, written);
        const SanQuery query = ParseCoordinates(at.position.GameBoard, text, at.sideToMove);
        const Move move = MatchQuery(at.position, at.sideToMove, at.last, query).move;
        if (move.IsNone()) break;
        if (at.sideToMove == White) {
            line.text += (line.text.empty() ? "" : " ") + std::to_string(moveNumber) + ". ";
        } else {
            line.text += line.text.empty() ? std::to_string(moveNumber) + "... " : " ";
        }
        line.text += MoveSan(at.position, at.sideToMove, at.last, move, query.promotion);
        if (line.legalMoves++ == 0) line.first = move;
        ApplyMove(at.position, at.sideToMove, move, query.promotion);
        at.last = move;
        if (at.sideToMove == Black) ++moveNumber;
        at.sideToMove = static_cast<int16_t>(-at.sideToMove);
    }
    return line;
}

}  // namespace tavrel::engine
