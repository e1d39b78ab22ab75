#include "GameRecord.h"

#include <algorithm>

namespace tavrel::pgn {

int GameRecord::SliderMax() const {
    const int n = static_cast<int>(rows.size());
    return std::max(-1, (lastRowFlag ? 2 * n - 1 : 2 * n - 2) - (blackStarts ? 1 : 0));
}

int GameRecord::LargeChange() const {
    const auto n = rows.size();
    if (n <= 6) return 2;
    if (n <= 20) return 4;
    if (n <= 40) return 6;
    return 10;
}

namespace {

std::vector<std::string> FenFields(const std::string& fen) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (fields.size() < 6) {
        at = fen.find_first_not_of(" \t", at);
        if (at == std::string::npos) break;
        const std::size_t end = std::min(fen.size(), fen.find_first_of(" \t", at));
        fields.push_back(fen.substr(at, end - at));
        at = end;
    }
    return fields;
}

}  // namespace

bool FenHasBlackToMove(const std::string& fen) {
    const auto fields = FenFields(fen);
    return fields.size() >= 2 && fields[1] == "b";
}

int FenMoveNumber(const std::string& fen) {
    const auto fields = FenFields(fen);
    if (fields.size() < 6 || fields[5].size() > 5) return 1;
    if (fields[5].find_first_not_of("0123456789") != std::string::npos) return 1;
    return std::max(1, std::stoi(fields[5]));
}

}  // namespace tavrel::pgn
