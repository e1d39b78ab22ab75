#include "GameStarts.h"

#include "ScanBits.h"
#include "core/Notation.h"

#include <algorithm>
#include <cstring>

#include <array>
#include <bit>
#include <limits>


namespace tavrel::pgn {
namespace {

using scan::BodyBits;
using scan::TagBits;

using notation::IsDigit;
using notation::IsFile;
using notation::IsLetter;
using notation::IsRank;
using notation::IsSeparator;
// A byte that continues a token: a termination marker must stand alone to count. Looked up, as
// every result of every game asks it twice.
constexpr std::array<bool, 256> kWordBytes = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = IsLetter(static_cast<char>(c)) || IsDigit(static_cast<char>(c)) || c == '-' || c == '/';
    return t;
}();
bool IsWordByte(char c) { return kWordBytes[static_cast<unsigned char>(c)]; }

constexpr std::int64_t kFirstReadBytes = 4096;

bool IsPieceOrCastle(char c) { return c == 'K' || c == 'Q' || c == 'R' || c == 'B' || c == 'N' || c == 'O'; }
constexpr std::int64_t kMostReadBytes = 256 * 1024;

// GameStartScan::TagNameWord of the tags that name Event and the players.
constexpr std::uint64_t Spelled(const char (&name)[7]) {
    std::uint64_t w = 0;
    for (int i = 0; i < 6; ++i) w |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << (8 * i);
    return w;
}
constexpr std::uint64_t kEventWord = Spelled("event "), kWhiteWord = Spelled("white "), kBlackWord = Spelled("black ");


// What a listed byte does in the movetext loop. One table entry tells whether the byte may end the
// loop, which few do, where a chain of comparisons with each such byte cost a tenth of the scan.
enum MovetextByte : std::uint8_t {
    kStops = 1,          // [
    kStopsOutside = 2,   // ; % * - /, when not in a comment or variation (a "-" or "/" only after "1" or "0")
    kOpensComment = 4,   // {
    kClosesComment = 8,  // }
    kOpensVariation = 16,   // (
    kClosesVariation = 32,  // )
};
constexpr std::array<std::uint8_t, 256> kInMovetext = [] {
    std::array<std::uint8_t, 256> t{};
    t['['] = kStops;
    t[';'] = t['%'] = t['*'] = t['-'] = t['/'] = kStopsOutside;
    t['{'] = kOpensComment;
    t['}'] = kClosesComment;
    t['('] = kOpensVariation;
    t[')'] = kClosesVariation;
    return t;
}();

// The bits that stand one to six places above a set bit of x.
constexpr std::uint64_t WithinSixAfter(std::uint64_t x) {
    const std::uint64_t two = x | (x << 1);
    return (two | (two << 2) | (two << 4)) << 1;
}
}  // namespace

namespace {
// BeginsMove over `b`, whose bytes from index kAhead to 15 are line ends: the rule looks up to two
// bytes past its window. The scan asks this of most games' first move, where checking the bounds
// of every byte cost a third of the answer.
bool BeginsMoveIn(const char* b) {
    const char c = b[0];
    if (IsDigit(c)) {
        std::size_t q = 0;
        while (IsDigit(b[q]) && q < 3) ++q;
        if (b[q] != '.') return false;
        for (const std::size_t last = ++q + 3; q < last && (b[q] == '.' || IsSeparator(b[q]));) ++q;
        // Castling written with zeros ("1... 0-0-0" after a FEN; "0-0" is never a result) and the
        // null moves "--", "Z0" and "0000", which a study may open with.
        const char next = b[q + 1];
        return IsFile(b[q]) || IsPieceOrCastle(b[q]) || (b[q] == '-' && next == '-') || (b[q] == 'Z' && next == '0') ||
               (b[q] == '0' && (next == '0' || (next == '-' && b[q + 2] == '0')));
    }
    if (c == 'O') return b[1] == '-' && b[2] == 'O';
    if (IsFile(c)) return IsRank(b[1]) || (b[1] == 'x' && IsFile(b[2]) && IsRank(b[3]));
    if (!IsPieceOrCastle(c)) return false;
    for (std::size_t q = 1; q < 5; ++q) {
        if (IsFile(b[q]) && IsRank(b[q + 1])) return true;
        if (!IsFile(b[q]) && !IsRank(b[q]) && b[q] != 'x') return false;
    }
    return false;
}

}  // namespace

bool BeginsMove(std::string_view ahead) {
    std::array<char, 16> b;
    b.fill('\n');
    // A whole window, as the scan hands most, is copied in one load.
    if (ahead.size() >= GameStartScan::kAhead) {
        std::memcpy(b.data(), ahead.data(), GameStartScan::kAhead);
    } else if (!ahead.empty()) {
        std::memcpy(b.data(), ahead.data(), ahead.size());
    }
    return BeginsMoveIn(b.data());
}

