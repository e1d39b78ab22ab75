// The program's own command line, run as a user runs it from a terminal without a display.

#include <gtest/gtest.h>

#include <string>

#include "support/RunCommand.h"

namespace tavrel {
namespace {

testing::CommandRun WithoutDisplay(const std::string& args) {
    return testing::RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(TAVREL_BINARY) + " " + args);
}

TEST(CommandLine, HelpAndVersionNeedNoDisplay) {
    const struct {
        const char* args;
        const char* answer;
    } rows[] = {
        {"--help", "Usage:"},
        {"-h", "[FILE.pgn]"},
        {"--version", "Tavrel " TAVREL_VERSION},
        {"-style fusion --help", "Usage:"},
    };
    for (const auto& row : rows) {
        const testing::CommandRun run = WithoutDisplay(row.args);
        EXPECT_EQ(run.status, 0) << row.args << ": " << run.out;
        EXPECT_NE(run.out.find(row.answer), std::string::npos) << row.args << ": " << run.out;
        EXPECT_EQ(run.out.find("platform plugin"), std::string::npos) << row.args << ": " << run.out;
    }
}

}  // namespace
}  // namespace tavrel
