#include "GameReader.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "GameStarts.h"

namespace tavrel::pgn {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// A move text starts with a letter or a digit, or is the null move "--" of annotators.
bool IsTokenStart(char c) { return IsLetter(c) || IsDigit(c) || c == '-'; }
bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "O-O", "o-o", "0-0" and the long forms, with any check mark or annotation kept, become "O-O"
// and "O-O-O": the matcher knows castling only by those texts.
std::string NormaliseCastling(const std::string& token) {
    std::size_t end = 0;
    while (end < token.size() && (token[end] == 'O' || token[end] == 'o' || token[end] == '0' || token[end] == '-')) {
        ++end;
    }
    std::string head = token.substr(0, end);
    for (char& c : head) c = c == '-' ? '-' : 'O';
    if (head != "O-O" && head != "O-O-O") return token;
    if (token.find_first_not_of("+#!?", end) != std::string::npos) return token;
    return head + token.substr(end);
}

// No move is longer than a dozen characters with its annotation; a longer run of bytes is kept
// only in part, marked as cut so that it can never match a move, and the game score stays
// readable when a file holds megabytes without a blank.
void AppendToMoveText(std::string& token, char c) {
    if (token.size() < kMaxMoveTextBytes) {
        token += c;
    } else if (token.size() == kMaxMoveTextBytes) {
        token += kCutMark;
    }
}

// `text` with its double quotes removed.
std::string WithoutQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t quote = std::min(text.find('"', from), text.size());
        out.append(text.substr(from, quote - from));
        from = quote + 1;
    }
    return out;
}

// A tag's value from `from` on, without its quotes and outer blanks; no more than any real value
// needs, so that a damaged file cannot make it huge.
std::string TagValue(std::string_view content, std::size_t from) {
    std::string value = WithoutQuotes(content.substr(std::min(from, content.size())));
    if (value.size() > 512) value.resize(512);
    return Trim(value);
}

void AddRow(GameRecord& game, const std::string& white, const std::string& black) {
    if (game.rows.size() < kMaxMoveRows) {
        game.rows.emplace_back(Trim(white), Trim(black));
    } else {
        game.rowsDropped = true;
    }
}

class Reader {
public:
    // The game ends where the next one starts, by the same rule the index counts by.
    // `end`, when known, is where that is (the index's next offset); 0 finds it.
    explicit Reader(PgnFile& file, std::vector<TagPair>* tags = nullptr, MovetextReceiver* receiver = nullptr,
                    std::int64_t end = 0)
        : file_(file), tags_(tags), receiver_(receiver), stop_(end > 0 ? end : NextGameStart(file, file.Position())) {}

    GameRecord Read();
    // The tag section only: stops where the movetext begins.
    void ReadTagSection() {
        GameRecord game;
        if (!AtEnd()) ReadTags(game);
    }

private:
    bool FileEnded() { return file_.Position() >= stop_ || file_.AtEnd(); }
    bool AtEnd() { return pendingAt_ >= pending_.size() && FileEnded(); }

    // One character straight from the file (a blank at its end; callers test AtEnd).
    char Raw() {
        char c;
        if (pendingAt_ < pending_.size()) {
            c = pending_[pendingAt_++];
        } else {
            if (FileEnded()) return ' ';
            c = file_.ReadChar();
        }
        lineStart_ = atLineStart_;
        atLineStart_ = c == '\n' || c == '\r';
        if (receiver_) movetext_ += c;
        return c;
    }

