#include "CheckReport.h"

#include <cstdint>
#include <cstring>

#include "Decimal.h"
#include "Json.h"
#include "pgn/Lexer.h"
#include "pgn/Text.h"

namespace tavrel {
namespace {

const TextMatch* AmbiguityAt(const GameCheck& check, int ply) {
    for (const auto& [at, match] : check.ambiguous) {
        if (at == ply) return &match;
    }
    return nullptr;
}

}  // namespace

void AppendTagJson(std::string& out, std::string_view bytes) {
    if (pgn::IsValidUtf8(bytes)) {
        AppendJsonString(out, bytes);
    } else {
        AppendJsonString(out, pgn::DisplayText(bytes));
    }
}

namespace {

// A byte that a JSON string holds as it stands: printable ASCII but the quote and the backslash.
bool IsPlainByte(char c) { return pgn::lex::IsPrintable(c) && c != '"' && c != '\\'; }
bool IsPlainWord(std::uint64_t w) {
    using namespace pgn::lex;
    return (BytesNotPrintable(w) | BytesEqual(w, '"') | BytesEqual(w, '\\')) == 0;
}

// Whether `text` goes into a JSON string as it stands, as most names and every placement do.
// Eight bytes are tested at a time: a whole-file check asks this of five texts a game.
bool IsPlainText(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        if (!IsPlainWord(w)) return false;
    }
    for (; i < text.size(); ++i) {
        if (!IsPlainByte(text[i])) return false;
    }
    return true;
}

// A line written through a cursor into room claimed at once, at least `most` bytes: a whole-file
// check writes a line a game, and two dozen small appends to a string cost more than its bytes.
class LineWriter {
public:
    LineWriter(std::string& out, std::size_t most) : out_(out) {
        const std::size_t start = out_.size();
        out_.resize(start + most);
        to_ = out_.data() + start;
    }
    ~LineWriter() { out_.resize(static_cast<std::size_t>(to_ - out_.data())); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    LineWriter& operator<<(std::string_view text) {
        std::memcpy(to_, text.data(), text.size());
        to_ += text.size();
        return *this;
    }
    LineWriter& operator<<(std::uint64_t value) {
        to_ = PutDecimal(to_, value);
        return *this;
    }
    // A JSON string of `text`: as it stands when it is plain, else as `slowly` writes it.
    LineWriter& Json(std::string_view text, void (*slowly)(std::string&, std::string_view)) {
        if (IsPlainText(text)) return *this << "\"" << text << "\"";
        std::string literal;
        slowly(literal, text);
        return *this << literal;
    }

    // The most a JSON string of n bytes takes: six for each ("\u00XX", or a Latin-1 byte's
    // UTF-8 and less), and its quotes.
    static std::size_t MostJson(std::size_t n) { return 6 * n + 2; }
    static constexpr std::size_t kMostDigits = 24;  // what PutDecimal may write

private:
    std::string& out_;
    char* to_ = nullptr;
};

}  // namespace

void AppendGameReport(std::string& out, std::int64_t number, const ShownTags& tags, const GameCheck& check,
                      bool fens) {
    using W = LineWriter;
    std::size_t most = 128 + 2 * W::kMostDigits + W::MostJson(tags.white.size()) + W::MostJson(tags.black.size()) +
                       W::MostJson(tags.event.size()) + W::MostJson(tags.round.size()) + W::MostJson(check.final.size()) +
                       W::MostJson(check.error.size());
    // An unmatched text may name up to 16 pieces that fit, each by its two-letter square.
    for (const auto& [ply, text] : check.unmatched) most += 64 + W::kMostDigits + W::MostJson(text.size()) + 16 * (W::MostJson(2) + 1);
    for (const std::string& fen : check.fens) most += 1 + W::MostJson(fen.size());
    LineWriter line(out, most);
    line << "{\"game\":" << static_cast<std::uint64_t>(number);
    line << ",\"white\":";
    line.Json(tags.white, AppendTagJson);
    line << ",\"black\":";
    line.Json(tags.black, AppendTagJson);
    line << ",\"event\":";
    line.Json(tags.event, AppendTagJson);
    line << ",\"round\":";
    line.Json(tags.round, AppendTagJson);
    line << ",\"plies\":" << static_cast<std::uint64_t>(check.plies) << ",\"unmatched\":[";
    for (std::size_t i = 0; i < check.unmatched.size(); ++i) {
        const auto& [ply, text] = check.unmatched[i];
        if (i) line << ",";
        line << "{\"ply\":" << static_cast<std::uint64_t>(ply) << ",\"text\":";
        line.Json(text, AppendTagJson);
        if (const TextMatch* match = AmbiguityAt(check, ply)) {
            line << ",\"ambiguous\":[";
            for (int k = 0; k < match->fits; ++k) {
                if (k) line << ",";
                line.Json(AlgebraicName(match->from[static_cast<std::size_t>(k)]), AppendJsonString);
            }
            line << "]";
        }
        line << "}";
    }
    line << "],\"final\":";
    line.Json(check.final, AppendJsonString);
    line << ",\"error\":";
    if (check.error.empty()) {
        line << "null";
    } else {
        line.Json(check.error, AppendJsonString);
    }
    if (fens) {
        line << ",\"fens\":[";
        for (std::size_t i = 0; i < check.fens.size(); ++i) {
            if (i) line << ",";
            line.Json(check.fens[i], AppendJsonString);
        }
        line << "]";
    }
    line << "}\n";
}

}  // namespace tavrel
