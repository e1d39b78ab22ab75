#pragma once
// The real PGN files beside the project and their reference replays: one JSON object per game
// and line. The JSON read is just what those files hold: objects, arrays, strings, numbers and
// literals, written in UTF-8 without \u escapes (one stops the read instead of misreading it).

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrel::testing {

struct Json {
    bool isNull = true;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const {
        static const Json null;
        const auto it = fields.find(key);
        return it == fields.end() ? null : it->second;
    }
    [[nodiscard]] bool IsNull() const { return isNull; }
};

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : s_(text) {}

    // Commas and colons read as blanks: the files are well formed, so only the order matters.
    Json Parse() {
        Json v;
        const char c = Skip();
        ++i_;
        if (c == '{') {
            while (Skip() != '}') {
                const std::string key = Parse().text;
                v.fields[key] = Parse();
            }
            ++i_;
        } else if (c == '[') {
            while (Skip() != ']') v.items.push_back(Parse());
            ++i_;
        } else if (c == '"') {
            v.text = String();
        } else if (c == 'n') {
            i_ += 3;
            return v;
        } else if (c == 't' || c == 'f') {
            v.boolean = c == 't';
            i_ += c == 't' ? 3 : 4;
        } else {
            std::size_t used = 0;
            v.number = std::stod(s_.substr(--i_, 32), &used);
            i_ += used;
        }
        v.isNull = false;
        return v;
    }

private:
    char Skip() {
        while (i_ < s_.size() && std::strchr(" \t\r\n,:", s_[i_]) != nullptr) ++i_;
        return i_ < s_.size() ? s_[i_] : '\0';
    }
    std::string String() {
        std::string out;
        for (char c = s_.at(i_++); c != '"'; c = s_.at(i_++)) {
            if (c == '\\') {
                c = s_.at(i_++);
                if (c == 'u') throw std::runtime_error("a \\u escape in a reference file");
                const char* const escapes = "nrtbf";
                if (const char* e = std::strchr(escapes, c); e != nullptr && c != '\0') c = "\n\r\t\b\f"[e - escapes];
            }
            out += c;
        }
        return out;
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

// The 64 squares of a reference's FEN placement, a8 first; '.' for an empty one.
inline std::string PlacementSquares(const std::string& placement) {
    std::string squares;
    for (const char c : placement) {
        if (c >= '1' && c <= '8') squares.append(static_cast<std::size_t>(c - '0'), '.');
        else if (c != '/') squares += c;
    }
    return squares;
}

// Whether the tests read the compact set the project keeps rather than the larger collection:
// counts that guard against a comparison silently skipping most games are smaller there.
inline bool CompactRealFiles() {
    return std::filesystem::path(TAVREL_SHARED_PGN).filename() == "pgn" &&
           std::filesystem::path(TAVREL_SHARED_PGN).parent_path().filename() == "data";
}

// Every PGN file of the folder, in name order; none when the folder is absent.
inline std::vector<std::filesystem::path> RealPgnFiles() {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(TAVREL_SHARED_PGN)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TAVREL_SHARED_PGN)) {
        if (entry.path().extension() == ".pgn") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The reference games of a PGN file, from its reference file with the given extension.
inline std::vector<Json> References(const std::filesystem::path& pgn, const char* extension = ".jsonl") {
    std::ifstream in(std::filesystem::path(pgn).replace_extension(extension));
    std::vector<Json> games;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) games.push_back(JsonParser(line).Parse());
    }
    return games;
}

}  // namespace tavrel::testing
