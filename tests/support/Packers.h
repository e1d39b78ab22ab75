#pragma once
// Compressed copies of test files, made with the system's own tools (zstd, pzstd, gzip, zip) in
// a temporary folder that goes with the test; a tool that is missing is reported, not faked.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tavrel::testing {

inline bool HasTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// A folder of its own under /tmp, removed with everything in it when it goes.
class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/tavrel-packed-XXXXXX";
        path_ = ::mkdtemp(name) ? name : "/tmp";
    }
    ~TempDir() {
        std::error_code ignored;
        if (path_ != "/tmp") std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// One way of compressing a file: the tool it needs and the shell command, with IN and OUT for
// the plain and the compressed file's paths. Pieces of the file compressed one after another
// make many frames or members, with a game cut between two of them now and then.
struct Packer {
    const char* name;
    const char* tool;
    const char* command;
};

inline constexpr Packer kPackers[] = {
    {"zstd, one frame", "zstd", "zstd -q -c IN > OUT"},
    {"pzstd", "pzstd", "pzstd -q -p 2 -c IN > OUT"},
    {"zstd, many frames", "zstd", "split -b 40000 IN OUT.part && for p in OUT.part*; do zstd -q -c $p; done > OUT && rm OUT.part*"},
    {"gzip", "gzip", "gzip -c IN > OUT"},
    {"gzip, many members", "gzip", "split -b 40000 IN OUT.part && for p in OUT.part*; do gzip -c $p; done > OUT && rm OUT.part*"},
    {"zip", "zip", "rm -f OUT && cp IN OUT.d.pgn && zip -q -j OUT OUT.d.pgn && rm OUT.d.pgn"},
    {"zip, stored", "zip", "rm -f OUT && cp IN OUT.d.pgn && zip -q -0 -j OUT OUT.d.pgn && rm OUT.d.pgn"},
};

// Compresses `in` to `out` as `packer` does; false when that fails.
inline bool Pack(const Packer& packer, const std::string& in, const std::string& out) {
    std::string command = packer.command;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"IN", Quoted(in)}, {"OUT", out}}) {
        for (std::size_t at = command.find(from); at != std::string::npos; at = command.find(from, at + to.size())) {
            command.replace(at, from.size(), to);
        }
    }
    return Shell(command);
}

}  // namespace tavrel::testing
