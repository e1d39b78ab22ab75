#include "SanMatch.h"

#include <algorithm>
#include <span>
#include <utility>

#include "MoveGen.h"
#include "MoveGenDetail.h"
#include "Notation.h"

namespace tavrel {
namespace {

using notation::IsFile;
bool IsPromotionLetter(char c) { return c == 'Q' || c == 'R' || c == 'B' || c == 'N'; }
bool IsAnnotation(char c) { return c == '!' || c == '?'; }
constexpr auto Upper = notation::ToUpper;

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
    // Most texts end in their target's rank, or that and one check mark ("Nf3", "exd5+"): nothing
    // else to cut. A rank after "=" is a promotion (to nothing) and takes the long way.
    const std::size_t size = t.size();
    const std::size_t marks = size >= 1 && (t.back() == '+' || t.back() == '#') ? 1 : 0;
    if (size >= marks + 2 && t[size - marks - 1] >= '1' && t[size - marks - 1] <= '8' &&
        t[size - marks - 2] != '=' && t[size - marks - 2] != '+') {
        return t.substr(0, size - marks);
    }
    while (!t.empty() && IsAnnotation(t.back())) t.remove_suffix(1);
    t = CutEnPassantMark(t);
    // One check mark, or "++" as some files mark a double check or mate.
    if (t.ends_with("++")) t.remove_suffix(1);
    if (!t.empty() && (t.back() == '+' || t.back() == '#')) t.remove_suffix(1);
    while (!t.empty() && IsAnnotation(t.back())) t.remove_suffix(1);
    t = CutEnPassantMark(t);

