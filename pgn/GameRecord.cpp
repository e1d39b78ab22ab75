#include "GameRecord.h"

#include <algorithm>

namespace tavrel::pgn {

int GameRecord::SliderMax() const {
    const int n = static_cast<int>(rows.size());
    return std::max(-1, lastRowFlag ? 2 * n - 1 : 2 * n - 2);
}

int GameRecord::LargeChange() const {
    const auto n = rows.size();
    if (n <= 6) return 2;
    if (n <= 20) return 4;
    if (n <= 40) return 6;
    return 10;
}

std::vector<std::string> GameRecord::ScoreLines() const {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        lines.push_back(ScoreLine(static_cast<int>(i) + 1, rows[i].first, rows[i].second));
    }
    return lines;
}

std::string ScoreLine(int moveNumber, const std::string& white, const std::string& black) {
    const std::string digits = std::to_string(moveNumber);
    const std::string number = moveNumber < 10 ? "   " + digits : moveNumber < 100 ? " " + digits : digits;
    return number + ".       " + white + "\t" + black;
}

bool IsResultText(const std::string& text) {
    return text == "1-0" || text == "0-1" || text == "1/2-1/2";
}

}  // namespace tavrel::pgn
