#pragma once
// The texts the windows put beside numbers: the status bar's panels, the game counter, the
// scan's progress. Their blanks are part of how the window has always looked.

#include <QString>

namespace tavrel::ui {

// A count or game number as every window writes it: digits grouped by threes with commas,
// "4,344,032", whatever the desktop's language, so that the score, the list and the progress
// window read alike. Ratings and years are not counts and stay plain.
QString GroupedNumber(long long value);
// One blank before a number that is not negative: "Game 3 of 40", "Reading Game 1,200".
QString NumberText(long long value);
// "Move:" and the move number, with its blanks: "Move: 12 ".
QString MovePanelText(int moveNumber);
// "White " or "Black ".
QString SidePanelText(int side);

}  // namespace tavrel::ui
