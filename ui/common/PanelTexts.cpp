#include "PanelTexts.h"

#include "core/Board.h"

namespace tavrel::ui {

QString NumberText(long long value) {
    return (value >= 0 ? " " : "") + QString::number(value);
}

QString MovePanelText(int moveNumber) {
    return "Move:" + NumberText(moveNumber) + " ";
}

QString SidePanelText(int side) {
    return side == White ? "White " : "Black ";
}

}  // namespace tavrel::ui
