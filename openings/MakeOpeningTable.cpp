// Builds the opening names table at build time: plays every named line of the TSV files from the
// initial position and writes a C++ source with the reached positions' keys in sorted order, so
// that the program looks a position up by binary search and pays nothing at start-up.
//   tavrel-opening-table OUT.cpp a.tsv b.tsv ...
// A line that cannot be played fails the build instead of naming nothing.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/LineReplay.h"
#include "core/PositionKey.h"

namespace {

struct Named {
    std::uint64_t key = 0;
    std::string eco;
    std::string name;
};

std::vector<std::string> MoveTexts(const std::string& pgn) {
    std::vector<std::string> texts;
    std::istringstream words(pgn);
    for (std::string word; words >> word;) {
        if (word.back() != '.') texts.push_back(word);  // "1." and "1..." are move numbers
    }
    return texts;
}

// Every byte that is not plain printable ASCII as a three-digit octal escape: the names keep
// their UTF-8 accents whatever the compiler's source character set.
std::string Literal(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7e) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\%03o", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: tavrel-opening-table OUT.cpp FILE.tsv...\n";
        return 2;
    }
    const tavrel::LinePosition start{tavrel::StartPosition(), tavrel::White, {}, 0};
    // One name per position: where several lines reach it, the first in the files' order, the
    // ECO volumes' own order, speaks for it.
    std::map<std::uint64_t, Named> byKey;
    for (int f = 2; f < argc; ++f) {
        std::ifstream in(argv[f]);
        if (!in) {
            std::cerr << argv[f] << ": cannot be read\n";
            return 1;
        }
        std::string line;
        for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (lineNumber == 1 || line.empty()) continue;  // the column names
            const auto tab1 = line.find('\t');
            const auto tab2 = line.find('\t', tab1 + 1);
            if (tab1 != 3 || tab2 == std::string::npos) {
                std::cerr << argv[f] << ":" << lineNumber << ": not ECO, name and moves\n";
                return 1;
            }
            const std::vector<std::string> texts = MoveTexts(line.substr(tab2 + 1));
            tavrel::LinePosition at = tavrel::PlayLine(start, texts);
            if (texts.empty() || at.played != static_cast<int>(texts.size())) {
                std::cerr << argv[f] << ":" << lineNumber << ": move " << at.played + 1 << " cannot be played\n";
                return 1;
            }
            const std::uint64_t key = tavrel::PositionKey(at.position, at.sideToMove, at.last);
            byKey.try_emplace(key, Named{key, line.substr(0, 3), line.substr(tab1 + 1, tab2 - tab1 - 1)});
        }
    }
    std::ostringstream out;
    out << "// Made by tavrel-opening-table from data/openings: do not edit.\n"
           "#include \"OpeningData.h\"\n\nnamespace tavrel::openings {\n\n"
           "const char kOpeningNames[] =\n";
    std::vector<std::uint32_t> offsets;
    std::uint32_t offset = 0;
    for (const auto& [key, named] : byKey) {
        offsets.push_back(offset);
        offset += static_cast<std::uint32_t>(named.name.size());
        out << "    " << Literal(named.name) << "\n";
    }
    out << "    ;\n\nconst OpeningEntry kOpeningEntries[] = {\n";
    std::size_t i = 0;
    for (const auto& [key, named] : byKey) {
        out << "    {0x" << std::hex << key << std::dec << "ULL, " << offsets[i++] << ", " << named.name.size()
            << ", {'" << named.eco[0] << "', '" << named.eco[1] << "', '" << named.eco[2] << "'}},\n";
    }
    out << "};\n\nconst std::size_t kOpeningEntryCount = " << byKey.size() << ";\n\n}  // namespace tavrel::openings\n";
    // Written only when it changed, so that a rebuilt generator does not rebuild its users.
    std::string old;
    if (std::ifstream was(argv[1]); was) old.assign(std::istreambuf_iterator<char>(was), {});
    if (old != out.str()) std::ofstream(argv[1]) << out.str();
    return 0;
}
