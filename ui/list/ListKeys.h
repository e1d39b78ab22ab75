#pragma once
// How the list of games compares and searches texts: folded for case (and accents, where
// Unicode decomposes them), dates and rounds by their numbers.

#include <QString>
#include <cstdint>
#include <vector>

namespace tavrel::ui {

// "Émile" and "emile" fold alike; used both for the search and for sorting names.
QString FoldedText(const QString& text);
// "1992.03.15" gives 19920315; a part written "??" (or missing) counts as 0 and sorts first.
std::uint32_t DateKey(QStringView date);
// "3" sorts before "10", "2.1" after "2"; a round without a number (0) sorts first.
std::uint64_t RoundKey(QStringView round);

// Sorts ascending, by radix: a million keys in a few passes over them, fewer when only some of
// their bits differ (a list's sort key over its game number).
void SortKeys(std::vector<std::uint64_t>& keys);

}  // namespace tavrel::ui
