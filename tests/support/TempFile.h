#pragma once
// A file under the test's temporary folder holding given bytes, removed when it goes.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace tavrel::testing {

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
