#include <gtest/gtest.h>

#include <optional>

#include "core/MoveGen.h"
#include "core/Replay.h"

namespace tavrel {
namespace {

// The game reaches no position past a text that names no legal move: every later slider value
// shows the last position it really reached, whether stepped to or jumped to. Null moves pass.
TEST(Replay, TheBoardStopsAtAHalfMoveThatCannotBePlayed) {
    const std::string afterE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";
    const struct {
        std::vector<std::pair<std::string, std::string>> rows;
        const char* fen;
        std::optional<int> unplayable;
        const char* stopsAt;  // the placement every value from the unplayable one on shows
        const char* said;     // the half-move that cannot be played: "12... Nf6"
    } rows[] = {
        {{{"e4", "e5!!?"}, {"Ke3", "Nf6"}, {"d4", ""}}, "", 2, afterE5.c_str(), "2. Ke3"},
        {{{"e4", "e5"}, {"Nf3", "Zz9"}, {"Nc3", "Nc6"}}, "", 3, "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R", "2... Zz9"},
        {{{"e4", "--"}, {"Nf3", "e5"}}, "", std::nullopt, "", ""},
        {{{"", "Kd7"}, {"Kb2", "Ke9"}}, "4k3/8/8/8/8/8/8/K7 b - - 0 23", 2, "8/3k4/8/8/8/8/1K6/8", "24... Ke9"},
        {{{"e4", "e5"}, {"Nf3", "Nc6"}, {"Bc4", "Ne7"}, {"O-O", "Nf5"}}, "", 5,
         "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R", "3... Ne7"},  // knights on c6 and g8
        {{{"Ng5", "e5"}}, "", 0, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "1. Ng5"},
    };
    for (const auto& row : rows) {
        GameState state;
        state.Load(row.rows, row.fen);
        const int max = static_cast<int>(2 * row.rows.size()) - 1 - (state.BlackStarts() ? 1 : 0);
        FindUnplayable(state, max);
        ASSERT_EQ(state.Unplayable, row.unplayable) << row.said;
        EXPECT_EQ(state.LastSliderValue, -1);
        if (!row.unplayable) continue;
        const HalfMovePlace place = HalfMoveAt(state, *row.unplayable);
        EXPECT_EQ(std::to_string(place.moveNumber) + (place.side == White ? ". " : "... ") + place.text, row.said);
        // Stepped one by one, jumped to from the start, and jumped back to from past the end.
        for (int v = 0; v <= max; ++v) ShowSliderValue(state, v);
        EXPECT_EQ(FenPlacement(state.GameBoard), row.stopsAt) << row.said;
        EXPECT_EQ(state.LastSliderValue, *row.unplayable - 1) << row.said;
        ShowSliderValue(state, -1);
        ShowSliderValue(state, max);
        EXPECT_EQ(FenPlacement(state.GameBoard), row.stopsAt) << row.said;
        if (*row.unplayable > 0) {
            ShowSliderValue(state, *row.unplayable - 1);
            EXPECT_EQ(FenPlacement(state.GameBoard), row.stopsAt) << row.said;
        }
    }
}

}  // namespace
}  // namespace tavrel
