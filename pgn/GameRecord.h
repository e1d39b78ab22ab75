#pragma once
// One game as the reader found it: its tags, its move texts by move number, and what the window
// derives from them.

#include <string>
#include <utility>
#include <vector>

namespace tavrel::pgn {

// No legal game reaches 10,000 moves; rows past this many are read and dropped, so that a file of
// millions of move numbers cannot take the memory of the machine.
constexpr std::size_t kMaxMoveRows = 100'000;
// Move texts longer than this are cut and end in kCutMark.
constexpr std::size_t kMaxMoveTextBytes = 255;
constexpr char kCutMark = '~';

struct GameRecord {
    enum class Outcome {
        AtEnd,        // the file was at its end: nothing was read, nothing changes (a beep)
        // the game's bytes ended inside a comment, or right after one, before any move: the
        // tags read so far, no moves (a beep, as for a file that ends among its tags)
        EndedInComment,
        NoMoves,      // tags but no movetext before the next game
        Read,         // tags and movetext
    };

    Outcome outcome = Outcome::AtEnd;
    std::string WhitePlayer = "None";
    std::string BlackPlayer = "None";
    std::string EventName = "No Event";
    std::string RoundName = "None";
    std::string Fen;      // the FEN tag's value, when the game does not start from the usual position
    std::string Variant;  // the Variant tag's value, when the file names one
    // A set-up game whose FEN has Black to move: rows[0] has no White half-move, and the slider
    // counts from Black's first move.
    bool blackStarts = false;
    int firstMoveNumber = 1;  // the number of rows[0] as the game counts (the FEN's move number)
    // Row n (from 1) at rows[n - 1]: White's and Black's entries; results stand where the file
    // puts them ("1-0", "0-1", "1/2-1/2"), an absent half-move is "".
    std::vector<std::pair<std::string, std::string>> rows;
    // Set when the last row's Black half counts as a position the slider reaches.
    bool lastRowFlag = true;
    bool rowsDropped = false;  // the game had more than kMaxMoveRows rows

    [[nodiscard]] bool Beeps() const {
        return outcome == Outcome::AtEnd || outcome == Outcome::EndedInComment;
    }
    // The slider's range for this game runs from -1 (the initial position) to SliderMax().
    [[nodiscard]] int SliderMax() const;
    [[nodiscard]] int LargeChange() const;
};

// The side field ("w" or "b") and the full-move number of a FEN, as the game's rows and the
// score count them. Whether the position itself can be used is the replay's question.
bool FenHasBlackToMove(const std::string& fen);
int FenMoveNumber(const std::string& fen);

}  // namespace tavrel::pgn
