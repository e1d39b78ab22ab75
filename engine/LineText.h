#pragma once
// An engine's line as the window shows it: the score from White's side and the moves in SAN,
// numbered from the position.

#include <string>
#include <vector>

#include "UciInfo.h"
#include "core/LineReplay.h"

namespace tavrel::engine {

// "+0.35", "-1.20", "0.00"; mate as "#3" when White mates, "#-3" when Black does.
std::string ScoreText(const EngineScore& score, int sideToMove);

struct ReadLine {
    std::string text;  // "23... Qxe3+ 24. Kh1 Rf2"
    Move first;        // the first move's squares, None when not even it is legal
    int legalMoves = 0;
};

// The moves of `pv` from `at`, cut at the first that is not legal there. Castling is read as the
// king's two-square move ("e1g1") or as the king taking its own rook ("e1h1").
ReadLine ReadPv(LinePosition at, int moveNumber, const std::vector<std::string>& pv);

}  // namespace tavrel::engine