GameStartScan GameStartScan::ResumedAt(std::int64_t at, std::int64_t length) {
    GameStartScan scan(length);
    scan.pos_ = at;
    scan.eligible_ = at;
    return scan;
}

GameStartScan GameStartScan::AfterEventTag(std::int64_t at, std::int64_t length) {
    GameStartScan scan(length);
    scan.state_ = State::Tag;
    scan.sectionHasEvent_ = true;
    scan.eligible_ = at + 7;
    scan.pos_ = at + 7;
    return scan;
}

bool GameStartScan::IsResumePoint(const char* tagAndBefore, std::int64_t at, std::int64_t length) {
    if (at < 7 || at > length - 8 || tagAndBefore[6] != '[') return false;
    if (std::memchr(tagAndBefore, '[', 6) != nullptr) return false;
    static constexpr char kName[] = "EVENT ";
    for (int i = 0; i < 6; ++i) {
        char c = tagAndBefore[7 + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kName[i]) return false;
    }
    return true;
}

// Called only for a "[" that is examined, so at least eight bytes of the file follow it.
bool GameStartScan::SpellsEvent(std::int64_t p) const {
    const char* at = bytes_ + (p - origin_);
    const auto letter = [&](int i, char lower) { return (at[i] | 0x20) == lower; };  // either case
    return letter(0, 'e') && letter(1, 'v') && letter(2, 'e') && letter(3, 'n') && letter(4, 't') && at[5] == ' ';
}

namespace {
// "1-0", "0-1", "1/2-1/2" or "*" standing alone at p: its length, else 0. `at(i)` is the byte at
// p + i, a line end outside the file.
template <typename ByteAt>
std::int64_t MarkerAt(ByteAt at) {
    // The first two bytes tell which marker it can be, so only that one is spelled out.
    const char first = at(0);
    std::string_view marker;
    if (first == '*') {
        marker = notation::kUnfinished;
    } else if (first == '0') {
        marker = notation::kBlackWins;
    } else if (first == '1') {
        marker = at(1) == notation::kWhiteWins[1] ? notation::kWhiteWins : notation::kDraw;
    } else {
        return 0;
    }
    // Most bytes that come here are a move number's "1" or "0", which the second byte tells apart.
    const auto length = static_cast<std::int64_t>(marker.size());
    if (length > 1 && at(1) != marker[1]) return 0;
    if (IsWordByte(at(-1))) return 0;
    for (std::int64_t i = 2; i < length; ++i) {
        if (at(i) != marker[static_cast<std::size_t>(i)]) return 0;
    }
    return IsWordByte(at(length)) ? 0 : length;
}
}  // namespace

std::int64_t GameStartScan::MarkerLength(std::int64_t p) const {
    // Away from the file's ends every byte looked at is the file's own.
    if (p >= 2 && p + 7 <= length_) return MarkerAt([bytes = bytes_ + (p - origin_)](std::int64_t i) { return bytes[i]; });
    return MarkerAt([&](std::int64_t i) { return At(p + i); });
}

bool GameStartScan::BeginsMove(std::int64_t p) const {
    if (p + kAhead <= length_ + 1) return pgn::BeginsMove(std::string_view(bytes_ + (p - origin_), kAhead));
    char ahead[kAhead];
    for (std::int64_t i = 0; i < kAhead; ++i) ahead[i] = At(p + i);
    return pgn::BeginsMove(std::string_view(ahead, kAhead));
}

// Whether a blank line stands right before the "[" at p: the bytes up to 32 just before it hold
// two line ends (a CR LF pair is one).
bool GameStartScan::BlankLineBefore(std::int64_t p) const {
    // Most tags follow a line end and a "]": no blank line is that short.
    if (!IsSeparator(bytes_[p - 1 - origin_]) || !IsSeparator(bytes_[p - 2 - origin_])) return false;
    int lineEnds = 0;
    std::int64_t q = p - 1;
    for (; q >= start_ && IsSeparator(bytes_[q - origin_]); --q) {
        const char c = bytes_[q - origin_];
        lineEnds += c == '\n' || (c == '\r' && At(q + 1) != '\n');
        if (lineEnds >= 2) return true;
    }
    return q < start_ && lineEnds + trailingLineEnds_ >= 2;
}

// The players a tag at p names: 1 for "[White ", 2 for "[Black " (in any letter case), else 0.
// The six bytes are compared as one word, their letters folded to lower case.
int GameStartScan::PlayerNamed(std::int64_t p) const {
    if (p + 6 > length_) return 0;
    const std::uint64_t word = TagNameWord(p);
    return word == kWhiteWord ? 1 : word == kBlackWord ? 2 : 0;
}

// The six bytes after the "[" at p as one word, their first five folded to lower case. Eight are
// loaded and two dropped: a six-byte copy through memory would stall on its store.
std::uint64_t GameStartScan::TagNameWord(std::int64_t p) const {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes_ + (p + 1 - origin_), 8);
    return (word | 0x2020202020) & 0xFFFFFFFFFFFF;
}

