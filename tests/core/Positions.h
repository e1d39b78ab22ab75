#pragma once
// Small helpers that set positions up for the core's tests.

#include <string>
#include <vector>

#include "core/Fen.h"
#include "core/GameState.h"
#include "core/MoveGen.h"

namespace tavrel::testing {

inline Position PositionFromFen(const std::string& fen) {
    const FenResult result = ParseFen(fen);
    if (!result.setUp) throw std::runtime_error("bad FEN in test: " + fen + ": " + result.error);
    return result.setUp->position;
}

inline std::vector<std::string> MoveNames(const MoveList& moves) {
    std::vector<std::string> names;
    for (const Move& m : moves) names.push_back(AlgebraicName(m.from) + AlgebraicName(m.to));
    return names;
}

inline std::vector<std::string> LegalMoveNamesOf(Position pos, int side, Move opponentLast = {}) {
    MoveList moves;
    GenerateLegalMoves(pos, side, opponentLast, moves);
    return MoveNames(moves);
}

inline std::vector<std::string> LegalMoveNames(const std::string& fen, Move opponentLast = {}) {
    const FenResult result = ParseFen(fen);
    if (!result.setUp) throw std::runtime_error("bad FEN in test: " + fen + ": " + result.error);
    return LegalMoveNamesOf(result.setUp->position, result.setUp->side, opponentLast);
}

inline Move MoveOf(const char* from, const char* to) {
    return {SquareFromAlgebraic(from), SquareFromAlgebraic(to)};
}

}  // namespace tavrel::testing
