// The whole window on real files, checked against reference replays made by an independent chess
// library: what the board model holds and what the canvas shows.

#include "WindowFixture.h"
#include "support/RealFiles.h"

namespace tavrel::ui::testing {
namespace {

namespace fs = std::filesystem;
using ::tavrel::testing::Json;
using ::tavrel::testing::References;

const fs::path kShared = TAVREL_SHARED_PGN;

std::string Placement(const std::string& fen) { return fen.substr(0, fen.find(' ')); }

// What a square of a FEN placement holds: ' ' empty, 'w' a white piece, 'b' a black one.
std::vector<char> Occupants(const std::string& placement) {
    std::vector<char> squares;
    for (char c : ::tavrel::testing::PlacementSquares(placement)) squares.push_back(c == '.' ? ' ' : c >= 'a' ? 'b' : 'w');
    return squares;
}

class EndToEnd : public WindowTest {
protected:
    std::vector<char> CanvasOccupants() const {
        std::vector<char> squares;
        for (int row = 1; row <= 8; ++row)
            for (int col = 1; col <= 8; ++col)
                squares.push_back(Occupant(SquarePixel(kGameBoardOrigin, window->Settings().View(), row, col)));
        return squares;
    }

    void StepThroughGameComparing(const Json& ref) {
        const auto& fens = ref["fens"].items;
        ASSERT_EQ(window->Slider1->value(), -1);
        for (std::size_t ply = 0; ply < fens.size(); ++ply) {
            Step(Qt::Key_Down);
            ASSERT_EQ(window->Slider1->value(), static_cast<int>(ply));
            const std::string placement = Placement(fens[ply].text);
            ASSERT_EQ(FenPlacement(window->Game().GameBoard), placement) << "after ply " << ply + 1;
            ASSERT_EQ(CanvasOccupants(), Occupants(placement)) << "canvas after ply " << ply + 1;
        }
    }
};

TEST_F(EndToEnd, KeyboardStepsMatchTheReferenceOnBoardAndCanvas) {
    const fs::path file = kShared / "kramnik.pgn";
    if (!fs::exists(file)) GTEST_SKIP() << "no real PGN files at " << kShared;
    const auto refs = References(file);
    ASSERT_TRUE(Load(QString::fromStdString(file.string())));
    window->Slider1->setFocus();
    StepThroughGameComparing(refs[0]);
    window->Toolbar1_ButtonClick("Ngame");
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 2 of 40");
    StepThroughGameComparing(refs[1]);
}

// End on the slider must show the game's final position, however the game's text ends.
TEST_F(EndToEnd, EndShowsTheFinalPositionOfEveryReferenceGame) {
    if (!fs::exists(kShared)) GTEST_SKIP() << "no real PGN files at " << kShared;
    // Its movetext is coordinate notation without move numbers, which the window does not read.
    const fs::path notSan = kShared / "python-chess-uci-moves.pgn";
    int compared = 0;
    for (const fs::path& path : ::tavrel::testing::RealPgnFiles()) {
        const std::vector<Json> refs = References(path);
        if (path == notSan || refs.empty()) continue;
        const std::string name = fs::relative(path, kShared).string();
        ASSERT_TRUE(Load(QString::fromStdString(path.string()))) << name;
        for (const Json& ref : refs) {
            const auto number = static_cast<long long>(ref["game"].number);
            if (number > 1) window->Toolbar1_ButtonClick("Ngame");
            ASSERT_EQ(window->CurrentGame(), number) << name;
            if (ref["setup"].boolean || !ref["error"].IsNull()) continue;
            Step(Qt::Key_End);
            ASSERT_EQ(FenPlacement(window->Game().GameBoard), Placement(ref["final"].text))
                << name << " game " << number << ", slider at " << window->Slider1->value();
            ++compared;
        }
    }
    EXPECT_GT(compared, ::tavrel::testing::CompactRealFiles() ? 15 : 13000);
}

}  // namespace
}  // namespace tavrel::ui::testing
