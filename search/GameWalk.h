#pragma once
// Replaying one game's text into move codes, with what the opening tree needs of its tags.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "MoveCode.h"

namespace tavrel::search {

enum class Outcome : std::uint8_t { Unknown = 0, WhiteWins = 1, Draw = 2, BlackWins = 3 };

struct WalkedGame {
    std::vector<MoveCode> codes;  // the main line's half-moves from the game's start, as far as kept
    // Every half-move the game can replay is in `codes`: the game ended, or its next move is not
    // legal (a game counts up to its last legal move). False when the walk stopped at its limit.
    bool complete = false;
    // A game of another variant, or one whose FEN cannot be used: it takes part in no search.
    bool excluded = false;
    Outcome outcome = Outcome::Unknown;
    std::uint16_t year = 0;        // from the Date tag; 0 when unknown
    std::uint16_t whiteElo = 0;    // 0 when the tag is absent or not a number
    std::uint16_t blackElo = 0;
    std::string fen;               // the FEN tag, for a game from a set-up position
};

// What a walk keeps of a tag pair into `game`, the Variant tag's value into `variant`; true for
// the Result tag, which then decides the outcome over any termination marker.
bool KeepTag(std::string_view name, std::string_view value, WalkedGame& game, std::string& variant);
// The outcome a Result tag or termination marker gives.
Outcome OutcomeOf(std::string_view text);

// Reads the game's bytes (as the index cuts them) through the one lexer and plays its main line
// with the move matcher, keeping at most `maxPlies` half-moves. Only as many bytes as that needs
// are read where the game is long.
WalkedGame WalkGame(std::string_view bytes, int maxPlies);
// The same into `game`, whose memory is kept: a pass over a whole file walks millions of games.
void WalkGame(std::string_view bytes, int maxPlies, WalkedGame& game);

// Walks games one after another, as WalkGame does, remembering each first move it matched from
// the start position by its text: a pass over a file meets the same few first moves millions of
// times, and most of its games need nothing more than that move.
class GameWalker {
public:
    void Walk(std::string_view bytes, int maxPlies, WalkedGame& game);

    struct FirstMove {
        std::string san;
        MoveCode code = 0;
        bool legal = false;
    };

private:
    std::vector<FirstMove> firstMoves_;
};

}  // namespace tavrel::search
