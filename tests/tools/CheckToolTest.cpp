// The check tool as a user runs it: output lines, exit status, and messages.

#include <gtest/gtest.h>

#include <string>

#include "support/RunCommand.h"
#include "support/TempFile.h"

namespace tavrel {
namespace {

using ToolRun = testing::CommandRun;

ToolRun Check(const std::string& args) { return testing::RunCommand(std::string(TAVREL_CHECK_BINARY) + " " + args); }

TEST(CheckTool, TheSampleFileReplaysWhole) {
    EXPECT_EQ(Check(std::string(TAVREL_SOURCE_DIR) + "/samples/famous-games.pgn").status, 0);
    EXPECT_EQ(Check("--count " + std::string(TAVREL_SOURCE_DIR) + "/samples/famous-games.pgn").out,
              "{\"games\":4}\n");
}

// A file's run: a text that names no move makes the status 1; names come out as UTF-8 JSON; set-up
// games replay from their FEN or say why not; null moves pass.
TEST(CheckTool, ReportsWhatEachGameReplaysTo) {
    const struct {
        std::string bytes;
        const char* option;
        std::vector<std::string> found;  // pieces of the output
    } rows[] = {
        {"[Event \"Caf\xe9\"]\n[White \"Quote \\\\\"]\n[Black \"Tab\there\"]\n\n1. e4 e5 2. Ke3 Nf6 3. d4 *\n", "--fens ",
         {"\"event\":\"Caf\xc3\xa9\"", "\"black\":\"Tab\\there\"", "\"unmatched\":[{\"ply\":3,\"text\":\"Ke3\"}]",
          "\"plies\":5", "\"fens\":[\"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b\""}},
        {"[Event \"a\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 23\"]\n\n23... Kd7 24. e4 *\n"
         "[Event \"b\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - -\"]\n\n1. Kd2 *\n"
         "[Event \"c\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w\"]\n\n1. Kd2 *\n"
         "[Event \"d\"]\n[Variant \"Crazyhouse\"]\n\n1. e4 e5 2. N@f3 *\n"
         "[Event \"e\"]\n\n1. e4 -- 2. d4 Z0 3. -- e5 4. dxe5 *\n"
         "[Event \"f\"]\n[FEN \"4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1\"]\n\n1. Nd2 Kd7 *\n", "",
         {"\"plies\":2,\"unmatched\":[],\"final\":\"8/3k4/8/8/4P3/8/8/4K3 b\",\"error\":null",
          "\"final\":\"4k3/8/8/8/8/8/3K4/8 b\",\"error\":null",
          "\"error\":\"Start position could not be read: the FEN has fewer than 4 fields\"",
          "\"plies\":7,\"unmatched\":[],\"final\":\"rnbqkbnr/pppp1ppp/8/4P3/4P3/8/PPP2PPP/RNBQKBNR b\"",
          "\"error\":\"Variant Crazyhouse cannot be replayed\"",
          "\"plies\":2,\"unmatched\":[{\"ply\":1,\"text\":\"Nd2\",\"ambiguous\":[\"b1\",\"f3\"]}]"}},
    };
    for (const auto& row : rows) {
        testing::TempFile file(row.bytes);
        const ToolRun run = Check(row.option + file.path());
        EXPECT_EQ(run.status, 1);
        for (const std::string& piece : row.found) EXPECT_NE(run.out.find(piece), std::string::npos) << piece << "\n" << run.out;
    }
}

// The last game's tag ends the file: the copies of a tag's text, which read past its end, must
// stay in the bytes read.
TEST(CheckTool, HeadersGiveEveryTagPairWithItsGamesOffset) {
    testing::TempFile file("junk\n[Event \"Caf\xe9\"]\n[Site \"?\"] [White \"A \\\"q\\\"\"]\n\n1. e4 *\n"
                           "[Event \"Two\"]\n1. d4 *\n"
                           "[Event \"Long name\twith a tab\"]\n[Site \"Sixteen bytes \x7f!\"]\n1. e4 *\n"
                           "[Event \"Ends the file\"]");
    const ToolRun run = Check("--headers " + file.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "{\"game\":1,\"offset\":6,\"tags\":[[\"Event\",\"Caf\xc3\xa9\"],[\"Site\",\"?\"],"
              "[\"White\",\"A \\\\q\\\\\"]]}\n"
              "{\"game\":2,\"offset\":59,\"tags\":[[\"Event\",\"Two\"]]}\n"
              "{\"game\":3,\"offset\":81,\"tags\":[[\"Event\",\"Long name\\twith a tab\"],[\"Site\",\"Sixteen bytes \x7f!\"]]}\n"
              "{\"game\":4,\"offset\":146,\"tags\":[[\"Event\",\"Ends the file\"]]}\n");
}

// The tree and the games reaching a position, as lines a script reads; a position that cannot be
// used exits with 2.
TEST(CheckTool, TreeAndReach) {
    const testing::TempFile file(
        "[Event \"a\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n\n[Event \"b\"]\n[Result \"0-1\"]\n\n1. Nf3 Nf6 2. e4 0-1\n"
        "\n[Event \"c\"]\n[Result \"1/2-1/2\"]\n\n1. e4 Nf6 2. Nf3 1/2-1/2\n");
    const std::string afterE4Nf6Nf3 = "\"rnbqkb1r/pppppppp/5n2/8/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 0 1\" ";
    EXPECT_EQ(Check("--tree \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\" " + file.path()).out,
              "{\"san\":\"e4\",\"uci\":\"e2e4\",\"games\":2,\"white\":1,\"draws\":1,\"black\":0}\n"
              "{\"san\":\"Nf3\",\"uci\":\"g1f3\",\"games\":1,\"white\":0,\"draws\":0,\"black\":1}\n"
              "{\"total\":true,\"games\":3,\"white\":1,\"draws\":1,\"black\":1}\n");
    EXPECT_EQ(Check("--reach " + afterE4Nf6Nf3 + file.path()).out, "{\"game\":2,\"ply\":3}\n{\"game\":3,\"ply\":3}\n");
    EXPECT_EQ(Check("--tree \"8/8/8/8/8/8/8/8 w - - 0 1\" " + file.path()).status, 2);
}

TEST(CheckTool, FilesThatCannotBeReadExitWithTwo) {
    for (const char* path : {"/nonexistent/file.pgn", "/tmp"}) {
        const ToolRun run = Check(path);
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_NE(run.out.find("cannot read"), std::string::npos) << run.out;
    }
    const ToolRun picture = Check(std::string(TAVREL_SOURCE_DIR) + "/resources/logo.png");
    EXPECT_EQ(picture.status, 2);
    EXPECT_NE(picture.out.find("not a PGN file"), std::string::npos) << picture.out;
    EXPECT_EQ(Check("").status, 2);
    EXPECT_EQ(Check("--bogus x.pgn").status, 2);
    EXPECT_EQ(Check("--help").status, 0);
}

}  // namespace
}  // namespace tavrel