// A "[" at p. `opensSection` when it stands after movetext, a termination marker or nothing:
// it starts a game whatever follows. `afterBlankLine` when it stands between tags with a blank
// line before it: it opens a section too when the tags since the last game start or Event tag
// name both players (records of games without moves).
void GameStartScan::OnBracket(std::int64_t p, bool opensSection, std::vector<std::int64_t>& starts, bool afterBlankLine) {
    const bool amongTags = state_ != State::Comment && state_ != State::Line && state_ != State::Variation;
    opensSection = opensSection || (afterBlankLine && players_ == 3);
    if (opensSection) eligible_ = p;
    const bool examined = p >= eligible_ && p <= length_ - 8;
    const bool event = examined && SpellsEvent(p + 1);
    if (examined) eligible_ = p + 7;
    pos_ = event ? p + 7 : p + 1;  // "EVENT " holds nothing a tag must look at
    bool startsGame = opensSection;
    if (opensSection) {
        state_ = State::Tag;
        quoted_ = false;
        sectionHasEvent_ = event;
    } else if (event) {
        const bool inSection = state_ == State::Section || state_ == State::Tag;
        startsGame = !inSection || sectionHasEvent_;
        state_ = State::Tag;
        quoted_ = false;
        sectionHasEvent_ = true;
    } else if (state_ == State::Section) {
        state_ = State::Tag;
        quoted_ = false;
    }
    if (startsGame) starts.push_back(p);
    if (startsGame || event) players_ = 0;
    if (amongTags && players_ != 3) players_ |= PlayerNamed(p);
    if (state_ == State::Tag) bodyTried_ = false;
}

// OnBracket for a "[" that opens a section, as most games begin, in fewer steps.
void GameStartScan::OpenSection(std::int64_t p, std::vector<std::int64_t>& starts) {
    if (p > length_ - 8) return OnBracket(p, true, starts);  // unexamined
    const std::uint64_t word = TagNameWord(p);
    const bool event = word == kEventWord;
    BeginSection(p, event, p + 7, static_cast<int>(word == kWhiteWord) | static_cast<int>(word == kBlackWord) << 1, starts);
    pos_ = event ? p + 7 : p + 1;
    state_ = State::Tag;
}

// What a tag section that starts a game at p sets, whichever way it is read.
void GameStartScan::BeginSection(std::int64_t p, bool event, std::int64_t eligible, int players, std::vector<std::int64_t>& starts) {
    starts.push_back(p);
    eligible_ = eligible;
    sectionHasEvent_ = event;
    quoted_ = false;
    bodyTried_ = false;
    players_ = players;
}

// The bits from position `from` on of the chunk that holds it: bits[k] covers positions from
// start_ + 64 * k.
std::uint64_t GameStartScan::BitsFrom(const std::uint64_t* bits, std::int64_t from) {
    const std::int64_t offset = from - start_;
    Classified(static_cast<std::size_t>(offset / 64), 1);
    return bits[offset / 64] & (~std::uint64_t{0} << (offset % 64));
}

// Makes sure that flow_ and tag_ hold the bits of the chunks from `first` on, `count` of them or
// to the block's end. Chunks are classified only as the scan comes to need them, a stretch at a
// time: the bodies that SkipToNextEvent passes over never are.
void GameStartScan::Classified(std::size_t first, std::size_t count) {
    const std::size_t chunks = Chunks();
    if ((first >= classFrom_ && std::min(first + count, chunks) <= classTo_) || first >= chunks) return;
    constexpr std::size_t kClassifyChunks = 16;
    const std::size_t last = std::min(first + std::max(count, kClassifyChunks), chunks);
    scan::Classify(bytes_ + (start_ - origin_) + 64 * static_cast<std::int64_t>(first), static_cast<std::int64_t>(last - first),
             flow_.data() + first, tag_.data() + first);
    if (last == chunks && blockSize_ % 64) {
        const std::uint64_t inBlock = (std::uint64_t{1} << (blockSize_ % 64)) - 1;
        flow_[last - 1] &= inBlock;
        tag_[last - 1] &= inBlock;
    }
    classFrom_ = first;
    classTo_ = last;
}

// Lists the movetext bits of the chunks from `first` on, a stretch at a time: the movetext of a
// game that SkipToNextEvent passes over is never listed.
void GameStartScan::ListFlowHits(std::size_t first) {
    constexpr std::size_t kListChunks = 128;
    const std::size_t chunks = std::min(kListChunks, Chunks() - first);
    Classified(first, chunks);
    if (flowFirst_.size() < kListChunks + 1) flowFirst_.resize(kListChunks + 1);
    if (flowRoom_ < 64 * kListChunks + 64) {  // room for every byte to be a bit, uncleared
        flowRoom_ = 64 * kListChunks + 64;
        flowAt_ = std::make_unique_for_overwrite<std::int64_t[]>(flowRoom_);
    }
    const std::size_t n = scan::ListBits(flow_.data() + first, chunks, start_ + 64 * static_cast<std::int64_t>(first), flowAt_.get(),
                                   flowFirst_.data());
    flowAt_[n] = std::numeric_limits<std::int64_t>::max();  // past the stretch's end
    listFrom_ = first;
    listTo_ = first + chunks;
}

