#pragma once
// Where games start: the one rule that the index counts by and the reader stops at.
//
// A game starts at the first tag of every tag section (the tags after a game's movetext or
// termination marker, or the file's first tags), at a move that follows a termination marker
// with no tag in between (the file's first move too, when no tag comes before it), and at every
// examined "[" followed by "EVENT " in any letter case, wherever it stands, comments included.
// The one exception: the first Event tag of a section that began with another tag belongs to
// that section's game, so players written before Event stay with their game. A blank line
// between tags ends a section, so that the next tag opens one, when the tags since the last game
// start or Event tag name both players ("[White " and "[Black ", in any letter case): records of
// games without moves, such as a list of pairings, are a game each, while a blank line after an
// Event tag alone splits nothing.
//
// A "[" is examined unless it lies within the six bytes after an examined "[" (so "[[Event "
// opens no Event tag) or among the last eight bytes of the file; the "[" or move that starts a
// game is examined afresh. Comments, rest-of-line comments, escape lines and variations start
// nothing but through an Event tag, and text that is neither a tag nor a move starts nothing.
//
// The scan's state right after a game start depends only on the bytes from that start on, so a
// scan may begin at any game start (the reader finds where its game ends that way), and at any
// Event tag with six bracket-free bytes before it (where a large file is split between cores).

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "PgnFile.h"

namespace tavrel::pgn {

class GameStartScan {
public:
    static constexpr std::int64_t kBehind = 8;  // bytes before a block that the scan looks back at
    static constexpr std::int64_t kAhead = 8;   // bytes after a block that it looks ahead at
    static constexpr std::int64_t kPadding = 64;  // readable, of any value, after those

    // A scan from the first byte of a file of `length` bytes.
    explicit GameStartScan(std::int64_t length) : length_(length) {}
    // A scan from `at`, where a game starts: its first start is `at` itself.
    static GameStartScan ResumedAt(std::int64_t at, std::int64_t length);
    // A scan that goes on after the Event tag at `at`, which has no "[" among the six bytes before
    // it: it reports only the starts after `at`.
    static GameStartScan AfterEventTag(std::int64_t at, std::int64_t length);
    // True when `at` can begin AfterEventTag: `tagAndBefore` holds the bytes from at - 6 to at + 6.
    static bool IsResumePoint(const char* tagAndBefore, std::int64_t at, std::int64_t length);

    // For text whose length shows only at its end (a compressed stream): a scan may begin with any
    // length beyond the true one while each block it is handed ends kAhead + 8 bytes or more
    // before the true end, and learn the true length before the blocks that follow.
    void SetLength(std::int64_t length) { length_ = length; }

    // Appends the game starts among file positions [start, start + size). `bytes` holds the file
    // from position start - kBehind to start + size + kAhead (what of it lies within the file),
    // then kPadding readable bytes. Blocks come in file order, each beginning where the last ended.
    void Scan(const char* bytes, std::int64_t start, std::int64_t size, std::vector<std::int64_t>& starts);

private:
    enum class State { Between, Section, Tag, Moves, Comment, Line, Variation };

