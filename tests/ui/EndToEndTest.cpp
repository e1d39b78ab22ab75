// The whole window on a real file: every position a user steps through with the keyboard must be
// the reference replay's, on the board model and on the canvas alike.

#include <filesystem>
#include <fstream>

#include "WindowFixture.h"
#include "core/Fen.h"
#include "support/MiniJson.h"

namespace tavrel::ui::testing {
namespace {

const std::string kFile = std::string(TAVREL_SHARED_PGN) + "/kramnik.pgn";

std::vector<::tavrel::testing::Json> References() {
    std::ifstream in(std::string(TAVREL_SHARED_PGN) + "/kramnik.jsonl");
    std::vector<::tavrel::testing::Json> games;
    for (std::string line; std::getline(in, line);) games.push_back(::tavrel::testing::JsonParser(line).Parse());
    return games;
}

class EndToEnd : public WindowTest {
protected:
    void StepThroughGameComparing(const ::tavrel::testing::Json& ref) {
        const auto& fens = ref["fens"].items;
        ASSERT_EQ(window->Slider1->value(), -1);
        for (std::size_t ply = 0; ply < fens.size(); ++ply) {
            Step(Qt::Key_Down);
            ASSERT_EQ(window->Slider1->value(), static_cast<int>(ply));
            const std::string fen = fens[ply].text;
            const std::string placement = fen.substr(0, fen.find(' '));
            ASSERT_EQ(FenPlacement(window->Game().GameBoard), placement) << "after ply " << ply + 1;
            // The canvas shows exactly what painting the reference position shows.
            QImage expected = window->Canvas().copy();
            PaintBoard(expected, kGameBoardOrigin, ParseFen(placement + " w - -").setUp->position.GameBoard,
                       window->View, PiecePictures::Load());
            const QRect board(kGameBoardOrigin, QSize(264, 264));
            ASSERT_EQ(window->Canvas().copy(board), expected.copy(board)) << "canvas after ply " << ply + 1;
        }
    }
};

TEST_F(EndToEnd, KeyboardStepsMatchTheReferenceInTwoGames) {
    if (!std::filesystem::exists(kFile)) GTEST_SKIP() << "no real PGN files at " << TAVREL_SHARED_PGN;
    const auto refs = References();
    ASSERT_TRUE(Load(QString::fromStdString(kFile)));
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 1 of 40");
    window->Slider1->setFocus();
    StepThroughGameComparing(refs[0]);
    window->Toolbar1_ButtonClick("Ngame");
    EXPECT_EQ(window->Score()->GameCounter->text(), "Game 2 of 40");
    StepThroughGameComparing(refs[1]);
}

}  // namespace
}  // namespace tavrel::ui::testing
