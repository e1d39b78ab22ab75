// The program's own command line, run as a user runs it from a terminal without a display.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace tavrel {
namespace {

struct Outcome {
    int status;
    std::string out;
};

Outcome WithoutDisplay(const std::string& args) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                std::string(TAVREL_BINARY) + " " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    Outcome run{-1, {}};
    std::array<char, 4096> chunk{};
    while (std::size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe)) run.out.append(chunk.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
        const Outcome run = WithoutDisplay(row.args);
        EXPECT_EQ(run.status, 0) << row.args << ": " << run.out;
        EXPECT_NE(run.out.find(row.answer), std::string::npos) << row.args << ": " << run.out;
        EXPECT_EQ(run.out.find("platform plugin"), std::string::npos) << row.args << ": " << run.out;
    }
}

}  // namespace
}  // namespace tavrel
