#pragma once
// The main window's menus as data: captions, shortcuts and initial states in one table. The
// enums below are made from the same table, so an item is named by a value the compiler checks,
// never by a string looked up at run time.

#include <QAction>
#include <QMenu>
#include <array>
#include <cstddef>

class QMenuBar;
class QWidget;

namespace tavrel::ui {

// X(name, caption, on the menu bar)
#define TAVREL_MENUS(X)              \
    X(ctlFile, "&File", true)        \
    X(ctlGame, "&Game", true)        \
    X(ctlOptions, "&Options", true)  \
    X(ctlHelp, "&Help", true)        \
    X(mnuPopup, "PopUp", false)      \
    X(mnuBoardSize, "Board &size", false)

// X(menu, name, caption, shortcut, checkable, checked, hidden); a caption "-" is a separator; a
// shortcut column may hold several, "; " between them. The eight recent-file items keep their
// order, the latest file first; their captions get the file's name when there is one. The six piece items keep their order: an
// item's place among them is the piece code less 1; the six size items keep the order of
// kBoardSizes. ctlBoardSize is the item that opens the Board size menu.
#define TAVREL_MENU_ITEMS(X)                                                                 \
    X(ctlFile, ctlOpen, "&Open game...", "Ctrl+O", false, false, false)                      \
    X(ctlFile, ctlUndo, "&Undo last move", "Ctrl+U", false, false, false)                    \
    X(ctlFile, Dash1, "-", "", false, false, false)                                          \
    X(ctlFile, ctlRecent1, "&1", "", false, false, true)                                     \
    X(ctlFile, ctlRecent2, "&2", "", false, false, true)                                     \
    X(ctlFile, ctlRecent3, "&3", "", false, false, true)                                     \
    X(ctlFile, ctlRecent4, "&4", "", false, false, true)                                     \
    X(ctlFile, ctlRecent5, "&5", "", false, false, true)                                     \
    X(ctlFile, ctlRecent6, "&6", "", false, false, true)                                     \
    X(ctlFile, ctlRecent7, "&7", "", false, false, true)                                     \
    X(ctlFile, ctlRecent8, "&8", "", false, false, true)                                     \
    X(ctlFile, DashRecent, "-", "", false, false, true)                                      \
    X(ctlFile, ctlExit, "E&xit", "Ctrl+Q", false, false, false)                              \
    X(ctlGame, ctlAnimate, "&Animate...", "", false, false, false)                           \
    X(ctlGame, ctlCancelAnimate, "&Cancel Animate", "", false, false, true)                  \
    X(ctlGame, ctlGoToGame, "Go to game #...", "", false, false, false)                      \
    X(ctlGame, ctlNextGame, "&Next game", "Ctrl+PgDown", false, false, false)                \
    X(ctlGame, ctlPreviousGame, "&Previous game", "Ctrl+PgUp", false, false, false)          \
    X(ctlGame, ctlListGames, "&List of games...", "Ctrl+L", false, false, false)             \
    X(ctlGame, DashText, "-", "", false, false, false)                                       \
    X(ctlGame, ctlGameText, "Game &text", "Ctrl+T", false, false, false)                     \
    X(ctlGame, ctlCopyFen, "Copy position (FEN)", "Ctrl+Shift+F", false, false, false)       \
    X(ctlGame, ctlCopyPgn, "Copy game (PGN)", "Ctrl+Shift+G", false, false, false)           \
    X(ctlGame, ctlEngine, "&Engine analysis", "Ctrl+E", false, false, false)                 \
    X(ctlGame, ctlOpeningTree, "&Opening tree", "", false, false, false)                     \
    X(ctlOptions, ctlBeep, "&Beep on error", "", true, true, false)                          \
    X(ctlOptions, Color_or_mono, "&Color for squares", "Ctrl+C", true, true, false)          \
    X(ctlOptions, ctlDisplay, "&Display analysis board", "Ctrl+D", true, false, false)       \
    X(ctlOptions, ctlReverse, "&Reverse Board", "Ctrl+R", true, false, false)                \
    X(ctlOptions, DashBoard, "-", "", false, false, false)                                   \
    X(ctlOptions, ctlBoardSize, "Board &size", "", false, false, false)                      \
    X(ctlOptions, ctlCoordinates, "Show &coordinates", "", true, false, false)               \
    X(ctlOptions, ctlLastMove, "Highlight &last move", "", true, false, false)               \
    X(ctlOptions, ctlSingleWindow, "Single &window", "", true, false, false)                 \
    X(ctlHelp, ctlHome, "Go to my &home page", "", false, false, false)                      \
    X(ctlHelp, ctlUSCF, "Go to &USCF home page", "", false, false, false)                    \
    X(ctlHelp, Dash2, "-", "", false, false, false)                                          \
    X(ctlHelp, ctlPieceMove, "&Pieces and Rules", "", false, false, false)                   \
    X(ctlHelp, Dash3, "-", "", false, false, false)                                          \
    X(ctlHelp, ctlAbout, "&About Tavrel", "", false, false, false)                           \
    X(mnuPopup, ctlPiece0, "Pawn", "", false, false, false)                                  \
    X(mnuPopup, ctlPiece1, "King", "", false, false, false)                                  \
    X(mnuPopup, ctlPiece2, "Queen", "", false, false, false)                                 \
    X(mnuPopup, ctlPiece3, "Bishop", "", false, false, false)                                \
    X(mnuPopup, ctlPiece4, "Knight", "", false, false, false)                                \
    X(mnuPopup, ctlPiece5, "Rook", "", false, false, false)                                  \
    X(mnuPopup, Dash4, "-", "", false, false, false)                                         \
    X(mnuPopup, ctlWhite, "Place White pieces", "", true, true, false)                       \
    X(mnuPopup, ctlBlack, "Place Black pieces", "", true, false, false)                      \
    X(mnuPopup, Dash5, "-", "", false, false, false)                                         \
    X(mnuPopup, ctlClear, "Clear square", "", false, false, false)                           \
    X(mnuPopup, ctlClearAll, "Clear board", "", false, false, false)                         \
    X(mnuBoardSize, ctlSize100, "100 %", "", true, true, false)                              \
    X(mnuBoardSize, ctlSize125, "125 %", "", true, false, false)                             \
    X(mnuBoardSize, ctlSize150, "150 %", "", true, false, false)                             \
    X(mnuBoardSize, ctlSize200, "200 %", "", true, false, false)                             \
    X(mnuBoardSize, ctlSize250, "250 %", "", true, false, false)                             \
    X(mnuBoardSize, ctlSize300, "300 %", "", true, false, false)                             \
    X(mnuBoardSize, DashSize, "-", "", false, false, false)                                  \
    X(mnuBoardSize, ctlLarger, "&Larger", "Ctrl+=; Ctrl++", false, false, false)             \
    X(mnuBoardSize, ctlSmaller, "&Smaller", "Ctrl+-", false, false, false)                   \
    X(mnuBoardSize, ctlActualSize, "&Default size", "Ctrl+0", false, false, false)

#define TAVREL_MENU_ENUM(name, caption, onBar) name,
enum class MenuName { TAVREL_MENUS(TAVREL_MENU_ENUM) };
#undef TAVREL_MENU_ENUM
#define TAVREL_ITEM_ENUM(menu, name, caption, shortcut, checkable, checked, hidden) name,
enum class MenuItem { TAVREL_MENU_ITEMS(TAVREL_ITEM_ENUM) };
#undef TAVREL_ITEM_ENUM

#define TAVREL_COUNT_ONE(...) +1
constexpr std::size_t kMenuCount = 0 TAVREL_MENUS(TAVREL_COUNT_ONE);
constexpr std::size_t kMenuItemCount = 0 TAVREL_MENU_ITEMS(TAVREL_COUNT_ONE);
#undef TAVREL_COUNT_ONE

// The piece item for picture index 0 (pawn) to 5 (rook).
constexpr MenuItem PieceItem(int index) {
    return static_cast<MenuItem>(static_cast<int>(MenuItem::ctlPiece0) + index);
}
static_assert(PieceItem(5) == MenuItem::ctlPiece5);

// The recent-file item for index 0 (the latest file) to 7.
constexpr MenuItem RecentItem(int index) {
    return static_cast<MenuItem>(static_cast<int>(MenuItem::ctlRecent1) + index);
}
static_assert(RecentItem(7) == MenuItem::ctlRecent8);

// The size item for board size index 0 (100 %) to 5 (300 %).
constexpr MenuItem SizeItem(int index) {
    return static_cast<MenuItem>(static_cast<int>(MenuItem::ctlSize100) + index);
}
static_assert(SizeItem(5) == MenuItem::ctlSize300);

// Every menu and item of the table, built once; the window owns the menus.
class Menus {
public:
    QAction* operator[](MenuItem item) const { return items_[static_cast<std::size_t>(item)]; }
    QMenu* operator[](MenuName menu) const { return menus_[static_cast<std::size_t>(menu)]; }

    // Builds the table into `bar`; the pop-up menu is made apart from the bar, owned by `owner`.
    static Menus Build(QMenuBar* bar, QWidget* owner);

private:
    std::array<QAction*, kMenuItemCount> items_{};
    std::array<QMenu*, kMenuCount> menus_{};
};

}  // namespace tavrel::ui
