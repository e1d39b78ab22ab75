#pragma once
// A program run through the shell as a user runs it from a terminal: its exit status and all it
// printed, standard error included.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace tavrel::testing {

struct CommandRun {
    int status = -1;
    std::string out;
};

inline CommandRun RunCommand(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    CommandRun run;
    std::array<char, 4096> chunk{};
    while (std::size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe)) run.out.append(chunk.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace tavrel::testing