    // The next n bytes, read again afterwards.
    std::string Peek(std::size_t n) {
        std::string ahead;
        const bool atLineStart = atLineStart_, lineStart = lineStart_;
        const std::size_t kept = movetext_.size();
        while (ahead.size() < n && !AtEnd()) ahead += Raw();
        movetext_.resize(kept);
        const bool rest = pendingAt_ < pending_.size();
        pending_ = ahead + pending_.substr(std::min(pendingAt_, pending_.size()));
        pendingAt_ = 0;
        if (!rest) pendingIsWholeLine_ = ahead.find_first_of("\r\n") != std::string::npos;
        atLineStart_ = atLineStart;
        lineStart_ = lineStart;
        return ahead;
    }
    char Fetch();
    void SkipComment();
    void SkipVariation();
    void SkipRestOfLine();
    bool ReadTags(GameRecord& game);
    void ReadTag(GameRecord& game);
    void ReadMoves(GameRecord& game);
    void AddTagPair(std::string_view content);
    bool ReadWhiteEntry(GameRecord& game, std::string& white, bool& flag);
    std::string ReadBlackEntry(bool& flag);
    std::string ReadWhiteToken();
    std::string ReadBlackToken(std::string token, bool& flag);
    void JoinEnPassantMark(std::string& token);
    // The null move "--" begins at pgnChar_; no result has two dashes.
    bool StartsNullMove() { return pgnChar_ == '-' && Peek(1) == "-"; }

    PgnFile& file_;
    std::vector<TagPair>* tags_;  // every tag pair in file order, when asked for
    // With a receiver, every character read since the last tag is kept for it.
    MovetextReceiver* receiver_;
    std::string movetext_;
    std::int64_t stop_;           // the next game's first byte
    char pgnChar_ = ' ';
    std::string pending_;  // the rest of a tag line, read again after the tag
    std::size_t pendingAt_ = 0;
    bool pendingIsWholeLine_ = false;  // pending_ runs to a line end (or the game's end)
    bool atLineStart_ = true;  // the next character starts a line
    bool lineStart_ = true;    // the last character read started a line
};

// Skips a brace comment whose "{" was just read. Comments do not nest: a "{" inside one is text,
// and counting it would swallow the rest of the game at the first stray brace.
void Reader::SkipComment() {
    while (!AtEnd()) {
        if (Raw() == '}') return;
    }
}

// Skips a variation whose "(" was just read; variations nest. Comments inside are skipped whole,
// so a ")" in a comment does not end the variation.
void Reader::SkipVariation() {
    long depth = 1;
    while (depth > 0 && !AtEnd()) {
        const char c = Raw();
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == '{') {
            SkipComment();
        }
    }
}

void Reader::SkipRestOfLine() {
    while (!AtEnd()) {
        const char c = Raw();
        if (c == '\n' || c == '\r') return;
    }
}

// The next character of the movetext, with comments, variations, glyphs and escape lines passed
// over. What follows a skipped part is examined in turn, so a second comment right after the
// first is skipped too.
char Reader::Fetch() {
    char c = Raw();
    for (;;) {
        if (c == '{') {
            SkipComment();
        } else if (c == '(') {
            SkipVariation();
        } else if (c == ';' || (c == '%' && lineStart_)) {
            SkipRestOfLine();
            return '\n';
        } else if (c == '$') {
            // A glyph ends at any separator, a line end included, and the separator is returned.
            while (!AtEnd()) {
                c = Raw();
                if (IsSeparator(c)) return c;
            }
            return ' ';
        } else {
            return c;
        }
        if (AtEnd()) return ' ';
        c = Raw();
    }
}

