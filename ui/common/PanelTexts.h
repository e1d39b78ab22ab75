#pragma once
// The texts the windows put beside numbers: the status bar's panels, the game counter, the
// scan's progress. Their blanks are part of how the window has always looked.

#include <QString>

namespace tavrel::ui {

// One blank before a number that is not negative: "Game 3 of 40", "Reading Game 1200".
QString NumberText(long long value);
// "Move:" and the move number, with its blanks: "Move: 12 ".
QString MovePanelText(int moveNumber);
// "White " or "Black ".
QString SidePanelText(int side);

}  // namespace tavrel::ui
