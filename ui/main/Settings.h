#pragma once
// What the program remembers between runs, in the user's configuration folder. Each setting has
// a typed getter with its default and a setter; nothing else in the program names a key.

namespace tavrel::ui {

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
};

}  // namespace tavrel::ui