// One tag, its "[" just read. A tag pair lives on one line: it closes at the first "]" outside
// double quotes (backslash escapes honoured), or when the quotes do not pair up, at the line's
// last "]". What follows on the line is read again. The line is parsed where it lies in pending_,
// so a long line of many tags costs its length once, not once per tag.
void Reader::ReadTag(GameRecord& game) {
    if (pendingAt_ >= pending_.size()) {
        pending_.clear();
        pendingAt_ = 0;
        pendingIsWholeLine_ = false;
    }
    // What was read ahead may stop short of the line's end: the rest of the line joins it.
    if (!pendingIsWholeLine_) {
        pendingIsWholeLine_ = true;
        file_.ReadLine(pending_, stop_);
    }
    const std::string_view line = std::string_view(pending_).substr(pendingAt_);
    std::size_t close = std::string_view::npos;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size() && close == std::string_view::npos; ++i) {
        if (line[i] == '\n' || line[i] == '\r') break;
        if (quoted && line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ']' && !quoted) {
            close = i;
        }
    }
    if (close == std::string_view::npos) {
        const std::size_t lineEnd = std::min(line.size(), line.find_first_of("\r\n"));
        close = line.substr(0, lineEnd).rfind(']');
        if (close == std::string_view::npos) close = lineEnd;
    }
    const std::string_view content = line.substr(0, close);
    pendingAt_ += close < line.size() && line[close] == ']' ? close + 1 : close;

    char upper[6];
    const std::size_t keySize = std::min<std::size_t>(6, content.size());
    for (std::size_t i = 0; i < keySize; ++i) upper[i] = Upper(content[i]);
    const std::string_view key(upper, keySize);
    if (tags_) AddTagPair(content);
    static constexpr std::pair<std::string_view, std::string GameRecord::*> kShown[] = {
        {"WHITE ", &GameRecord::WhitePlayer}, {"BLACK ", &GameRecord::BlackPlayer},
        {"ROUND ", &GameRecord::RoundName}, {"EVENT ", &GameRecord::EventName}};
    for (const auto& [name, field] : kShown) {
        if (key == name) game.*field = WithoutQuotes(content.substr(keySize));
    }
    if (key.starts_with("FEN ")) game.Fen = TagValue(content, 4);
    if (key == "VARIAN" && content.size() > 7 && Upper(content[6]) == 'T' && content[7] == ' ') {
        game.Variant = TagValue(content, 8);
    }
}

// The name runs to the first separator; the value is what follows that one separator with its
// double quotes removed, as the four tags the window shows are read.
void Reader::AddTagPair(std::string_view content) {
    std::size_t end = 0;
    while (end < content.size() && !IsSeparator(content[end])) ++end;
    tags_->push_back({std::string(content.substr(0, end)), WithoutQuotes(content.substr(std::min(end + 1, content.size())))});
}

// Returns true when the movetext begins (pgnChar_ holds its first character). Tags come in any
// order; the movetext begins where the index's rule sees the first move, wherever it stands.
bool Reader::ReadTags(GameRecord& game) {
    for (;;) {
        if (AtEnd()) {
            game.outcome = GameRecord::Outcome::EndedInTags;
            return false;
        }
        if (pgnChar_ != '[') {
            pgnChar_ = Raw();
            // Comments before the moves are skipped whole: a digit in one is not the first move
            // number, a "[" in one not a tag.
            if (pgnChar_ == '{') {
                SkipComment();
                pgnChar_ = ' ';
                continue;
            }
            if (pgnChar_ == ';' || (pgnChar_ == '%' && lineStart_)) {
                SkipRestOfLine();
                pgnChar_ = ' ';
                continue;
            }
        }
        if (pgnChar_ != '[') {
            if ((IsDigit(pgnChar_) || IsLetter(pgnChar_)) && BeginsMove(pgnChar_ + Peek(GameStartScan::kAhead - 1))) return true;
            if (AtEnd()) break;
            continue;
        }
        pgnChar_ = ' ';
        ReadTag(game);
        movetext_.clear();
        if (AtEnd()) break;
    }
    game.outcome = GameRecord::Outcome::NoMoves;
    return false;
}

