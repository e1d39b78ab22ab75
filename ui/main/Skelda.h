#pragma once
// The main window: the game board on its canvas, the position slider, the toolbar and status
// bar, and the game on show.

#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>

#include "ui/board/BoardPainter.h"
#include "ClientArea.h"
#include "MenuTable.h"
#include "Options.h"
#include "Settings.h"
#include "WindowScale.h"
#include "ui/board/PiecePictures.h"
#include "UserDialogs.h"
#include "session/GameSession.h"
#include "core/LineReplay.h"

class QDragEnterEvent;
class QDropEvent;
class QMimeData;

namespace tavrel::ui {

class AnalysisEditor;
class Animation;
class BoardKeys;
class DockLayout;
class EngineWindow;
class GameList;
class OpeningTree;
class GameText;
class GameScr;
class GameHeader;
class TutBox;

// The toolbar action's property naming its picture at the default size.
inline constexpr char kDefaultIcon[] = "defaultIcon";

class Skelda : public QMainWindow {
    Q_OBJECT
public:
    explicit Skelda(UserDialogs& dialogs, QWidget* parent = nullptr);
    ~Skelda() override;

    // Places the window, draws the board's frame, opens the file named on the command line (or
    // asks for one) and shows its first game. False when the user chose no file: the program
    // ends.
    bool Form_Load(const QString& commandLinePath);

    // Paints GameBoard at the game board's place (and at the analysis board's when it is
    // displayed), then shows the canvas.
    void DrawBoard();

    // Navigation.
    void ctlOpen_Click();
    // Opens `path` as a file chosen with "Open game..." is opened, and shows its first game.
    void OpenFile(const QString& path);
    // A recent file of the File menu, from 0 the latest; one gone from the disk is taken off
    // the list, and the user told so.
    void OpenRecentFile(int index);
    void ctlGoToGame_Click();
    void Toolbar1_ButtonClick(const QString& key);
    void ctlUndo_Click();
    void ctlExit_Click();

    // The Options menu: the check marks are the settings (see Options).
    void ctlBeep_Click();
    void Color_or_mono_Click();
    void ctlDisplay_Click();
    void ctlReverse_Click();
    // The board's size in per cent of the default (one of kBoardSizes); the whole window, the
    // score window's text and the pictures follow it, and it is remembered.
    void SetBoardSize(int percent);
    void ctlCoordinates_Click();
    void ctlLastMove_Click();
    // The game score and the tool windows docked as panes around a board that grows with the
    // window, or every window on its own (see DockLayout); remembered.
    void ctlSingleWindow_Click();
    DockLayout& Docks() const { return *docks_; }

    // The Help menu.
    void ctlHome_Click();
    void ctlUSCF_Click();
    void ctlPieceMove_Click();
    void ctlAbout_Click();

    // The game text window and the copies to the clipboard.
    void ctlGameText_Click();
    void ctlCopyFen_Click();
    // The analysis board's position as a FEN record: side, castling and en passant from the
    // position it was last made from.
    [[nodiscard]] std::string AnalysisFen() const;
    void ctlCopyPgn_Click();

    // The engine analysis window, and the position it is told about.
    void ctlEngine_Click();
    EngineWindow* Engine() const { return engine_; }

    // Makes the analysis board the game position again.
    void btnReset_Click();

