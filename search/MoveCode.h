#pragma once
// A half-move in 16 bits, so that a game's opening can be kept and played again without reading
// its text: origin and target square (six bits each) and the promotion piece. Playing a code
// needs no move generation and no matching.

#include <cstdint>
#include <string_view>

#include "core/Board.h"

namespace tavrel::search {

using MoveCode = std::uint16_t;

// A null move (the side to move passes). No real move has equal origin and target.
constexpr MoveCode kNullMove = 0;

inline int SquareIndex(Square s) { return (s.row - 1) * 8 + (s.col - 1); }
inline Square SquareAt(int index) { return {static_cast<int16_t>(index / 8 + 1), static_cast<int16_t>(index % 8 + 1)}; }

// Promotion letters by number: 0 none, then Q R B N.
inline int PromotionNumber(std::string_view letter) {
    if (letter.empty()) return 0;
    switch (letter[0]) {
        case 'R': case 'r': return 2;
        case 'B': case 'b': return 3;
        case 'N': case 'n': return 4;
        default: return 1;
    }
}
inline std::string_view PromotionLetter(int number) {
    constexpr std::string_view kLetters[] = {"", "Q", "R", "B", "N"};
    return number >= 0 && number <= 4 ? kLetters[number] : "";
}

inline MoveCode EncodeMove(Move move, int promotion) {
    return static_cast<MoveCode>(SquareIndex(move.from) | (SquareIndex(move.to) << 6) | (promotion << 12));
}
inline Move DecodeMove(MoveCode code) { return {SquareAt(code & 63), SquareAt((code >> 6) & 63)}; }
inline int DecodePromotion(MoveCode code) { return code >> 12; }

}  // namespace tavrel::search