// "exd6 e.p.": the mark written apart after an en passant capture belongs to the capture, and
// read as a half-move of its own it would shift every move after it to the other side.
void Reader::JoinEnPassantMark(std::string& token) {
    const bool pawnCapture = token.size() >= 4 && token[0] >= 'a' && token[0] <= 'h' &&
                             (token[1] == 'x' || token[2] == 'x' || token.size() == 4);
    if (!pawnCapture || !IsSeparator(pgnChar_) || AtEnd()) return;
    const std::string ahead = Peek(6);
    std::size_t at = 0;
    while (at < ahead.size() && (ahead[at] == ' ' || ahead[at] == '\t')) ++at;
    const std::size_t end = at + 4;
    if (ahead.compare(at, 4, "e.p.") != 0 || (end < ahead.size() && !IsSeparator(ahead[end]))) return;
    for (std::size_t i = 0; i < end; ++i) Raw();
    token += " e.p.";
    pgnChar_ = ' ';
}

std::string Reader::ReadWhiteToken() {
    while (!IsTokenStart(pgnChar_) && pgnChar_ != '[' && !AtEnd()) pgnChar_ = Fetch();
    if (!IsTokenStart(pgnChar_)) return {};
    std::string token(1, pgnChar_);
    while (!AtEnd()) {
        pgnChar_ = Fetch();
        if (IsSeparator(pgnChar_) || pgnChar_ == '[') break;
        AppendToMoveText(token, pgnChar_);
    }
    JoinEnPassantMark(token);
    return NormaliseCastling(token);
}

// A Black move that runs into the next game's "[" or the end of the file is the game's last
// position, so the slider must reach it; one that ends at a blank leaves the flag as it was.
std::string Reader::ReadBlackToken(std::string token, bool& flag) {
    while (!AtEnd()) {
        pgnChar_ = Fetch();
        if (IsSeparator(pgnChar_) || pgnChar_ == '[') break;
        AppendToMoveText(token, pgnChar_);
    }
    JoinEnPassantMark(token);
    if (AtEnd() || pgnChar_ == '[') flag = true;
    return NormaliseCastling(token);
}

// White's entry: from the move number to its ".", or a result standing here. A move number
// written without its period ("15 Qc2") ends at the first letter after it. False when the game
// ends here: at its end, at the next game's "[", or on this White half.
bool Reader::ReadWhiteEntry(GameRecord& game, std::string& white, bool& flag) {
    while (IsSeparator(pgnChar_) && !AtEnd()) pgnChar_ = Fetch();
    // Movetext written without move numbers: the letter begins White's move.
    bool afterNumber = IsLetter(pgnChar_);
    // After a move number without its period, a "0" begins castling written with zeros
    // ("11 0-0"), not a result: the result forms are told apart once the token is read.
    bool castlingMayStart = false;
    while (pgnChar_ != '.' && pgnChar_ != '/' && pgnChar_ != '-' && pgnChar_ != '[' && !AtEnd() &&
           !(afterNumber && IsLetter(pgnChar_)) && !(castlingMayStart && pgnChar_ == '0')) {
        afterNumber = afterNumber || IsSeparator(pgnChar_);
        castlingMayStart = IsSeparator(pgnChar_);
        pgnChar_ = Fetch();
    }
    if (AtEnd() || pgnChar_ == '[') {
        if (AtEnd()) flag = true;
        return false;
    }
    if (pgnChar_ == '/') {
        for (int i = 0; i < 5 && !AtEnd(); ++i) Raw();
        white = "1/2-1/2";
        flag = true;
    } else if (pgnChar_ == '-' && !StartsNullMove()) {
        white = Raw() == '0' ? "1-0" : "0-1";
        flag = true;
    } else {
        if (pgnChar_ == '.') pgnChar_ = Fetch();
        white = ReadWhiteToken();
        if (white == "0-1") flag = true;  // a result after a bare move number, as above
        // The game ends on White's half: the slider stops at it, and Black's entry is not
        // looked for in the next game's tags.
        if (AtEnd() || pgnChar_ == '[') {
            if (!Trim(white).empty()) {
                flag = false;
                AddRow(game, white, {});
            }
            return false;
        }
    }
    return true;
}