// The first position from `from` on, before `end`, holding a byte that the current state may
// have to look at; `end` when there is none.
std::int64_t GameStartScan::NextHit(std::int64_t from, std::int64_t end) {
    if (state_ == State::Between || state_ == State::Section) return from;
    const std::uint64_t* bits = state_ == State::Tag || state_ == State::Line ? tag_.data() : flow_.data();
    for (std::uint64_t hits = BitsFrom(bits, from);; hits = BitsFrom(bits, from)) {
        const std::int64_t chunk = from - (from - start_) % 64;
        if (hits) return chunk + __builtin_ctzll(hits);
        from = chunk + 64;
        if (from >= end) return end;
    }
}

// Movetext with its comments and variations, the most of most files, walked without leaving this
// loop for the bytes that only open or close a comment or a variation. Returns true when it stops
// at a byte that Step must look at (pos_), false when the block ends.
bool GameStartScan::Movetext(std::int64_t end) {
    bool comment = state_ == State::Comment;
    std::int64_t depth = state_ == State::Variation || (comment && commentReturn_ == State::Variation) ? depth_ : 0;
    bool stopped = false;
    while (!stopped && pos_ < end) {
        const auto k = static_cast<std::size_t>((pos_ - start_) / 64);
        if (k < listFrom_ || k >= listTo_) ListFlowHits(k);
        const std::int64_t stop = std::min(end, start_ + 64 * static_cast<std::int64_t>(listTo_));
        const std::int64_t* flowAt = flowAt_.get();
        std::size_t i = flowFirst_[k - listFrom_];
        while (flowAt[i] < pos_) ++i;
        for (;; ++i) {
            const std::int64_t p = flowAt[i];
            if (p >= stop) break;
            const char c = bytes_[p - origin_];
            const std::uint8_t does = kInMovetext[static_cast<unsigned char>(c)];
            if (does & (kStops | kStopsOutside)) [[unlikely]] {
                // "[" may start a game; in movetext proper, ";", "%" and a marker's bytes change state.
                // A "-" or "/" belongs to a marker only after its "1" or "0" (not in castling).
                const bool markerByte = c == '*' || ((c == '-' || c == '/') && (bytes_[p - 1 - origin_] | 1) == '1');
                if (c == '[' || (!comment && depth == 0 && (c == ';' || c == '%' || markerByte))) {
                    pos_ = p;
                    stopped = true;
                    break;
                }
                continue;
            }
            // A comment ends at its "}"; outside one, "{" opens one and parentheses nest variations.
            const bool wasComment = comment;
            comment = wasComment ? !(does & kClosesComment) : (does & kOpensComment) != 0;
            if (!wasComment) depth += ((does & kOpensVariation) != 0) - ((does & kClosesVariation) != 0 && depth > 0);
        }
        if (!stopped) pos_ = stop;
    }
    depth_ = depth;
    if (comment) {
        state_ = State::Comment;
        commentReturn_ = depth > 0 ? State::Variation : State::Moves;
    } else {
        state_ = depth > 0 ? State::Variation : State::Moves;
    }
    if (depth > 0) variationReturn_ = State::Moves;
    return stopped;
}

// A game whose tags hold an Event tag runs to the next examined Event tag when nothing between can
// start a game: no "[" at all, and at most one termination marker with only blanks after it. That
// tag starts the next game in whatever state the scan would reach it, so the scan goes straight
// there rather than following the comments and variations between. `from` is where the tags
// ended; the next "[" is looked for in this block only.
void GameStartScan::SkipToNextEvent(std::int64_t from, std::int64_t end) {
    const char* file = bytes_ - origin_;
    std::int64_t markerEnd = 0;  // of the one termination marker met; 0 before one
    BodyBits bits;
    for (std::int64_t chunk = scan::NextBodyBits(file, from, end, bits); chunk < end; chunk = scan::NextBodyBits(file, chunk + 64, end, bits)) {
        const std::uint64_t beforeBracket = bits.brackets ? (bits.brackets & (~bits.brackets + 1)) - 1 : ~std::uint64_t{0};
        for (std::uint64_t markers = bits.markers & beforeBracket; markers; markers &= markers - 1) {
            const std::int64_t p = chunk + std::countr_zero(markers);
            const std::int64_t at = file[p] == '*' ? p : p - 1;
            const std::int64_t length = MarkerLength(at);
            if (length == 0) continue;
            if (markerEnd > 0) return;  // a second marker: the first may have ended a game
            markerEnd = at + length;
        }
        if (!bits.brackets) continue;
        const std::int64_t bracket = chunk + std::countr_zero(bits.brackets);
        if (bracket > length_ - 8 || !SpellsEvent(bracket + 1)) return;
        for (std::int64_t q = bracket - 6; q < bracket; ++q) {
            if (At(q) == '[') return;  // it may leave the Event tag unexamined
        }
        for (std::int64_t q = markerEnd; markerEnd > 0 && q < bracket; ++q) {
            if (!IsSeparator(At(q))) return;
        }
        state_ = State::Between;
        pos_ = bracket;
        return;
    }
}

