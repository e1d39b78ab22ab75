#include "FuzzSupport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/LineReplay.h"
#include "core/MakeMove.h"
#include "core/Replay.h"
#include "core/SanMatch.h"
#include "pgn/PgnFile.h"

namespace tavrel::fuzz {

void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

const std::string& AsFile(const unsigned char* data, std::size_t size) {
    static const int fd = ::memfd_create("tavrel-fuzz", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) Fail("cannot make the in-memory file");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) Fail("cannot write the in-memory file");
        done += static_cast<std::size_t>(n);
    }
    return path;
}

std::size_t BufferSizeFor(const unsigned char* data, std::size_t size) {
    return size > 0 && size <= 4096 && data[0] % 2 ? 1 + data[0] % 13 : pgn::PgnFile::kDefaultBufferSize;
}

void CheckPosition(const GameState& state) {
    // Walked as the flat cell array: this runs after every half-move of every input.
    const int16_t* cells = state.GameBoard.Cells();
    int kings[2] = {0, 0};
    for (int r = -1; r <= 10; ++r) {
        const bool playingRow = r >= 1 && r <= 8;
        for (int c = -1; c <= 10; ++c) {
            const int16_t piece = cells[Board::Index(r, c)];
            if (piece == 0) continue;
            if (!playingRow || c < 1 || c > 8) Fail("a piece on the border");
            kings[0] += piece == Piece::King;
            kings[1] += piece == -Piece::King;
        }
    }
    if (kings[0] != 1 || kings[1] != 1) Fail("not one king each");
    for (int side : {White, Black}) {
        for (int slot = 1; slot <= 16; ++slot) {
            const Square s = state.PieceListOf(side)[static_cast<std::size_t>(slot)];
            if (s.row == 0) continue;
            if (!s.onBoard()) Fail("a piece-list entry off the board");
            if (state.GameBoard[s] * side <= 0) Fail("a piece-list entry on an empty or enemy square");
        }
    }
}

void ReplayAndCompare(GameState& state, const pgn::GameRecord& game) {
    // The game's start as the window takes it: its FEN's position, or the initial one when the
    // FEN cannot be used, and there the board stays.
    state.Load(game.rows, game.Fen, game.Variant);
    CheckPosition(state);
    if (!state.StartProblem.empty()) return;
    if (!game.rows.empty() && state.BlackStarts() != game.blackStarts) {
        Fail("the score and the replay disagree on who moves first");
    }
    const int max = game.SliderMax();
    Board atMax = state.GameBoard;
    int v = -1;
    bool passed = false;  // a half-move matched nothing, so the side to move may stand in check
    for (int n = 1; n <= state.Moves.RowCount(); ++n) {
        for (int side : {White, Black}) {
            // A game that starts with Black's move has no White half in its first row.
            if (n == 1 && side == White && state.BlackStarts()) continue;
            state.MoveNumber = n;
            state.SideToMove = static_cast<int16_t>(side);
            // The targeted matcher, as the window replays; SanMatchFuzz holds it to the matcher
            // over the full legal list, which would cost this target most of its time.
            const Move move = FindSanMove(state, state.Moves.Row(n).Of(side).text);
            MakeMove(state, move);
            CheckPosition(state);
            if (++v <= max) passed = passed || move.IsNone();
            if (v == max) atMax = state.GameBoard;
        }
    }
    // The slider goes back to the start, then jumps to the end (or steps, for a one-ply game).
    ShowSliderValue(state, -1);
    state.LastSliderValue = -1;
    if (max < 0) return;
    ShowSliderValue(state, max);
    if (!(state.GameBoard == atMax)) Fail("the slider ends on another board than the steps");
    // The copied FEN of the last position reads back as that position, unless a half-move that
    // passed left the side not to move in check, which no FEN may say.
    const FenResult copied = ParseFen(GameFen(state, max));
    if (!copied.setUp && !passed) Fail("the copied FEN cannot be read back");
    if (copied.setUp && !(copied.setUp->position.GameBoard == atMax)) {
        Fail("the copied FEN holds another board");
    }
}

}  // namespace tavrel::fuzz