// Black's entry: a move, a move number with dots before it, or a result.
std::string Reader::ReadBlackEntry(bool& flag) {
    std::string black;
    while (!IsTokenStart(pgnChar_) && pgnChar_ != '[' && !AtEnd()) pgnChar_ = Fetch();
    if (pgnChar_ == '[' || !IsTokenStart(pgnChar_)) {
        flag = false;
    } else if (!IsDigit(pgnChar_)) {
        if (AtEnd()) {
            flag = false;
        } else {
            black = ReadBlackToken(std::string(1, pgnChar_), flag);
        }
    } else {
        const char first = pgnChar_;
        pgnChar_ = Fetch();
        if (pgnChar_ == '/') {
            for (int i = 0; i < 5 && !AtEnd(); ++i) Raw();
            black = "1/2-1/2";
            flag = false;
        } else if (pgnChar_ == '-') {
            const char next = Fetch();
            if (first == '0' && next == '0') {
                black = ReadBlackToken("0-0", flag);  // castling written with zeros
            } else {
                black = next == '0' ? "1-0" : "0-1";
                flag = false;
                pgnChar_ = ' ';
            }
        } else if (first == '0' && pgnChar_ == '0') {
            black = ReadBlackToken("00", flag);  // the null move "0000"
        } else if (pgnChar_ == '.' || IsDigit(pgnChar_)) {
            while (IsDigit(pgnChar_) && !AtEnd()) pgnChar_ = Fetch();
            // The move after the number: a letter, castling or a null move in zeros, or "--".
            while (!IsLetter(pgnChar_) && pgnChar_ != '0' && !StartsNullMove() && pgnChar_ != '[' && !AtEnd()) {
                pgnChar_ = Fetch();
            }
            if (IsLetter(pgnChar_) || pgnChar_ == '0' || pgnChar_ == '-') {
                black = ReadBlackToken(std::string(1, pgnChar_), flag);
            } else {
                flag = false;
            }
        }
    }
    return black;
}

// The last-row flag is set when reading starts; only a result, the end of the game right after a
// half-move, or a Black entry left empty set or clear it. The slider's maximum follows from it.
void Reader::ReadMoves(GameRecord& game) {
    bool flag = true;
    // After a FEN with Black to move the first row has Black's move only ("1... e5" or "23...").
    bool blackFirst = game.blackStarts;
    for (;;) {
        std::string white;
        if (!blackFirst) {
            if (!ReadWhiteEntry(game, white, flag)) break;
            pgnChar_ = ' ';
        }
        blackFirst = false;
        const std::string black = ReadBlackEntry(flag);
        AddRow(game, white, black);

        if (AtEnd()) break;
        while (!IsDigit(pgnChar_) && !IsLetter(pgnChar_) && !StartsNullMove() && pgnChar_ != '[' && !AtEnd()) {
            pgnChar_ = Fetch();
        }
        if (pgnChar_ == '[' || AtEnd()) break;
    }
    // Rows were dropped after the last one kept, so its Black half is followed by more play.
    game.lastRowFlag = flag || game.rowsDropped;
}

GameRecord Reader::Read() {
    GameRecord game;
    if (AtEnd()) return game;  // Outcome::AtEnd
    if (ReadTags(game)) {
        game.outcome = GameRecord::Outcome::Read;
        game.firstMoveNumber = FenMoveNumber(game.Fen);
        game.blackStarts = FenHasBlackToMove(game.Fen);
        ReadMoves(game);
    }
    if (receiver_) WalkMovetext(movetext_, *receiver_);
    return game;
}

}  // namespace

GameRecord ReadGame(PgnFile& file, MovetextReceiver* receiver) { return Reader(file, nullptr, receiver).Read(); }

std::vector<TagPair> ReadTagPairs(PgnFile& file, std::int64_t end) {
    std::vector<TagPair> tags;
    tags.reserve(16);
    Reader(file, &tags, nullptr, end).ReadTagSection();
    return tags;
}

}  // namespace tavrel::pgn
