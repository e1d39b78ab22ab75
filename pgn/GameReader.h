#pragma once
// Reading one game of a PGN file from the file's current position.

#include <cstdint>
#include <string>
#include <vector>

#include "GameRecord.h"
#include "MovetextReceiver.h"
#include "PgnFile.h"

namespace tavrel::pgn {

// Reads the game that starts at the file's current position (an index offset), up to where the
// next game starts by the rule in GameStarts.h. Tags may come in any order. Brace
// comments, variations, glyphs ($n), rest-of-line comments (;) and escape lines (%) are skipped;
// move texts are kept as written, castling normalised to "O-O" and "O-O-O". Whatever the bytes,
// it returns in time and memory bounded by the game's own size, and never reads past the end.
// With a receiver, the movetext's comments, glyphs and variations (and the comment before the
// first move) are handed to it as well; the record is the same either way.
GameRecord ReadGame(PgnFile& file, MovetextReceiver* receiver = nullptr);

struct TagPair {
    std::string name;   // as written, e.g. "White"
    std::string value;  // the bytes after the name and one separator, double quotes removed
};

// Reads only the tag section of the game at the file's position, by the same rules as ReadGame,
// and returns every tag pair in file order (the next game's start ends the section). A caller
// that knows where the next game starts (the index's next offset, or the file's length + 1 after
// the last game) passes it as `end`, and the reader need not find it.
std::vector<TagPair> ReadTagPairs(PgnFile& file, std::int64_t end = 0);

}  // namespace tavrel::pgn
