// The game's header above the score: the tags of real games as they read, and the opening name
// in the game text's title line.

#include "ui/WindowFixture.h"
#include "ui/gametext/GameText.h"
#include "ui/header/GameHeader.h"

namespace tavrel::ui::testing {
namespace {

class GameHeaderTest : public WindowTest {};

TEST_F(GameHeaderTest, ShowsTheTagsOfTheGameOnShow) {
    const struct {
        QString file;
        int game;
        QStringList lines;
    } rows[] = {
        // Round "-" is left out.
        {kSample, 1, {"Anderssen, Adolf", "Kieseritzky, Lionel", "London casual game, London ENG", "1851.06.21, 1-0",
                      "C33 King's Gambit Accepted", "Bishop's Gambit, Bryan Countergambit"}},
        // The unknown parts of the date and the round "?" are left out.
        {kSample, 2, {"Morphy, Paul", "Duke Karl / Count Isouard", "Paris Opera, Paris FRA", "1858, 1-0", "C41 Philidor Defense", ""}},
        {TAVREL_SHARED_PGN "/kramnik.pgn", 1,
         {"Kramnik, Vladimir (2450)", "Tiviakov, Sergei (2500)", "URS-qualJ, Sochi", "1990, 1-0",
          "E32 Nimzo-Indian Defense", "Classical Variation, Keres Defense"}},
    };
    for (const auto& row : rows) {
        if (!QFile::exists(row.file)) continue;
        ASSERT_TRUE(Load(row.file));
        for (int next = 1; next < row.game; ++next) window->Toolbar1_ButtonClick("Ngame");
        EXPECT_EQ(window->Header()->Lines(), row.lines) << row.file.toStdString() << " game " << row.game;
    }
    // It stands in the score window, above the score's headings.
    EXPECT_EQ(window->Header()->parentWidget(), window->Score());
    EXPECT_LE(window->Header()->geometry().bottom(), window->Score()->WLabel->geometry().top());
}

TEST_F(GameHeaderTest, AGameFromASetUpPositionWithUnknownTagsShowsNothingItDoesNotKnow) {
    ASSERT_TRUE(LoadText("[Event \"?\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n[Round \"?\"]\n[White \"?\"]\n"
                         "[Black \"?\"]\n[Result \"*\"]\n[FEN \"8/8/4k3/8/8/4K3/4P3/8 w - - 0 1\"]\n\n1. Kd3 *\n"));
    EXPECT_EQ(window->Header()->Lines(), QStringList({"", "", "", "", "", ""}));
}

TEST_F(GameHeaderTest, TheGameTextTitleNamesTheOpening) {
    ASSERT_TRUE(Load(kSample));
    window->Toolbar1_ButtonClick("Lgame");
    window->ctlGameText_Click();
    EXPECT_EQ(window->Text()->windowTitle(),
              "Game text - Reti, Richard vs. Tartakower, Savielly - B15 Caro-Kann Defense: Main Line");
}

}  // namespace
}  // namespace tavrel::ui::testing
