#include "GameReader.h"

#include <algorithm>
#include <utility>

#include "GameStarts.h"
#include "Lexer.h"
#include "core/Notation.h"

namespace tavrel::pgn {
namespace {

using notation::EqualsIgnoringCase;

// A tag value kept for the position: no more than any real value needs, so that a damaged file
// cannot make it huge, and without outer blanks.
std::string ShortValue(std::string_view value) {
    value = value.substr(0, 512);
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(value.substr(first, value.find_last_not_of(' ') - first + 1));
}

// A half-move as the score shows it: from its first letter, digit or "-" on; castling as "O-O"
// and "O-O-O" whichever way it was written; an en passant mark as " e.p.". No move is longer than
// a dozen characters with its annotation; a longer run of bytes is kept only in part, marked as
// cut so that it can never match a move, and the score stays readable when a file holds megabytes
// without a blank.
std::string RowText(const MoveToken& move) {
    std::string_view t = move.written;
    while (!t.empty() && !notation::IsLetter(t[0]) && !notation::IsDigit(t[0]) && t[0] != '-') t.remove_prefix(1);
    if (t.empty()) return {};
    std::string text;
    if (t.size() > kMaxMoveTextBytes) {
        text.assign(t.substr(0, kMaxMoveTextBytes));
        text += kCutMark;
    } else if (const std::size_t castling = notation::CastlingPrefix(t)) {
        text = castling == 3 ? "O-O" : "O-O-O";
        text.append(t.substr(castling));
    } else {
        text.assign(t);
    }
    if (move.enPassant) text += " e.p.";
    return text;
}

class TagReader final : public Visitor {
public:
    Next Tag(std::string_view name, std::string_view value) override {
        tags.push_back({std::string(name), std::string(value)});
        return Next::Go;
    }
    Next BeginMovetext() override { return Next::Skip; }
    std::vector<TagPair> tags;
};

}  // namespace

void RecordReader::BeginGame() {
    game_ = {};
    white_.clear();
    blackTurn_ = afterNumber_ = ended_ = inMovetext_ = false;
    flag_ = true;
}

Next RecordReader::Tag(std::string_view name, std::string_view value) {
    static constexpr std::pair<std::string_view, std::string GameRecord::*> kShown[] = {
        {"White", &GameRecord::WhitePlayer},
        {"Black", &GameRecord::BlackPlayer},
        {"Round", &GameRecord::RoundName},
        {"Event", &GameRecord::EventName}};
    for (const auto& [shown, field] : kShown) {
        if (EqualsIgnoringCase(name, shown)) game_.*field = value;
    }
    if (EqualsIgnoringCase(name, "FEN")) game_.Fen = ShortValue(value);
    if (EqualsIgnoringCase(name, "Variant")) game_.Variant = ShortValue(value);
    return Next::Go;
}

Next RecordReader::BeginMovetext() {
    game_.firstMoveNumber = FenMoveNumber(game_.Fen);
    game_.blackStarts = FenHasBlackToMove(game_.Fen);
    // After a FEN with Black to move the first row has Black's move only ("1... e5" or "23...").
    blackTurn_ = game_.blackStarts;
    inMovetext_ = true;
    return Next::Go;
}

void RecordReader::AddRow(std::string white, std::string black) {
    if (game_.rows.size() < kMaxMoveRows) {
        game_.rows.emplace_back(std::move(white), std::move(black));
    } else {
        game_.rowsDropped = true;
    }
}

// The rows follow the main line only. A move number before White's move is passed over, and so
// is one with dots before Black's; a bare one-digit number where Black's move should stand leaves
// Black's half empty ("1 e4 2 d4").
void RecordReader::MoveNumber(int number, int dots, int depth) {
    if (depth > 0 || ended_) return;
    if (!blackTurn_) {
        afterNumber_ = true;
    } else if (dots == 0 && number < 10) {
        AddRow(std::move(white_), {});
        white_.clear();
        blackTurn_ = false;
    }
}

// The last-row flag: a Black move that ends the game sets it (the slider must reach that last
// position), a White move that ends it clears it, and so does a row whose Black half is a result
// or is missing at the end; a result in White's place sets it.
void RecordReader::Move(const MoveToken& move) {
    if (move.depth > 0 || ended_) return;
    std::string text = RowText(move);
    if (text.empty()) return;
    afterNumber_ = false;
    if (!blackTurn_) {
        white_ = std::move(text);
        blackTurn_ = true;
        if (move.endsGame) {
            AddRow(std::move(white_), {});
            flag_ = false;
            ended_ = true;
        }
    } else {
        AddRow(std::move(white_), std::move(text));
        white_.clear();
        blackTurn_ = false;
        if (move.endsGame) {
            flag_ = true;
            ended_ = true;
        }
    }
}

void RecordReader::Result(std::string_view text, int depth) {
    if (depth > 0 || ended_ || !inMovetext_ || text == notation::kUnfinished) return;
    std::string result(notation::IsDecidedResult(text) ? text : notation::kDraw);
    afterNumber_ = false;
    if (!blackTurn_) {
        white_ = std::move(result);
        flag_ = true;
        blackTurn_ = true;
    } else {
        AddRow(std::move(white_), std::move(result));
        white_.clear();
        flag_ = false;
        blackTurn_ = false;
    }
}

void RecordReader::EndGame(GameEnd how) {
    switch (how) {
        case GameEnd::Empty: game_.outcome = GameRecord::Outcome::AtEnd; return;
        case GameEnd::InComment: game_.outcome = GameRecord::Outcome::EndedInComment; return;
        case GameEnd::BeforeMovetext:
        case GameEnd::Skipped: game_.outcome = GameRecord::Outcome::NoMoves; return;
        case GameEnd::AfterMovetext: game_.outcome = GameRecord::Outcome::Read; break;
    }
    if (!ended_) {
        if (blackTurn_) {
            AddRow(std::move(white_), {});
            flag_ = false;
        } else if (afterNumber_) {
            flag_ = true;  // a move number with no move after it ends the game
        }
    }
    // Rows were dropped after the last one kept, so its Black half is followed by more play.
    game_.lastRowFlag = flag_ || game_.rowsDropped;
}

GameRecord ReadGame(std::string_view game) {
    RecordReader reader;
    LexGame(game, reader);
    return reader.Take();
}

std::vector<TagPair> ReadTagPairs(std::string_view game) {
    TagReader reader;
    reader.tags.reserve(16);
    LexGame(game, reader);
    return std::move(reader.tags);
}

AnnotatedGame ReadAnnotatedGame(std::string_view game) {
    AnnotationCollector collector;
    LexGame(game, collector);
    return collector.Take();
}

std::string_view ReadGameBytes(PgnFile& file, std::string& buffer, std::int64_t end) {
    const std::int64_t from = file.Position();
    if (end <= 0) end = NextGameStart(file, from);
    buffer.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, end - from)));
    buffer.resize(file.ReadBlock(buffer.data(), buffer.size()));
    return buffer;
}

GameRecord ReadGame(PgnFile& file) {
    std::string bytes;
    return ReadGame(ReadGameBytes(file, bytes));
}

}  // namespace tavrel::pgn
