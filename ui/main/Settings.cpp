#include "Settings.h"

#include <QSettings>
#include <algorithm>

#include "WindowScale.h"

namespace tavrel::ui {
namespace {

// The program's one settings file (the engine's choice is kept there too). Tests move the
// folder with QSettings::setPath.
QSettings Store() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "Tavrel", "Tavrel"); }

const char* const kBoardSize = "board/sizePercent";
const char* const kCoordinates = "board/showCoordinates";
const char* const kLastMove = "board/highlightLastMove";

}  // namespace

int StoredSettings::BoardSizePercent() const {
    const int percent = Store().value(kBoardSize, 100).toInt();
    return std::find(kBoardSizes.begin(), kBoardSizes.end(), percent) != kBoardSizes.end() ? percent : 100;
}

void StoredSettings::SetBoardSizePercent(int percent) { Store().setValue(kBoardSize, percent); }

bool StoredSettings::ShowCoordinates() const { return Store().value(kCoordinates, false).toBool(); }

void StoredSettings::SetShowCoordinates(bool show) { Store().setValue(kCoordinates, show); }

bool StoredSettings::HighlightLastMove() const { return Store().value(kLastMove, false).toBool(); }

void StoredSettings::SetHighlightLastMove(bool show) { Store().setValue(kLastMove, show); }

}  // namespace tavrel::ui
