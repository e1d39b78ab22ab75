#include "OpeningNames.h"

#include <algorithm>

#include "OpeningData.h"
#include "core/Fen.h"
#include "core/MakeMove.h"
#include "core/PositionKey.h"
#include "search/GameWalk.h"

namespace tavrel::openings {

// A 64-bit key stands for the position: among a few thousand named positions, a different
// position of a game has the same key with a chance far below one in a million million.
std::optional<Opening> FindOpening(std::uint64_t positionKey) {
    const OpeningEntry* end = kOpeningEntries + kOpeningEntryCount;
    const OpeningEntry* at = std::lower_bound(kOpeningEntries, end, positionKey,
                                              [](const OpeningEntry& e, std::uint64_t key) { return e.key < key; });
    if (at == end || at->key != positionKey) return std::nullopt;
    return Opening{std::string_view(at->eco, 3), std::string_view(kOpeningNames + at->nameOffset, at->nameLength)};
}

std::optional<Opening> GameOpening(std::string_view gameBytes) {
    const search::WalkedGame walked = search::WalkGame(gameBytes, kMaxOpeningPlies);
    if (walked.excluded) return std::nullopt;
    Position position = StartPosition();
    int side = White;
    Move last;
    if (!walked.fen.empty()) {
        const FenResult start = ParseFen(walked.fen);
        if (!start.setUp) return std::nullopt;
        position = start.setUp->position;
        side = start.setUp->side;
        last = start.setUp->opponentLast;
    }
    std::optional<Opening> named = FindOpening(PositionKey(position, side, last));
    for (const search::MoveCode code : walked.codes) {
        if (code == search::kNullMove) {
            last = {};
        } else {
            last = search::DecodeMove(code);
            ApplyMove(position, side, last, search::PromotionLetter(search::DecodePromotion(code)));
        }
        side = -side;
        if (const auto opening = FindOpening(PositionKey(position, side, last))) named = opening;
    }
    return named;
}

}  // namespace tavrel::openings
