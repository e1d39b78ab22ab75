#pragma once
// Reading one game: its bytes, from its first byte as the index gives it to the next game's first
// byte, go through the lexer (Lexer.h) to a visitor that keeps what a caller needs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AnnotatedGame.h"
#include "GameRecord.h"
#include "PgnFile.h"
#include "Visitor.h"

namespace tavrel::pgn {

struct TagPair {
    std::string name;   // as written, e.g. "White"
    std::string value;  // the bytes after the name and one separator, double quotes removed
};

// The game as the window steps through it: the tags it shows, the move texts by move number and
// the last-row flag. Whatever the bytes, it takes time and memory bounded by their size.
GameRecord ReadGame(std::string_view game);
// Every tag pair of the game in file order; the lexer stops where the movetext begins.
std::vector<TagPair> ReadTagPairs(std::string_view game);
// The movetext as a reader of a chess book sees it: main line, variations, comments and glyphs.
AnnotatedGame ReadAnnotatedGame(std::string_view game);

// The bytes of the game that starts at the file's position, up to `end` (the next game's first
// byte; 0 finds it by the rule in GameStarts.h), read into `buffer`. The file moves past them.
std::string_view ReadGameBytes(PgnFile& file, std::string& buffer, std::int64_t end = 0);
// The game at the file's position, for callers that step through a file without its index.
GameRecord ReadGame(PgnFile& file);

// The visitor behind ReadGame, for a caller that reads games through the lexer itself (a block of
// games at once, or beside another visitor): Take() hands over the game read since BeginGame.
class RecordReader final : public Visitor {
public:
    void BeginGame() override;
    Next Tag(std::string_view name, std::string_view value) override;
    Next BeginMovetext() override;
    void MoveNumber(int number, int dots, int depth) override;
    void Move(const MoveToken& move) override;
    void Result(std::string_view text, int depth) override;
    void EndGame(GameEnd how) override;
    GameRecord Take() { return std::move(game_); }

private:
    void AddRow(std::string white, std::string black);

    GameRecord game_;
    std::string white_;           // White's half of the row being read
    bool blackTurn_ = false;      // the next main-line entry is Black's
    bool afterNumber_ = false;    // a move number stands last in White's entry
    bool flag_ = true;            // the last-row flag as the entries so far leave it
    bool ended_ = false;          // a half-move ran into the game's end
    bool inMovetext_ = false;     // a result before the movetext is no row
};

}  // namespace tavrel::pgn