    char At(std::int64_t p) const { return p < 1 || p > length_ ? '\n' : bytes_[p - origin_]; }
    std::size_t Chunks() const { return static_cast<std::size_t>((blockSize_ + 63) / 64); }
    void ListFlowHits(std::size_t first);
    std::uint64_t BitsFrom(const std::uint64_t* bits, std::int64_t from);
    void Classified(std::size_t first, std::size_t count);
    std::int64_t NextHit(std::int64_t from, std::int64_t end);
    bool InMovetext() const;
    bool Movetext(std::int64_t end);
    bool Tags(std::int64_t end, std::vector<std::int64_t>& starts);
    bool TagsByteByByte(std::int64_t end, std::vector<std::int64_t>& starts);
    void SkipToNextEvent(std::int64_t from, std::int64_t end);
    void SkipPlainMoves(std::int64_t from, std::int64_t end);
    bool BlankLineBefore(std::int64_t p) const;
    int PlayerNamed(std::int64_t p) const;
    std::uint64_t TagNameWord(std::int64_t p) const;
    void OnBracket(std::int64_t p, bool opensSection, std::vector<std::int64_t>& starts, bool afterBlankLine = false);
    void OpenSection(std::int64_t p, std::vector<std::int64_t>& starts);
    void BeginSection(std::int64_t p, bool event, std::int64_t eligible, int players, std::vector<std::int64_t>& starts);
    bool PlainSection(std::int64_t p, std::int64_t end, std::vector<std::int64_t>& starts);
    bool OpensMoves(std::int64_t p) const;
    void PassMoves(std::int64_t first, std::int64_t end);
    bool SpellsEvent(std::int64_t p) const;
    bool LineStart(std::int64_t p) const { return At(p - 1) == '\n' || At(p - 1) == '\r'; }
    std::int64_t MarkerLength(std::int64_t p) const;
    bool BeginsMove(std::int64_t p) const;
    void Step(std::vector<std::int64_t>& starts);

    std::int64_t length_;
    State state_ = State::Between;
    State commentReturn_ = State::Between;  // where a comment or rest-of-line comment returns
    State variationReturn_ = State::Moves;
    std::int64_t depth_ = 0;          // of the variation being passed over
    bool quoted_ = false;             // inside a tag's double quotes
    bool sectionHasEvent_ = false;    // the current tag section holds an Event tag
    bool bodyTried_ = false;          // SkipToNextEvent was tried since the last tag began
    std::int64_t eligible_ = 1;       // the first position at which a "[" is examined
    int trailingLineEnds_ = 0;        // in the blanks that end what was scanned, up to 2
    int players_ = 0;                 // named since the last start or Event tag: 1 White, 2 Black
    std::int64_t pos_ = 1;            // the next position to look at
    const char* bytes_ = nullptr;     // the block being scanned, holding position origin_ first
    std::int64_t origin_ = 0;
    std::int64_t start_ = 0;              // of the block being scanned; from there, by 64 bytes:
    std::vector<std::uint64_t> flow_;     // the bytes that matter in movetext (a bit each)
    std::vector<std::uint64_t> tag_;      // and in tags and rest-of-line comments
    std::int64_t blockSize_ = 0;          // in bytes
    std::int64_t blockEnd_ = 0;           // the first position past the block
    std::size_t classFrom_ = 0, classTo_ = 0;  // the chunks that flow_ and tag_ hold for this block
    std::unique_ptr<std::int64_t[]> flowAt_;  // the positions of flow_'s bits, in order,
    std::size_t listFrom_ = 0, listTo_ = 0;   // for the chunks listFrom_ to listTo_
    std::size_t flowRoom_ = 0;            // that flowAt_ has
    std::vector<std::size_t> flowFirst_;  // for each of those chunks, the first of them in it or after
};

// Whether `ahead`, the next bytes of the file (at most kAhead; fewer where the file ends), begin a
// move: a move number with its move ("12. e4", "3...Nf6"), castling, or a move that names its
// target square ("e4", "exd5", "Nf3", "R1e2"). Prose seldom looks like that, so a stray word after
// the last game starts nothing.
bool BeginsMove(std::string_view ahead);

// Scans file positions [at, at + size) of `file` with `scan`, the next block in its order, reading
// into `block` those bytes and the ones around them that the scan looks at.
void ScanFileBlock(const PgnFile& file, GameStartScan& scan, std::int64_t at, std::int64_t size, std::vector<char>& block,
                   std::vector<std::int64_t>& starts);

// Where the game after the one starting at `from` starts by the rule above: the first start after
// `from` when a scan begins there, or the file's length + 1 when none follows. Reads only as far
// as it needs. `startsHere` tells whether a game starts at `from` itself.
std::int64_t NextGameStart(const PgnFile& file, std::int64_t from, bool* startsHere = nullptr);

}  // namespace tavrel::pgn