    const std::size_t n = t.size();
    if (n >= 2 && t[n - 2] == '=') {
        query.hasPromotion = true;
        query.promotion = t.back();
        t.remove_suffix(2);
    } else if (n >= 3 && IsPromotionLetter(t.back()) && (t[n - 2] == '1' || t[n - 2] == '8') &&
               IsFile(t[n - 3])) {
        query.hasPromotion = true;
        query.promotion = t.back();
        t.remove_suffix(1);
    }
    return t;
}

void StorePromotion(GameState& state, const SanQuery& query) {
    if (!query.hasPromotion) return;
    std::string& stored = state.Moves.MovePromotion(state.MoveNumber, state.SideToMove);
    stored.clear();
    if (query.promotion.letter) stored += query.promotion.letter;
}

Move Remember(GameState& state, Move found) {
    state.Match = found;
    if (!found.IsNone()) state.Moves.MoveSquares(state.SideToMove, state.MoveNumber) = found;
    return found;
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
    } else if (const int sides = notation::CastlingSides(t)) {  // "O-O", "0-0", "o-o" and long
        query.target = {static_cast<int16_t>(side == White ? 8 : 1), static_cast<int16_t>(sides == 2 ? 7 : 3)};
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
        query.promotion = Upper(t.back());
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
    return notation::IsNullMoveSpelling(text);
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

TextMatch MatchQuery(Position& pos, int side, Move opponentLast, const SanQuery& query, CheckState known) {
    TextMatch match;
    if (query.wanted == 0 || !query.target.onBoard()) return match;
    const Board& b = pos.GameBoard;
    const Square to = query.target;
    const auto fits = [&](int row, int col) {
        return b(row, col) == query.wanted && (!query.fromRow || row == query.fromRow) &&
               (!query.fromCol || col == query.fromCol);
    };
    const auto add = [&](Square from) { match.from[static_cast<std::size_t>(match.fits++)] = from; };
    // Knights and sliders are found from the target: a slider is the first piece on a ray.
    const auto plain = [&](int row, int col) {
        const Square from{static_cast<int16_t>(row), static_cast<int16_t>(col)};
        if (fits(row, col) && detail::CandidateIsLegal(pos, side, from, to, detail::CandidateKind::Plain, known)) add(from);
    };
    const auto ray = [&](int d) {
        if (const int16_t* hit = detail::FirstPieceOnRay(b, to, d)) {
            const int index = static_cast<int>(hit - b.Cells());
            plain(index / Board::kStride - 1, index % Board::kStride - 1);
        }
    };
    const int kind = query.wanted * side;
    if (kind != Piece::King && kind != Piece::Pawn && b[to] * side > 0) return match;  // its own piece stands there
    switch (kind) {
        case Piece::Knight:
            for (const auto& [dr, dc] : {std::pair{-1, -2}, {1, -2}, {-1, 2}, {1, 2}, {-2, -1}, {2, -1}, {-2, 1}, {2, 1}}) {
                plain(to.row + dr, to.col + dc);
            }
            break;
        case Piece::Bishop:
        case Piece::Rook:
        case Piece::Queen:
            // Directions 0..3 are a rook's, 4..7 a bishop's.
            for (int d = kind == Piece::Bishop ? 4 : 0; d < (kind == Piece::Rook ? 4 : 8); ++d) ray(d);
            break;
        case Piece::Pawn:
        case Piece::King: {
            // Kings and pawns move by rules of their own (castling, double steps, en passant): the
            // generator's rule for the one target decides whether a piece nearby gets there.
            // Pawns come from behind the target ("behind" is towards the pawn's own side). The
            // king is where its record says (a position the program accepts has one king a side);
            // a board set up by hand without the record is searched around the target.
            const auto at = [](int row, int col) { return Square{static_cast<int16_t>(row), static_cast<int16_t>(col)}; };
            std::array<Square, 10> near{};
            std::size_t count = 0;
            if (kind == Piece::Pawn) {
                near = {at(to.row + side, to.col), at(to.row + 2 * side, to.col), at(to.row + side, to.col - 1),
                        at(to.row + side, to.col + 1)};
                count = 4;
            } else if (const Square king = pos.KingState[side].square; king.onBoard() && b[king] == query.wanted) {
                near[count++] = king;
            } else {
                for (int dr = -1; dr <= 1; ++dr) {
                    for (int dc = -2; dc <= 2; ++dc) {
                        if ((dr || dc) && (dr == 0 || (dc >= -1 && dc <= 1))) near[count++] = at(to.row + dr, to.col + dc);
                    }
                }
            }
            const std::span<const Square> froms(near.data(), count);
            for (const Square from : froms) {
                if (!from.onBoard() || !fits(from.row, from.col)) continue;
                using detail::Reach;
                const Reach reach = kind == Piece::Pawn ? detail::PawnReaches(b, side, from, to, opponentLast)
                                                        : detail::KingReaches(pos, side, from, to);
                if (reach == Reach::No) continue;
                const auto how = reach == Reach::Castle      ? detail::CandidateKind::Castle
                                 : reach == Reach::EnPassant ? detail::CandidateKind::EnPassant
                                                             : detail::CandidateKind::Plain;
                if (detail::CandidateIsLegal(pos, side, from, to, how, known)) add(from);
            }
            break;
        }
        default:
            break;
    }
    if (match.fits == 1) match.move = {match.from[0], to};
    // Several pieces are named in board order, file by file from a1, however they were found.
    if (match.fits > 1) {
        std::sort(match.from.begin(), match.from.begin() + match.fits, [](Square x, Square y) {
            return x.col != y.col ? x.col < y.col : x.row > y.row;
        });
    }
    return match;
}

TextMatch MatchText(Position& pos, int side, Move opponentLast, std::string_view text, SanQuery& query,
                    CheckState known) {
    query = ParseSan(text, side);
    TextMatch match = MatchQuery(pos, side, opponentLast, query, known);
    if (match.fits > 0) return match;
    const SanQuery coordinates = ParseCoordinates(pos.GameBoard, text, side);
    if (coordinates.wanted == 0) return match;
    TextMatch read = MatchQuery(pos, side, opponentLast, coordinates, known);
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