// Movetext without comments or variations changes the scan's state only at a "[", "{", "(", ";",
// "%" or termination marker: the scan goes straight to the first of them, 64 bytes at a time,
// rather than walking every move's bytes. Called in movetext at `from`, outside any comment or
// variation; stops at the block's end.
void GameStartScan::SkipPlainMoves(std::int64_t from, std::int64_t end) {
    const char* file = bytes_ - origin_;
    BodyBits bits;
    for (std::int64_t chunk = scan::NextMovetextBits(file, from, end, bits); chunk < end;
         chunk = scan::NextMovetextBits(file, chunk + 64, end, bits)) {
        const std::uint64_t beforeStop = bits.brackets ? (bits.brackets & (~bits.brackets + 1)) - 1 : ~std::uint64_t{0};
        for (std::uint64_t markers = bits.markers & beforeStop; markers; markers &= markers - 1) {
            const std::int64_t p = chunk + std::countr_zero(markers);
            const std::int64_t at = file[p] == '*' ? p : p - 1;
            if (const std::int64_t length = MarkerLength(at); length > 0) {
                state_ = State::Between;
                pos_ = at + length;
                return;
            }
        }
        if (bits.brackets) {
            pos_ = chunk + std::countr_zero(bits.brackets);
            return;
        }
    }
    pos_ = end;
}

// Whether the scan is in movetext, perhaps inside its comments and variations, and nowhere else.
bool GameStartScan::InMovetext() const {
    switch (state_) {
        case State::Moves: return true;
        case State::Variation: return variationReturn_ == State::Moves;
        case State::Comment:
            return commentReturn_ == State::Moves || (commentReturn_ == State::Variation && variationReturn_ == State::Moves);
        default: return false;
    }
}

// Whether the text at p, which ends a tag section, is the game's first move.
bool GameStartScan::OpensMoves(std::int64_t p) const {
    const char c = bytes_[p - origin_];
    return (IsLetter(c) || IsDigit(c)) && MarkerLength(p) == 0 && BeginsMove(p);
}

// The moves that begin at `first`, right after a tag section: they are taken at once, as Step and
// Scan would take them, and are passed over to the game's end. Only a game with an Event tag whose
// moves hold more than moves goes on to SkipToNextEvent: tried first, it would pass over the short
// plain game to the next "[" and find no Event tag there.
void GameStartScan::PassMoves(std::int64_t first, std::int64_t end) {
    state_ = State::Moves;
    SkipPlainMoves(first + 1, end);
    if (state_ == State::Moves && pos_ < end && sectionHasEvent_) {
        bodyTried_ = true;
        SkipToNextEvent(first, end);
    }
}

// The tag section that opens at p, when it has the plainest shape, as most games begin: each tag
// `[Name "value"]` on a line of its own, seven bytes or more, without escapes or other brackets,
// and then, past blanks, the game's first move. Read a run of whole lines at a time, such a
// section changes nothing that OpenSection and Tags would not: its first tag starts the game, the
// others are examined, name no players that could matter (only a blank line among tags asks for
// them, and the moves end the section) and, but for the first, no Event. It is taken here, moves
// and all; anything else is left to them, and false returned with nothing changed.
bool GameStartScan::PlainSection(std::int64_t p, std::int64_t end, std::vector<std::int64_t>& starts) {
    const char* const file = bytes_ - origin_;
    bool event = false;
    std::int64_t lastTag = p - 7;  // as if one stood just far enough before p
    for (std::int64_t next = p; next < end;) {  // next: the start of a line, after p one not yet read
        const std::int64_t size = std::min<std::int64_t>(64, end - next);
        const std::uint64_t valid = size == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << size) - 1;
        const scan::LineBits bits = scan::LineBitsOf(file + next);
        const std::uint64_t feeds = bits.lineFeeds & valid;
        if (feeds == 0) return false;
        const std::uint64_t lineStarts = (feeds << 1 | 1) & valid;
        const std::uint64_t other = lineStarts & ~bits.brackets;  // lines that open with no tag
        const int lastFeed = 63 - std::countl_zero(feeds);
        // The whole lines read now: those before the first that opens with no tag, or all that end here.
        const std::uint64_t lines = other ? (other & (~other + 1)) - 1 : ~std::uint64_t{0} >> (63 - lastFeed);
        const std::uint64_t tags = lineStarts & lines;
        // A line ends at its "\n", or at the "\r" of a "\r\n"; a "\r" elsewhere would end one too.
        const std::uint64_t returns = bits.returns & lines;
        const std::uint64_t ends = ((feeds & lines) & ~(returns << 1)) | returns;
        // Each line: its "[", one quote, and `"]` at its end; so the "]" ends the tag outside quotes.
        const std::uint64_t closingQuotes = ends >> 2;
        const std::uint64_t openingQuotes = bits.quotes & lines & ~closingQuotes;
        // Set from each "[" up to its quote: the two alternate, and the last "[" has one too.
        const std::uint64_t alternate = scan::PrefixXor(tags | openingQuotes);
        // The bits where these lines differ from that shape, or where a tag stands within six bytes
        // of the one before (the first here, of the last one read before).
        const std::uint64_t unlike = ((bits.brackets & lines) ^ tags) | ((bits.closes & lines) ^ (ends >> 1)) |
                                     (closingQuotes & ~bits.quotes) | (tags & ~alternate) | (openingQuotes & alternate) |
                                     (alternate >> 63) | (bits.backslashes & lines) | (returns & ~(feeds >> 1)) |
                                     (tags & (WithinSixAfter(tags) | static_cast<std::uint64_t>(next < lastTag + 7)));
        if (unlike != 0) return false;
        for (std::uint64_t named = tags & bits.beforeE; named; named &= named - 1) {
            const std::int64_t at = next + std::countr_zero(named);
            if (TagNameWord(at) != kEventWord) continue;
            if (at != p) return false;  // a second Event tag, or one after other tags
            event = true;
        }
        if (tags) lastTag = next + 63 - std::countl_zero(tags);
        if (!other) {
            next += lastFeed + 1;
            continue;
        }
        std::int64_t first = next + std::countr_zero(other);
        while (first < end && IsSeparator(file[first])) ++first;
        if (first >= end || lastTag > length_ - 8 || !OpensMoves(first)) return false;
        BeginSection(p, event, lastTag + 7, 0, starts);
        PassMoves(first, end);
        return true;
    }
    return false;
}

