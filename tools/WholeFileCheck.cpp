#include "WholeFileCheck.h"

#include <algorithm>

#include "CheckReport.h"
#include "core/Notation.h"
#include "pgn/GameRecord.h"
#include "pgn/Lexer.h"

namespace tavrel {
namespace {

// A tag value the replay starts from, as the viewer reads it: no more than any real value needs,
// without outer blanks.
void KeepStartValue(std::string& out, std::string_view value) {
    value = value.substr(0, std::min<std::size_t>(value.size(), 512));
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    out.assign(value);
}

class CheckVisitor final : public pgn::Visitor {
public:
    using Tags = CheckWorker::Tags;
    CheckVisitor(CheckReplay& replay, Tags& tags, std::string& text) : replay_(replay), tags_(tags), text_(text) {}

    void BeginGame() {
        tags_.white = "None";
        tags_.black = "None";
        tags_.event = "No Event";
        tags_.round = "None";
        tags_.fen.clear();
        tags_.variant.clear();
        started_ = false;
    }

    pgn::Next Tag(std::string_view name, std::string_view value) {
        using notation::EqualsIgnoringCase;
        if (EqualsIgnoringCase(name, "White")) {
            tags_.white.assign(value);
        } else if (EqualsIgnoringCase(name, "Black")) {
            tags_.black.assign(value);
        } else if (EqualsIgnoringCase(name, "Event")) {
            tags_.event.assign(value);
        } else if (EqualsIgnoringCase(name, "Round")) {
            tags_.round.assign(value);
        } else if (EqualsIgnoringCase(name, "FEN")) {
            KeepStartValue(tags_.fen, value);
        } else if (EqualsIgnoringCase(name, "Variant")) {
            KeepStartValue(tags_.variant, value);
        }
        return pgn::Next::Go;
    }

    pgn::Next BeginMovetext() {
        Start();
        return pgn::Next::Go;
    }

    // Only the main line is replayed.
    pgn::Next BeginVariation() { return pgn::Next::Skip; }

    void Move(const pgn::MoveToken& move) {
        if (move.depth != 0) return;
        replay_.HalfMove(TextOf(move));
    }

    // A decided result takes a half-move's place in the game's rows; "*" takes none.
    void Result(std::string_view text, int depth) {
        if (depth == 0 && (notation::IsDecidedResult(text) || text == "\xC2\xBD-\xC2\xBD")) replay_.HalfMove({});
    }

    void EndGame(pgn::GameEnd) {
        Start();
        replay_.Finish();
    }

private:
    void Start() {
        if (started_) return;
        started_ = true;
        replay_.Start(tags_.fen, tags_.variant, pgn::FenHasBlackToMove(tags_.fen));
    }

    // The move's text as the score keeps it: castling in any spelling as "O-O" or "O-O-O" with
    // its marks, an en passant mark written apart joined on, and a run of bytes longer than any
    // move cut and marked, so that it can never match.
    std::string_view TextOf(const pgn::MoveToken& move) {
        std::string_view text = move.written;
        if (const std::size_t castling = notation::CastlingPrefix(text)) {
            text_.assign(castling == 3 ? "O-O" : "O-O-O");
            text_.append(text.substr(castling));
            return text_;
        }
        if (move.enPassant) {
            text_.assign(text);
            text_.append(" e.p.");
            return text_;
        }
        if (text.size() > pgn::kMaxMoveTextBytes) {
            text_.assign(text.substr(0, pgn::kMaxMoveTextBytes));
            text_ += pgn::kCutMark;
            return text_;
        }
        return text;
    }

    CheckReplay& replay_;
    Tags& tags_;
    std::string& text_;
    bool started_ = false;
};

}  // namespace

void CheckWorker::Game(std::int64_t number, std::string_view bytes, std::string& out) {
    CheckReplay replay(state_, check_, fens_);
    CheckVisitor visitor(replay, tags_, text_);
    pgn::LexGame(bytes, visitor);
    allMatched = allMatched && check_.unmatched.empty() && check_.error.empty();
    AppendGameReport(out, number, {tags_.white, tags_.black, tags_.event, tags_.round}, check_, fens_);
}

}  // namespace tavrel
