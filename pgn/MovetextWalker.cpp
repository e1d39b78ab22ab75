#include <cstring>
#include <string>

#include "MovetextReceiver.h"

namespace tavrel::pgn {
namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool EndsToken(char c) { return IsSeparator(c) || std::strchr("{}();$[", c) != nullptr; }

int SuffixGlyph(std::string_view suffix) {
    static constexpr std::string_view kSuffixes[] = {"!", "?", "!!", "??", "!?", "?!"};
    for (int i = 0; i < 6; ++i) {
        if (suffix == kSuffixes[i]) return i + 1;
    }
    return 0;
}

class Walker {
public:
    Walker(std::string_view text, MovetextReceiver& receiver) : text_(text), receiver_(receiver) {}

    void Run() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (IsSeparator(c)) {
                ++at_;
            } else if (c == '{') {
                Comment(text_.find('}', at_ + 1), 1);
            } else if (c == ';') {
                Comment(text_.find_first_of("\r\n", at_ + 1), 0);
            } else if (c == '%' && AtLineStart()) {
                at_ = std::min(text_.size(), text_.find_first_of("\r\n", at_));
            } else if (c == '$') {
                Glyph();
            } else if (c == '(') {
                ++at_;
                Open();
            } else if (c == ')') {
                ++at_;
                Close();
            } else if (c == '[' && depth_ == 0) {
                break;  // the next game's tags
            } else {
                Token();
            }
        }
        while (depth_ > 0) Close();  // a variation left open at the game's end
    }

private:
    bool Passing() const { return skipped_ > 0; }
    bool AtLineStart() const { return at_ == 0 || text_[at_ - 1] == '\n' || text_[at_ - 1] == '\r'; }

    // A comment from the character after its opener to `end` (or the end of the text);
    // `closer` is the length of its closing delimiter.
    void Comment(std::size_t end, std::size_t closer) {
        const std::size_t from = at_ + 1;
        if (end == std::string_view::npos) end = text_.size(), closer = 0;
        at_ = end + closer;
        if (!Passing()) receiver_.Comment(text_.substr(from, end - from));
    }

    void Glyph() {
        std::size_t end = ++at_;
        int number = 0;
        while (end < text_.size() && IsDigit(text_[end]) && end - at_ < 4) number = number * 10 + (text_[end++] - '0');
        if (end > at_ && !Passing()) receiver_.Glyph(number);
        at_ = end;
    }

    void Open() {
        if (Passing() || depth_ >= kMaxVariationDepth) {
            ++skipped_;
        } else {
            ++depth_;
            receiver_.BeginVariation();
        }
    }

    void Close() {
        if (Passing()) {
            --skipped_;
        } else if (depth_ > 0) {
            --depth_;
            receiver_.EndVariation();
        }
    }

    void Token() {
        std::size_t end = at_ + 1;
        while (end < text_.size() && !EndsToken(text_[end])) ++end;
        std::string_view token = text_.substr(at_, end - at_);
        at_ = end;
        if (Passing()) return;
        if (token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*" || token == "\xC2\xBD-\xC2\xBD") {
            receiver_.Result(token);
            return;
        }
        // A glyph written apart from its move ("Bxf7+ ?") belongs to that move; read as a move
        // it would shift the main line by a half-move.
        if (token.find_first_not_of("!?") == std::string_view::npos) {
            if (const int glyph = SuffixGlyph(token)) receiver_.Glyph(glyph);
            return;
        }
        token = MoveNumber(token);
        // Older annotators write "3. ...d5" and "29. Nxf6, g7xf6": the dots and commas are not
        // part of the move.
        const std::size_t first = token.find_first_not_of('.');
        const std::size_t last = token.find_last_not_of(',');
        if (first == std::string_view::npos || last == std::string_view::npos || first > last) return;
        token = token.substr(first, last - first + 1);
        if (token == "e.p.") return;
        const std::size_t suffixAt = token.find_last_not_of("!?") + 1;
        const int glyph = SuffixGlyph(token.substr(suffixAt));
        if (glyph != 0 && suffixAt > 0) token = token.substr(0, suffixAt);
        numbered_ = true;
        receiver_.Move(token);
        if (glyph != 0) receiver_.Glyph(glyph);
    }

    // Cuts a leading move number ("12." "12..." "12") off the token and returns the rest. The
    // first one of the main line says where the numbering starts.
    std::string_view MoveNumber(std::string_view token) {
        if (token.substr(0, 4) == "0000") return token;  // the null move, not a number
        std::size_t digits = 0;
        while (digits < token.size() && IsDigit(token[digits])) ++digits;
        if (digits == 0 || digits > 6 || (digits < token.size() && token[digits] != '.')) return token;
        std::size_t dots = digits;
        while (dots < token.size() && token[dots] == '.') ++dots;
        if (!numbered_ && depth_ == 0) {
            numbered_ = true;
            receiver_.FirstMoveNumber(std::stoi(std::string(token.substr(0, digits))), dots - digits >= 2);
        }
        return token.substr(dots);
    }

    std::string_view text_;
    MovetextReceiver& receiver_;
    std::size_t at_ = 0;
    int depth_ = 0;
    int skipped_ = 0;        // open variations beyond the depth handed on
    bool numbered_ = false;  // the main line's numbering is known (or a move came first)
};

}  // namespace

void WalkMovetext(std::string_view movetext, MovetextReceiver& receiver) { Walker(movetext, receiver).Run(); }

}  // namespace tavrel::pgn
