#pragma once
// Indexing a file with the progress window: the scan lets the window's events through at its
// progress points only, and meanwhile only the progress window takes the user's input.

#include <QPointer>
#include <functional>

#include "pgn/GameSource.h"

class QWidget;

namespace tavrel::ui {

class frmSplash;

struct ProgressScan {
    bool showedWindow = false;  // the scan was long enough for the progress window
    bool cancelled = false;     // "Cancel" was pressed: the source is closed and the program ends
};

// Indexes the file open in `source`: its games are in source.Index() after. A long scan shows the
// progress window, centred on the screen and owned by `owner`.
// `keepGoing` is asked at every progress point (the main window closing stops the scan).
// `onShown` is told of the window when it appears (tests press its keys and buttons).
ProgressScan IndexWithProgress(pgn::GameSource& source, QWidget* owner, const std::function<bool()>& keepGoing,
                               const pgn::ScanOptions& options = {},
                               const std::function<void(frmSplash&)>& onShown = {});

}  // namespace tavrel::ui