// A section of tags, 64 bytes at a time. Which bytes lie in a tag follows from the brackets and
// the tags' ends (a line end, or a "]" outside quotes); between tags only blanks may stand, and
// the first other byte ends the section. Escapes, and a "[" between quotes, are left to the
// byte-by-byte way. Returns true when it stops at a byte that Step must look at (pos_), false
// when the scan goes on from pos_ (in another state, or in the next block).
bool GameStartScan::Tags(std::int64_t end, std::vector<std::int64_t>& starts) {
    while (pos_ < end) {
        const std::int64_t from = pos_;
        const TagBits bits = scan::TagBitsOf(bytes_ + (from - origin_));
        const std::int64_t size = std::min<std::int64_t>(64, end - from);
        const std::uint64_t valid = size == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << size) - 1;
        const std::uint64_t quotes = bits.quotes & valid, brackets = bits.brackets & valid;
        const std::uint64_t quoted = bits.quoteParity ^ bits.quotes ^ (quoted_ ? ~std::uint64_t{0} : 0);  // before each byte
        if ((bits.backslashes & valid) != 0 || (brackets & quoted) != 0) {
            if (state_ == State::Section) return false;  // Step takes it from here
            if (TagsByteByByte(std::min(end, from + 64), starts)) return true;
            if (state_ != State::Tag) return false;
            continue;
        }
        const std::uint64_t ends = ((bits.closes & ~quoted) | bits.lineEnds) & valid;
        const std::uint64_t entry = state_ == State::Tag ? 1 : 0;
        // Subtracting the brackets from the ends borrows from each bracket up to the next end.
        const std::uint64_t inTag = ((ends - (brackets | entry)) & ~ends) | brackets;
        // Outside tags, a "]" is passed over as Step would pass it over; any other byte but a blank
        // ends the section.
        const std::uint64_t text = valid & ~inTag & ~ends & ~bits.blanks;
        const std::uint64_t beforeText = text ? (text & (~text + 1)) - 1 : valid;
        const std::uint64_t tags = brackets & beforeText;
        if (tags) {
            state_ = State::Tag;
            bodyTried_ = false;
        }
        // Most tags of a section are examined, name neither Event nor a section break, and change
        // nothing but where the next examined "[" may stand and which players are named.
        std::int64_t eligible = eligible_;
        int players = players_;
        for (std::uint64_t each = tags; each; each &= each - 1) {
            const std::int64_t p = from + std::countr_zero(each);
            // Most tags follow the "]" and line end of the one before, two bytes back: no blank line
            // is that short, and BlankLineBefore need not be asked.
            const bool blankLine = players == 3 && IsSeparator(bytes_[p - 2 - origin_]) && BlankLineBefore(p);
            if (p >= eligible && p <= length_ - 8 && !blankLine) {
                const std::uint64_t word = TagNameWord(p);
                if (word != kEventWord) {
                    eligible = p + 7;
                    if (players != 3) players |= static_cast<int>(word == kWhiteWord) | static_cast<int>(word == kBlackWord) << 1;
                    continue;
                }
            }
            eligible_ = eligible;
            players_ = players;
            OnBracket(p, false, starts, players_ == 3 && BlankLineBefore(p));
            eligible = eligible_;
            players = players_;
        }
        eligible_ = eligible;
        players_ = players;
        if (text) {
            state_ = State::Section;
            pos_ = from + std::countr_zero(text);
            // Most sections end at their game's first move.
            if (OpensMoves(pos_)) {
                PassMoves(pos_, end);
                return false;
            }
            return true;
        }
        state_ = (inTag >> (size - 1)) & 1 ? State::Tag : State::Section;
        quoted_ = (((quoted ^ quotes) >> (size - 1)) & 1) != 0;
        pos_ = from + size;
    }
    return false;
}

