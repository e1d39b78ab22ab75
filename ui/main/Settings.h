#pragma once
// What the program remembers between runs, in the user's configuration folder. Each setting has
// a typed getter with its default and a setter; nothing else in the program names a key. A value
// of the wrong type or out of range, as a damaged or foreign file holds, reads as the default.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavrel::ui {

// The Options menu's marks that the board and the beeps follow.
struct OptionMarks {
    bool beepOnError = true;
    bool colourSquares = true;
    bool analysisBoard = false;
    bool reversed = false;
    bool operator==(const OptionMarks&) const = default;
};

class StoredSettings {
public:
    // The board size in per cent; 100, the default layout, when none was stored or the stored
    // one is not offered.
    [[nodiscard]] int BoardSizePercent() const;
    void SetBoardSizePercent(int percent);

    [[nodiscard]] bool ShowCoordinates() const;
    void SetShowCoordinates(bool show);

    [[nodiscard]] bool HighlightLastMove() const;
    void SetHighlightLastMove(bool show);

    // The marks as they were left; each the menu's initial mark when none was stored.
    [[nodiscard]] OptionMarks Marks() const;
    void SetMarks(const OptionMarks& marks);

    // The animation's delay as last typed: empty when none was, or when the stored text is no
    // delay the box would take.
    [[nodiscard]] QString AnimationDelay() const;
    void SetAnimationDelay(const QString& delay);

    // The folder the open dialog showed a file from last; empty when none or gone.
    [[nodiscard]] QString OpenFolder() const;
    void SetOpenFolder(const QString& folder);

    // The files opened last, the latest first, at most kRecentFiles.
    static constexpr int kRecentFiles = 8;
    [[nodiscard]] QStringList RecentFiles() const;
    void SetRecentFiles(const QStringList& paths);

    // Windows: the single window's mark, its layout, and where each window stood.
    [[nodiscard]] bool SingleWindow() const;
    void SetSingleWindow(bool on);
    // QMainWindow's saveGeometry() and saveState() of the single window; empty when none.
    [[nodiscard]] QByteArray SingleWindowGeometry() const;
    void SetSingleWindowGeometry(const QByteArray& geometry);
    [[nodiscard]] QByteArray DockState() const;
    void SetDockState(const QByteArray& state);
    // The panes the single window showed when it closed, by name.
    [[nodiscard]] QStringList OpenPanes() const;
    void SetOpenPanes(const QStringList& panes);
    // The frame of the window named `window` when it last closed; none when none was stored or
    // the stored one is not a window's size.
    [[nodiscard]] std::optional<QRect> WindowFrame(const QString& window) const;
    void SetWindowFrame(const QString& window, const QRect& frame);
};

}  // namespace tavrel::ui