    // The game on show and what the window shows of it, for the tests.
    const session::GameSession& Session() const { return session_; }
    const GameState& Game() const { return session_.Game(); }
    const QImage& Canvas() const { return client_->Canvas(); }
    // Where the boards lie on the canvas at the size in use.
    BoardGeometry GameBoard() const { return scale_.GameBoard(); }
    BoardGeometry AnalysisBoard() const { return scale_.AnalysisBoard(); }
    // The move whose squares the game board tints: none unless the option is on, none at the
    // game's first position.
    Move HighlightedMove() const;
    const pgn::GameIndex& Index() const { return session_.Index(); }
    long long GameCount() const { return session_.GameCount(); }
    long long CurrentGame() const { return session_.CurrentGame(); }
    GameScr* Score() const { return score_; }
    // The game's header: above the score, unless a caller takes it elsewhere.
    GameHeader* Header() const { return header_; }
    TutBox* Tutorial() const;
    QSlider* Slider1;
    QLineEdit* txtFileName;
    QToolBar* Toolbar1;
    QPushButton* btnReset;
    QLabel* StatusPanel[3];
    QAction* Action(MenuItem item) const { return menus_[item]; }
    QMenu* Menu(MenuName menu) const { return menus_[menu]; }
    const Options& Settings() const { return options_; }
    ClientArea* Client() const { return client_; }
    AnalysisEditor* Analysis() const { return analysis_; }
    Animation& Animator() const { return *animation_; }
    // Whether the last scan was long enough to show the progress window.
    bool LastScanShowedProgress() const { return lastScanShowedProgress_; }
    // How the scan splits and reports its work (tests make its progress points frequent).
    pgn::ScanOptions ScanSettings;
    GameText* Text() const { return gameText_; }
    GameList* List() const { return list_; }
    void ctlListGames_Click();
    // The opening tree window; it follows the position of interest while it is shown.
    void ctlOpeningTree_Click();
    OpeningTree* Tree() const { return tree_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A file dropped on the window is opened as one chosen with "Open game...".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildClientArea();
    void BuildToolbar();
    // The board size and the pictures for it, the size's check mark, and LayOut.
    void Rescale(int percent);
    // Places every part of the window at the size in use and makes the canvas anew for it.
    void LayOut();
    // Both boards as their arrays stand, without putting the game position on the analysis
    // board: for a change of size or of what is drawn around the squares.
    void PaintBoards();
    // The wheel over the game board steps through the game.
    void WheelOnBoard(int notches, QPoint at);
    void PlaceOnScreen();
    // A tool window made: its remembered place or the one it chose, kept on the main window's
    // screen and clear of the other windows; a pane of the single window under `name`.
    void PlaceTool(QWidget& tool, const QString& name, Qt::DockWidgetArea area);
    // The single window on or off, with its remembered layout.
    void ApplySingleWindow(bool on);
    // Where every window stands, for the next run.
    void RememberPlaces();
    // The board drawn at `percent` without storing it as the chosen size.
    void ShowAtSize(int percent);
    // The largest size whose canvas fits the single window's middle, the default at least.
    [[nodiscard]] int FittedPercent() const;
    void FitBoardToRoom();
    void PlaceResetButton();
    void Slider1_Change();
    void Slider1_Scroll(int value);
    void Display_Click(int line);
    void ConnectMenus();
    // Opens an address in the desktop's browser; nothing is said when that fails.
    void OpenUrl(const QUrl& address);
    // The window's width with or without the analysis board, and what stretches with it.
    void SetClientWidth(int width);
    // While the animation runs, the commands that would change the game, the file or the
    // options are held; the Game menu stays for its cancel.
    void LockForAnimation();
    void FreeAfterAnimation();
    // "Cancel" in the progress window, or the window closed during a scan: the file is closed
    // and the program ends, asking nobody.
    void EndProgram();

    // Opens and indexes `path`; on failure tells the user why and returns false.
    bool OpenAndIndex(const QString& path);
    // Asks for a file until one opens; false when the user chose none.
    bool ChooseAndIndex();
    // The open dialog, in the folder of the file chosen in it last; empty when cancelled.
    QString AskForFile();
    // Puts `path` first among the recent files and the File menu's items.
    void RememberRecentFile(const QString& path);
    // The File menu's recent-file items as the stored list has them.
    void ShowRecentFiles();
    // The Options menu's marks, stored as they now stand.
    void RememberMarks();
    // The file a drop on the window would open; empty when it brings none or the window is busy.
    QString DroppedFile(const QMimeData* dropped) const;
    // Reads game `number` into the game on show, its captions, the score and the slider. False,
    // after a beep, when nothing is there to read (the file changed on disk): then nothing on
    // show has changed.
    bool ReadGame(long long number);
    // Shows game `number` from its first position, the slider taking the keys.
    void ShowGame(long long number);
    void ShowNoGame();
    // The captions, the score and the slider for the game the session has on show.
    void ShowSessionGame();
    // The header's tags and opening for the game on show.
    void ShowHeader();
    void SetSlider(session::SliderRange range);
    // Reads the game on show again for the game text window, when that is open.
    void RefreshGameText();
    // Shows on the analysis board the position after variation move `item` of the game text.
    void ShowVariationMove(int item);
    void WritePanels(int side, int moveNumber);
    void HandPositionToEngine();
    // A game chosen in the list of games, shown as "Go to game #..." shows it.
    void ShowListedGame(std::int64_t number);
    // "Save games as..." in the list: the games it shows, in its order, to a file the user names.
    void SaveListedGames();
    // Hands the position of interest to the opening tree when it is shown.
    void FollowInTree();
    // A move clicked in the tree: shown on the analysis board, from the tree's position.
    void ShowTreeMove(const FenSetUp& after);
    // The list shows only the games that reach the tree's position; opening one goes to where it
    // first stands there.
    void ListGamesReaching(const std::vector<std::pair<std::int64_t, int>>& games);

    UserDialogs& dialogs_;
    ClientArea* client_;
    GameScr* score_;
    GameHeader* header_;  // owned by the window that holds it
    DockLayout* docks_;
    QPointer<TutBox> tutorial_;  // closing it deletes it
    Menus menus_;
    Options options_;
    PiecePictures pictures_;  // for the board at the size in use
    // The tutorial and the About box keep the default size, whatever the board's.
    const PiecePictures defaultPictures_ = PiecePictures::Load();
    StoredSettings stored_;
    WindowScale scale_;
    // The analysis board's place at the size in use, which the editor reads.
    BoardGeometry analysisBoard_;
    QFont baseFont_;  // the font of the default size
    QStatusBar* status_ = nullptr;
    BoardKeys* keys_ = nullptr;
    session::GameSession session_;  // the open file and the game on show
    AnalysisEditor* analysis_;
    int shiftedLeft_ = 0;  // how far widening moved the window left
    GameText* gameText_ = nullptr;  // made on first use
    GameList* list_ = nullptr;      // made on first use
    EngineWindow* engine_ = nullptr;  // made on first use
    // What the analysis board was last made from, and its slider value or a variation's
    // equivalent: the side to move, castling and move number of its position.
    LinePosition analysisFrom_;
    int analysisPly_ = -1;
    bool listStale_ = true;         // the list shows another file (or none yet)
    OpeningTree* tree_ = nullptr;   // made on first use
    bool treeStale_ = true;         // the tree reads another file (or none yet)
    QString players_;  // the first panel's "White vs. Black", which the note of an unplayable move replaces
    Animation* animation_;
    std::vector<QAction*> held_;  // menu items held during the animation
    bool scanning_ = false;       // a scan is letting events through
    bool closing_ = false;        // the window was closed during a scan
    bool ended_ = false;          // the program is ending
    bool lastScanShowedProgress_ = false;
};

}  // namespace tavrel::ui