// A section of tags, walked without leaving this loop for its quotes, brackets and blanks, up to
// `end`. Returns as Tags does.
bool GameStartScan::TagsByteByByte(std::int64_t end, std::vector<std::int64_t>& starts) {
    std::int64_t from = pos_;
    while (from < end) {
        const std::int64_t chunk = from - (from - start_) % 64;
        std::uint64_t hits = BitsFrom(tag_.data(), from);
        if (end - chunk < 64) hits &= (std::uint64_t{1} << (end - chunk)) - 1;
        from = std::min(chunk + 64, end);  // unless a hit moves it on
        for (; hits; hits &= hits - 1) {
            const std::int64_t p = chunk + __builtin_ctzll(hits);
            const char c = bytes_[p - origin_];
            if (c == '"') {
                quoted_ = !quoted_;
                continue;
            }
            if (c == '\\') {
                // An escaped byte is passed over, but never a line end or a "[" that may open a tag.
                const char next = At(p + 1);
                if (!quoted_ || next == '\n' || next == '\r' || next == '[') continue;
                if (p + 1 - chunk < 64 && p + 1 < end) {
                    hits &= ~(std::uint64_t{1} << (p + 1 - chunk));
                    continue;
                }
                from = p + 2;
                break;
            }
            if (c == ']' && quoted_) continue;
            std::int64_t q = p;
            if (c != '[') {  // a line end or "]" ends the tag; past the blanks, a "[" goes on
                state_ = State::Section;
                for (++q; q < end && IsSeparator(At(q));) ++q;
                if (q >= end || At(q) != '[') {
                    pos_ = q;
                    return q < end;
                }
            }
            OnBracket(q, false, starts, c != '[' && players_ == 3 && BlankLineBefore(q));
            if (state_ != State::Tag) return false;
            from = pos_;
            break;
        }
    }
    pos_ = from;
    return false;
}

// Looks at the byte at pos_ (a byte that matters, or any byte between or in a tag section) and
// moves on.
void GameStartScan::Step(std::vector<std::int64_t>& starts) {
    const std::int64_t p = pos_;
    const char c = At(p);
    pos_ = p + 1;
    const auto comment = [&](State back) {
        commentReturn_ = back;
        state_ = State::Comment;
    };
    const auto line = [&](State back) {
        commentReturn_ = back;
        state_ = State::Line;
    };
    switch (state_) {
        case State::Between:
        case State::Section: {
            const bool between = state_ == State::Between;
            if (IsSeparator(c)) {  // the blanks between games and sections change nothing
                while (pos_ < blockEnd_ && IsSeparator(bytes_[pos_ - origin_])) ++pos_;
                return;
            }
            if (c == '[') return OnBracket(p, between, starts, !between && players_ == 3 && BlankLineBefore(p));
            if (c == '{') return comment(state_);
            if (c == ';' || (c == '%' && LineStart(p))) return line(state_);
            if (between && c == '(') {
                variationReturn_ = State::Between;
                depth_ = 1;
                state_ = State::Variation;
                return;
            }
            if (const std::int64_t marker = MarkerLength(p); marker > 0) {
                if (between) {
                    pos_ = p + marker;
                } else {
                    state_ = State::Moves;  // a section ended by a bare marker: no moves
                    pos_ = p;
                }
                return;
            }
            if (!BeginsMove(p)) return;  // text that is neither a tag nor a move
            if (between) {
                starts.push_back(p);
                eligible_ = p;
                players_ = 0;
            }
            state_ = State::Moves;
            return;
        }
        case State::Tag:  // Tags() reads tags, and leaves none for Step
            return;
        case State::Moves:
            if (c == '[') return OnBracket(p, true, starts);
            if (c == '{') return comment(State::Moves);
            if (c == ';' || (c == '%' && LineStart(p))) return line(State::Moves);
            if (c == '(') {
                variationReturn_ = State::Moves;
                depth_ = 1;
                state_ = State::Variation;
                return;
            }
            if (c == '*' || c == '-' || c == '/') {
                const std::int64_t from = c == '*' ? p : p - 1;
                if (const std::int64_t marker = MarkerLength(from); marker > 0 && from + marker > p) {
                    state_ = State::Between;
                    pos_ = from + marker;
                }
            }
            return;
        case State::Comment:
            if (c == '[') return OnBracket(p, false, starts);
            if (c == '}') state_ = commentReturn_;
            return;
        case State::Line:
            if (c == '[') return OnBracket(p, false, starts);
            if (c == '\n' || c == '\r') state_ = commentReturn_;
            return;
        case State::Variation:
            if (c == '[') return OnBracket(p, false, starts);
            if (c == '{') return comment(State::Variation);
            if (c == '(') {
                ++depth_;
            } else if (c == ')' && --depth_ == 0) {
                state_ = variationReturn_;
            }
            return;
    }
}

