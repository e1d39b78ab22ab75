#pragma once
// The game session behind the main window: the open file, the game on show and its number, and
// the position the slider stands at. It knows no widget; the window wires its menus, controls
// and child windows to it.

#include <cstdint>
#include <optional>
#include <string>

#include "core/GameState.h"
#include "core/LineReplay.h"
#include "pgn/AnnotatedGame.h"
#include "pgn/GameSource.h"

namespace tavrel::session {

// The slider's range for the game on show; its minimum, -1, is the game's first position.
struct SliderRange {
    int minimum = -1;
    int maximum = -1;
    int pageStep = 2;
};

// The toolbar's four ways through the file.
enum class GameStep { First, Previous, Next, Last };

class GameSession {
  public:
    // Opening is two steps, so that the window can report a file it cannot open before it shows
    // the scan's progress: OpenUnindexed, then the scan on Source(), then Indexed. A failed open
    // says why and leaves no file open (the one before is closed), except for a file that is not
    // PGN: then the file and the game on show stay.
    std::optional<std::string> OpenUnindexed(const std::string& path);
    pgn::GameSource& Source() { return source_; }
    // The scan is done: the file's first game is the one to show (none in a file without games).
    void Indexed();
    void Close();

    [[nodiscard]] bool IsOpen() const { return source_.IsOpen(); }
    [[nodiscard]] const std::string& Path() const { return source_.Path(); }
    [[nodiscard]] const pgn::GameIndex& Index() const { return source_.Index(); }
    [[nodiscard]] std::int64_t GameCount() const { return source_.GameCount(); }
    [[nodiscard]] bool HasGame(std::int64_t number) const { return source_.HasGame(number); }
    // The game on show, from 1; 0 when none is.
    [[nodiscard]] std::int64_t CurrentGame() const { return current_; }
    // The game a toolbar button goes to; none when it would stay where it is or leave the file.
    [[nodiscard]] std::optional<std::int64_t> GameAt(GameStep step) const;

    enum class ReadResult {
        Shown,       // the game is on show
        ShownBeeps,  // on show, but the file ended before its moves: the user hears of it
        NotThere,    // nothing to read (the file changed on disk): nothing on show has changed
    };
    // Reads game `number` into the game on show, at its first position.
    ReadResult ShowGame(std::int64_t number);
    // No game on show: the initial position and an empty score.
    void ShowNoGame();

    // The game on show as the file has it: tags, move texts by row; an empty record for none.
    [[nodiscard]] const pgn::GameRecord& Record() const { return record_; }
    [[nodiscard]] const GameState& Game() const { return game_; }
    GameState& Game() { return game_; }
    [[nodiscard]] SliderRange Range() const { return range_; }

    // Brings the game on show to slider value v; returns the value it stood at before.
    int MoveToSliderValue(int v);
    // The slider value a click on score line `line` goes to: after that line's Black move.
    [[nodiscard]] int SliderValueOfLine(int line) const;

    // The game on show with its comments, glyphs and variations, numbered as the score numbers it.
    [[nodiscard]] pgn::AnnotatedGame ReadAnnotated();
    // The position after variation move `item` of `text`, played from the main line's position
    // where the variation branches off; the game itself does not move.
    struct VariationReached {
        LinePosition at;
        bool whole = true;  // false: a move the position does not allow; `at` is where it stopped
    };
    [[nodiscard]] VariationReached VariationPosition(const pgn::AnnotatedGame& text,
                                                     int item) const;
    // The FEN record of the position on show.
    [[nodiscard]] std::string Fen() const;
    // The game on show's bytes as the file has them; none when there is no game or it is longer
    // than `limit`.
    [[nodiscard]] std::optional<std::string> GameBytes(std::int64_t limit);

  private:
    pgn::GameSource source_;
    std::int64_t current_ = 0;
    pgn::GameRecord record_;
    GameState game_;
    SliderRange range_;
};

}  // namespace tavrel::session
