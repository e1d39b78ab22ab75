#include "LineReplay.h"

#include <array>

#include "MakeMove.h"
#include "Replay.h"
#include "SanMatch.h"

namespace tavrel {

Move LastMoveAt(const GameState& game, int v) {
    if (v < 0) return game.SetUp ? game.SetUp->opponentLast : Move();
    // v + 1 half-moves are behind; counted from White's half of the first row, which a game
    // that starts with Black's move leaves out, the last one is White's when that count is odd.
    const int half = v + (game.BlackStarts() ? 1 : 0);
    return game.Moves.ResolvedSquares(half % 2 == 0 ? White : Black, half / 2 + 1);
}

LinePosition GamePositionAt(GameState game, int v) {
    ShowSliderValue(game, v);
    LinePosition at;
    at.position = game;
    at.sideToMove = game.SideToMove;
    at.last = LastMoveAt(game, v);
    if (v >= 0) {
        const int half = v + (game.BlackStarts() ? 1 : 0);
        at.sideToMove = static_cast<int16_t>(half % 2 == 0 ? Black : White);
    }
    return at;
}

LinePosition PlayLine(LinePosition at, const std::vector<std::string>& texts) {
    at.played = 0;
    for (const std::string& text : texts) {
        Move move;
        if (!IsNullMoveText(text)) {
            SanQuery query;
            move = FindTextMove(at.position, at.sideToMove, at.last, text, query);
            if (move.IsNone()) break;
            ApplyMove(at.position, at.sideToMove, move, query.promotion);
        }
        at.last = move;
        at.sideToMove = static_cast<int16_t>(-at.sideToMove);
        ++at.played;
    }
    return at;
}

namespace {

std::string CastlingText(const Position& pos) {
    std::string text;
    for (int side : {White, Black}) {
        const KingRecord& king = pos.KingState[side];
        const int row = side == White ? 8 : 1;
        if (king.square != Square{static_cast<int16_t>(row), 5} || (king.CastleFlags & Castle::KingMoved)) continue;
        if (!(king.CastleFlags & Castle::KingSideBarred) && pos.GameBoard(row, 8) == side * Piece::Rook) {
            text += side == White ? 'K' : 'k';
        }
        if (!(king.CastleFlags & Castle::QueenSideBarred) && pos.GameBoard(row, 1) == side * Piece::Rook) {
            text += side == White ? 'Q' : 'q';
        }
    }
    return text.empty() ? "-" : text;
}

std::string EnPassantText(const LinePosition& at) {
    const Move last = at.last;
    if (last.IsNone() || std::abs(at.position.GameBoard[last.to]) != Piece::Pawn) return "-";
    if (std::abs(last.to.row - last.from.row) != 2 || last.to.col != last.from.col) return "-";
    return AlgebraicName(Square{static_cast<int16_t>((last.to.row + last.from.row) / 2), last.to.col});
}

}  // namespace

std::string FenText(const LinePosition& at, int halfMoveClock, int moveNumber) {
    return FenPlacement(at.position.GameBoard) + (at.sideToMove == White ? " w " : " b ") +
           CastlingText(at.position) + ' ' + EnPassantText(at) + ' ' + std::to_string(halfMoveClock) + ' ' +
           std::to_string(moveNumber);
}

std::string GameFen(GameState game, int v) {
    // The clock restarts whenever a pawn moved or a piece was taken: a pawn's square changed or
    // the number of pieces fell.
    struct PawnsAndCount {
        std::array<int16_t, 64> pawns{};
        int pieces = 0;
        bool operator==(const PawnsAndCount&) const = default;
    };
    const auto pawnsAndCount = [](const Board& board) {
        PawnsAndCount seen;
        for (int r = 1; r <= 8; ++r) {
            for (int c = 1; c <= 8; ++c) {
                const int16_t code = board(r, c);
                seen.pieces += code != 0;
                seen.pawns[static_cast<std::size_t>((r - 1) * 8 + c - 1)] = std::abs(code) == Piece::Pawn ? code : 0;
            }
        }
        return seen;
    };
    ShowSliderValue(game, -1);
    int clock = game.SetUp ? game.SetUp->halfMoveClock : 0;
    PawnsAndCount before = pawnsAndCount(game.GameBoard);
    for (int step = 0; step <= v; ++step) {
        ShowSliderValue(game, step);
        const PawnsAndCount after = pawnsAndCount(game.GameBoard);
        clock = after == before ? clock + 1 : 0;
        before = after;
    }
    const LinePosition at = GamePositionAt(game, v);
    // The move number goes up after each Black half-move, counted on from the game's start.
    const int firstNumber = game.SetUp ? game.SetUp->fullMoveNumber : 1;
    const int halvesFromWhite = v + 1 + (game.BlackStarts() ? 1 : 0);
    return FenText(at, clock, firstNumber + halvesFromWhite / 2);
}

}  // namespace tavrel