void GameStartScan::Scan(const char* bytes, std::int64_t start, std::int64_t size, std::vector<std::int64_t>& starts) {
    bytes_ = bytes;
    origin_ = start - kBehind;
    const std::int64_t end = start + size;
    // The block's bytes that matter, found at once; the bits past its end stay clear.
    start_ = start;
    const auto chunks = static_cast<std::size_t>((size + 63) / 64);
    if (flow_.size() < chunks + 1) {
        flow_.resize(chunks + 1);
        tag_.resize(chunks + 1);
    }
    flow_[chunks] = tag_[chunks] = 0;  // a chunk past the end, which BitsFrom may look at
    blockSize_ = size;
    blockEnd_ = end;
    classFrom_ = classTo_ = listFrom_ = listTo_ = 0;
    pos_ = std::max(pos_, start);
    if (state_ == State::Moves) SkipPlainMoves(pos_, end);  // a game's moves that the last block began
    while (pos_ < end) {
        bool atHit = true;
        if (state_ == State::Tag) {
            atHit = Tags(end, starts);
        } else if (InMovetext()) {
            atHit = Movetext(end);
        } else if (state_ == State::Between || state_ == State::Section) {
            // Between games and tag sections most bytes are blanks, and most of the rest open a
            // game's tags: both are taken here rather than in Step, a byte at a time.
            const char* const file = bytes_ - origin_;
            while (pos_ < end && IsSeparator(file[pos_])) ++pos_;
            if (pos_ < end && state_ == State::Between && file[pos_] == '[') {
                if (!PlainSection(pos_, end, starts)) OpenSection(pos_, starts);
                continue;
            }
        } else {
            pos_ = NextHit(pos_, end);
        }
        if (atHit && pos_ < end) {
            const State prior = state_;
            const bool section = prior == State::Section;
            const std::int64_t at = pos_;
            Step(starts);
            // Once a game's tags end, its body may be passed over at once.
            if (section && state_ != State::Section && state_ != State::Tag && sectionHasEvent_ && !bodyTried_) {
                bodyTried_ = true;
                SkipToNextEvent(at, end);
            }
            if (state_ == State::Moves && (section || prior == State::Between)) SkipPlainMoves(pos_, end);
        }
    }
    // The line ends of the blanks that end the block, for a "[" at the start of the next.
    int lineEnds = 0;
    std::int64_t q = end - 1;
    for (; q >= start && IsSeparator(bytes_[q - origin_]) && lineEnds < 2; --q) {
        const char c = bytes_[q - origin_];
        lineEnds += c == '\n' || (c == '\r' && At(q + 1) != '\n');
    }
    trailingLineEnds_ = q < start ? std::min(2, lineEnds + trailingLineEnds_) : lineEnds;
}

void ScanFileBlock(const PgnFile& file, GameStartScan& scan, std::int64_t at, std::int64_t size, std::vector<char>& block,
                   std::vector<std::int64_t>& starts) {
    const std::int64_t length = file.Length();
    block.assign(static_cast<std::size_t>(size + GameStartScan::kBehind + GameStartScan::kAhead + GameStartScan::kPadding), '\0');
    const std::int64_t first = std::max<std::int64_t>(1, at - GameStartScan::kBehind);
    const auto want = static_cast<std::size_t>(std::min(at + size + GameStartScan::kAhead, length + 1) - first);
    file.ReadAt(first, block.data() + (first - (at - GameStartScan::kBehind)), want);
    scan.Scan(block.data(), at, size, starts);
}

std::int64_t NextGameStart(const PgnFile& file, std::int64_t from, bool* startsHere) {
    if (startsHere) *startsHere = false;
    const std::int64_t length = file.Length();
    GameStartScan scan = GameStartScan::ResumedAt(from, length);
    std::vector<std::int64_t> starts;
    std::vector<char> block;
    // Games are short: read a little first, and more as the game turns out long.
    for (std::int64_t at = from, size = kFirstReadBytes; at <= length; at += size, size = std::min(size * 2, kMostReadBytes)) {
        size = std::min(size, length + 1 - at);
        ScanFileBlock(file, scan, at, size, block, starts);
        for (const std::int64_t start : starts) {
            if (start == from && startsHere) *startsHere = true;
            if (start > from) return start;
        }
        starts.clear();
    }
    return length + 1;
}

}  // namespace tavrel::pgn
