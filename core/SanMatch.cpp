#include "SanMatch.h"

#include <cstdlib>

#include "MoveGen.h"
#include "MoveGenDetail.h"

namespace tavrel {
namespace {

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsPromotionLetter(char c) { return c == 'Q' || c == 'R' || c == 'B' || c == 'N'; }
bool IsAnnotation(char c) { return c == '!' || c == '?'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A rank character as a row: "8" is row 1, "1" row 8; anything that is not a digit counts as 0
// and gives row 9, which no move reaches.
int16_t RowOf(char c) {
    const int value = (c >= '0' && c <= '9') ? c - '0' : 0;
    return static_cast<int16_t>(9 - value);
}

int16_t CodeOfLetter(char letter) {
    switch (letter) {
        case 'P': return Piece::Pawn;
        case 'K': return Piece::King;
        case 'O': return Piece::King;  // castling
        case 'Q': return Piece::Queen;
        case 'B': return Piece::Bishop;
        case 'N': return Piece::Knight;
        case 'R': return Piece::Rook;
        default: return 0;
    }
}

void SetTarget(SanQuery& query, char file, char rank) {
    query.target.col = static_cast<int16_t>(IsFile(file) ? file - 'a' + 1 : 0);
    query.target.row = RowOf(rank);
}

// The mark "e.p." that some files put after an en passant capture ("exd6e.p.", "exd6 e.p."):
// the capture is read from the board, so the mark is only cut off.
std::string_view CutEnPassantMark(std::string_view t) {
    constexpr std::string_view kMark = "e.p.";
    if (t.size() <= kMark.size() || t.substr(t.size() - kMark.size()) != kMark) return t;
    t.remove_suffix(kMark.size());
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

std::string_view CutSuffixes(std::string_view t, SanQuery& query) {
    while (!t.empty() && IsAnnotation(t.back())) t.remove_suffix(1);
    t = CutEnPassantMark(t);
    if (!t.empty() && (t.back() == '+' || t.back() == '#')) t.remove_suffix(1);
    while (!t.empty() && IsAnnotation(t.back())) t.remove_suffix(1);
    t = CutEnPassantMark(t);

    const std::size_t n = t.size();
    if (n >= 2 && t[n - 2] == '=') {
        query.hasPromotion = true;
        query.promotion = std::string(1, t.back());
        t.remove_suffix(2);
    } else if (n >= 3 && IsPromotionLetter(t.back()) && (t[n - 2] == '1' || t[n - 2] == '8') &&
               IsFile(t[n - 3])) {
        query.hasPromotion = true;
        query.promotion = std::string(1, t.back());
        t.remove_suffix(1);
    }
    return t;
}

void StorePromotion(GameState& state, const SanQuery& query) {
    if (query.hasPromotion) state.Moves.MovePromotion(state.MoveNumber, state.SideToMove) = query.promotion;
}

Move Remember(GameState& state, Move found) {
    state.Match = found;
    if (!found.IsNone()) state.Moves.MoveSquares(state.SideToMove, state.MoveNumber) = found;
    return found;
}

// A cheap geometric test that rules out pieces which cannot stand on a line to the target, so
// that the candidate walk runs only for pieces that might get there.
bool CouldReach(int kind, Square from, Square to) {
    const int dr = std::abs(to.row - from.row), dc = std::abs(to.col - from.col);
    switch (kind) {
        case Piece::Knight: return (dr == 1 && dc == 2) || (dr == 2 && dc == 1);
        case Piece::Bishop: return dr == dc;
        case Piece::Rook: return dr == 0 || dc == 0;
        case Piece::Queen: return dr == dc || dr == 0 || dc == 0;
        case Piece::King: return (dr <= 1 && dc <= 1) || (dr == 0 && dc == 2);
        case Piece::Pawn: return dc <= 1 && dr <= 2;
        default: return false;
    }
}

bool AnyFit(const Board& board, const MoveList& moves, const SanQuery& query) {
    for (const Move& move : moves) {
        if (FitsQuery(board, move, query)) return true;
    }
    return false;
}

}  // namespace

SanQuery ParseSan(std::string_view text, int side) {
    SanQuery query;
    std::string_view t = CutSuffixes(text, query);
    char letter = 0;
    if (t.size() == 2) {
        SetTarget(query, t[0], t[1]);
        letter = 'P';
    } else if (t == "O-O" || t == "O-O-O") {
        query.target = {static_cast<int16_t>(side == White ? 8 : 1),
                        static_cast<int16_t>(t.size() == 3 ? 7 : 3)};
        letter = 'O';
    } else {
        if (t.empty()) return query;
        if (IsFile(t.front())) {
            letter = 'P';
        } else {
            letter = t.front();
            t.remove_prefix(1);
        }
        if (t.size() < 2) return SanQuery{};
        SetTarget(query, t[t.size() - 2], t.back());
        for (char c : t.substr(0, t.size() - 2)) {
            if (IsFile(c)) query.fromCol = static_cast<int16_t>(c - 'a' + 1);
            if (c >= '1' && c <= '8') query.fromRow = RowOf(c);
        }
    }
    query.wanted = static_cast<int16_t>(CodeOfLetter(letter) * side);
    return query;
}

SanQuery ParseCoordinates(const Board& board, std::string_view text, int side) {
    SanQuery query;
    std::string_view t = CutSuffixes(text, query);
    // Engines write the promotion piece in lower case: "e7e8q".
    const std::size_t n = t.size();
    if (!query.hasPromotion && n >= 5 && IsPromotionLetter(Upper(t.back())) && (t[n - 2] == '1' || t[n - 2] == '8')) {
        query.hasPromotion = true;
        query.promotion = std::string(1, Upper(t.back()));
        t.remove_suffix(1);
    }
    const bool joined = t.size() == 5 && (t[2] == '-' || t[2] == 'x');
    if (t.size() != 4 && !joined) return SanQuery{};
    const std::string_view to = t.substr(t.size() - 2);
    const Square from = SquareFromAlgebraic(t.substr(0, 2));
    if (!from.onBoard() || board[from] * side <= 0 || !IsFile(to[0])) return SanQuery{};
    query.wanted = board[from];
    query.fromRow = from.row;
    query.fromCol = from.col;
    SetTarget(query, to[0], to[1]);
    return query;
}

bool IsNullMoveText(std::string_view text) {
    while (!text.empty() && (IsAnnotation(text.back()) || text.back() == '+' || text.back() == '#')) {
        text.remove_suffix(1);
    }
    return text == "--" || text == "Z0" || text == "0000";
}

bool FitsQuery(const Board& board, Move move, const SanQuery& query) {
    return query.wanted != 0 && move.to == query.target && board[move.from] == query.wanted &&
           (query.fromRow == 0 || move.from.row == query.fromRow) &&
           (query.fromCol == 0 || move.from.col == query.fromCol);
}

Move OnlyFit(const Board& board, const MoveList& moves, const SanQuery& query) {
    Move only;
    for (const Move& move : moves) {
        if (!FitsQuery(board, move, query)) continue;
        if (!only.IsNone()) return {};
        only = move;
    }
    return only;
}

TextMatch MatchQuery(Position& pos, int side, Move opponentLast, const SanQuery& query) {
    TextMatch match;
    if (query.wanted == 0 || !query.target.onBoard()) return match;
    const PieceList& list = pos.PieceListOf(side);
    for (int slot = 1; slot <= 16; ++slot) {
        const Square from = list[static_cast<std::size_t>(slot)];
        if (from.row <= 0 || pos.GameBoard[from] != query.wanted) continue;
        if ((query.fromRow && from.row != query.fromRow) || (query.fromCol && from.col != query.fromCol)) {
            continue;
        }
        if (!CouldReach(query.wanted * side, from, query.target)) continue;
        // A piece reaches a given square by at most one candidate, so the first legal candidate
        // onto the target is this slot's only fit.
        bool found = false;
        detail::VisitPieceCandidates(pos, side, from, opponentLast,
                                     [&](Square to, detail::CandidateKind kind) {
                                         if (!(to == query.target)) return false;
                                         found = detail::CandidateIsLegal(pos, side, from, to, kind);
                                         return true;
                                     });
        if (found) match.from[static_cast<std::size_t>(match.fits++)] = from;
    }
    if (match.fits == 1) match.move = {match.from[0], query.target};
    return match;
}

TextMatch MatchText(Position& pos, int side, Move opponentLast, std::string_view text, SanQuery& query) {
    query = ParseSan(text, side);
    TextMatch match = MatchQuery(pos, side, opponentLast, query);
    if (match.fits > 0) return match;
    const SanQuery coordinates = ParseCoordinates(pos.GameBoard, text, side);
    if (coordinates.wanted == 0) return match;
    TextMatch read = MatchQuery(pos, side, opponentLast, coordinates);
    if (read.fits > 0) query = coordinates;
    return read;
}

Move FindTextMove(Position& pos, int side, Move opponentLast, std::string_view text, SanQuery& query) {
    return MatchText(pos, side, opponentLast, text, query).move;
}

Move MatchSanMove(GameState& state, std::string_view text) {
    SanQuery query = ParseSan(text, state.SideToMove);
    Move found = OnlyFit(state.GameBoard, state.LegalMoves, query);
    // An ambiguous SAN is not read as coordinates: no text is both.
    if (found.IsNone() && !AnyFit(state.GameBoard, state.LegalMoves, query)) {
        const SanQuery coordinates = ParseCoordinates(state.GameBoard, text, state.SideToMove);
        found = OnlyFit(state.GameBoard, state.LegalMoves, coordinates);
        if (!found.IsNone()) query = coordinates;
    }
    StorePromotion(state, query);
    return Remember(state, found);
}

Move FindSanMove(GameState& state, std::string_view text) {
    SanQuery query;
    const Move found =
        FindTextMove(state, state.SideToMove, OpponentLastMove(state, state.SideToMove), text, query);
    StorePromotion(state, query);
    return Remember(state, found);
}

}  // namespace tavrel
