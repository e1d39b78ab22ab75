#pragma once
// Indexing a file with the progress window: the scan lets the window's events through at its
// progress points only, and meanwhile only the progress window takes the user's input.

#include <QPointer>
#include <functional>

#include "pgn/GameIndex.h"
#include "pgn/PgnFile.h"

class QWidget;

namespace tavrel::ui {

class frmSplash;

struct ProgressScan {
    pgn::GameIndex index;
    bool showedWindow = false;  // the scan was long enough for the progress window
    bool cancelled = false;     // "Cancel" was pressed: the file is closed and the program ends
};

// Scans `file`. A long scan shows the progress window, centred on the screen and owned by `owner`.
// `keepGoing` is asked at every progress point (the main window closing stops the scan).
// `onShown` is told of the window when it appears (tests press its keys and buttons).
ProgressScan IndexWithProgress(pgn::PgnFile& file, QWidget* owner, const std::function<bool()>& keepGoing,
                               const pgn::ScanOptions& options = {},
                               const std::function<void(frmSplash&)>& onShown = {});

}  // namespace tavrel::ui
