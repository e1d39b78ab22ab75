#include "AnalysedPosition.h"

#include "core/Fen.h"
#include "core/MoveSan.h"
#include "core/MoveGen.h"
#include "core/Replay.h"

namespace tavrel::engine {
namespace {

// The promotion piece is read from the board after the move: the replay made it as the text said.
std::string CoordinateText(Move move, int16_t movedBefore, int16_t standingAfter) {
    const bool promoted = std::abs(movedBefore) == Piece::Pawn && std::abs(standingAfter) != Piece::Pawn;
    return MoveUci(move, promoted ? std::string_view(&"??QBNR"[std::abs(standingAfter) - 1], 1) : "");
}

// A position without a legal move is over: there is nothing to search.
std::string EndOfGame(LinePosition at) {
    MoveList moves;
    GenerateLegalMoves(at.position, at.sideToMove, at.last, moves);
    if (moves.size() > 0) return {};
    const Square king = at.position.KingState[at.sideToMove].square;
    return KingSafeAfter(at.position, at.sideToMove, king, king) ? "Stalemate." : "Checkmate.";
}

}  // namespace

int NextMoveNumber(const GameState& game, int v) {
    const int firstNumber = game.SetUp ? std::max(1, game.SetUp->fullMoveNumber) : 1;
    return firstNumber + (v + 1 + (game.BlackStarts() ? 1 : 0)) / 2;
}

AnalysedPosition GamePosition(const GameState& game) {
    AnalysedPosition result;
    if (!game.StartProblem.empty()) {
        result.problem = game.StartProblem;
        return result;
    }
    // The game reaches no position past a half-move that cannot be played.
    const int v = game.Unplayable ? std::min(game.LastSliderValue, *game.Unplayable - 1) : game.LastSliderValue;
    GameState replay = game;
    ShowSliderValue(replay, -1);
    result.search.fen = GameFen(game, -1);
    bool resolved = true;
    for (int step = 0; step <= v; ++step) {
        const Board before = replay.GameBoard;
        ShowSliderValue(replay, step);
        const Move played = replay.Match;
        if (played.IsNone()) {
            resolved = false;
            break;
        }
        result.search.moves.push_back(CoordinateText(played, before[played.from], replay.GameBoard[played.to]));
    }
    result.at = GamePositionAt(game, v);
    if (!resolved) result.search = {GameFen(game, v), {}};
    result.moveNumber = NextMoveNumber(game, v);
    result.problem = EndOfGame(result.at);
    if (!result.problem.empty()) result.search = {};
    return result;
}

LinePosition EditedPosition(const Board& board, const LinePosition& from) {
    LinePosition edited = from;
    edited.position.GameBoard.CopyPlayingSquaresFrom(board);
    if (!(edited.position.GameBoard == from.position.GameBoard)) edited.last = {};
    // The king records follow the kings where they now stand; a right needs its king at home,
    // which the FEN writer checks.
    for (int side : {White, Black}) {
        for (int16_t r = 1; r <= 8; ++r) {
            for (int16_t c = 1; c <= 8; ++c) {
                if (board(r, c) == side * Piece::King) edited.position.KingState[side].square = {r, c};
            }
        }
    }
    return edited;
}

AnalysedPosition BoardPosition(const Board& board, const LinePosition& from, int moveNumber) {
    AnalysedPosition result;
    const std::string fen = FenText(EditedPosition(board, from), 0, moveNumber);
    const FenResult parsed = ParseFen(fen);
    if (!parsed.setUp) {
        result.problem = "This position cannot be analysed: " + parsed.error;
        return result;
    }
    result.search = {fen, {}};
    result.at = {parsed.setUp->position, parsed.setUp->side, parsed.setUp->opponentLast, 0};
    result.moveNumber = moveNumber;
    result.problem = EndOfGame(result.at);
    if (!result.problem.empty()) result.search = {};
    return result;
}

}  // namespace tavrel::engine
