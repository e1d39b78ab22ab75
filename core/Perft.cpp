#include "Perft.h"

#include "MakeMove.h"
#include "MoveGen.h"

namespace tavrel {

std::uint64_t Perft(const Position& start, int side, Move opponentLast, int depth) {
    if (depth <= 0) return 1;
    Position pos = start;
    MoveList moves;
    GenerateLegalMoves(pos, side, opponentLast, moves);
    std::uint64_t nodes = 0;
    for (const Move& move : moves) {
        const bool promotes = IsPromotionMove(pos, move);
        if (depth == 1) {
            nodes += promotes ? 4 : 1;
            continue;
        }
        for (const char* letter : {"Q", "R", "B", "N"}) {
            Position next = pos;
            ApplyMove(next, side, move, letter);
            nodes += Perft(next, -side, move, depth - 1);
            if (!promotes) break;
        }
    }
    return nodes;
}

}  // namespace tavrel
