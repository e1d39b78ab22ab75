#include "PanelTexts.h"

#include "core/Board.h"

namespace tavrel::ui {

QString GroupedNumber(long long value) {
    QString digits = QString::number(value);
    const int first = value < 0 ? 1 : 0;
    for (auto at = digits.size() - 3; at > first; at -= 3) digits.insert(at, ',');
    return digits;
}

QString NumberText(long long value) {
    return (value >= 0 ? " " : "") + GroupedNumber(value);
}

QString MovePanelText(int moveNumber) {
    return "Move:" + NumberText(moveNumber) + " ";
}

QString SidePanelText(int side) {
    return side == White ? "White " : "Black ";
}

}  // namespace tavrel::ui
