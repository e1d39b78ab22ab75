#pragma once
// A file under the test's temporary folder holding given bytes, removed when it goes; and the
// bytes of a file.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace tavrel::testing {

// The bytes of the file at `path`; none when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

class TempFile {
public:
    explicit TempFile(const std::string& bytes) {
        char name[] = "/tmp/tavrel-test-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) ::close(fd);
        path_ = name;
        Write(bytes);
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void Write(const std::string& bytes) const {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
    }
    [[nodiscard]] const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace tavrel::testing
