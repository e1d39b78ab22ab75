#include "Skelda.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>

#include "../analysis/AnalysisEditor.h"
#include "../animation/Animation.h"
#include "../common/EscapeCloses.h"
#include "../common/FramedPlacement.h"
#include "../engine/EngineWindow.h"
#include "../gametext/GameText.h"
#include "../list/GameList.h"
#include "../tree/OpeningTree.h"
#include "../header/GameHeader.h"
#include "../score/GameScr.h"
#include "../tutorial/TutBox.h"
#include "WindowWidth.h"
#include "../common/PanelTexts.h"
#include "BoardKeys.h"
#include "../common/ElidedLabel.h"
#include "DockLayout.h"
#include "ReplayView.h"
#include "core/LineReplay.h"
#include "core/MoveGen.h"
#include "core/Replay.h"
#include "core/SanMatch.h"
#include "pgn/Text.h"

namespace tavrel::ui {

Skelda::Skelda(UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      menus_(Menus::Build(menuBar(), this)),
      options_(menus_),
      pictures_(PiecePictures::Load()) {
    setObjectName("Skelda");
    setWindowTitle("Tavrel");
    QIcon icon;
    for (const int size : {32, 48, 64, 128}) icon.addFile(QString(":/icon/tavrel-%1.png").arg(size));
    setWindowIcon(icon);
    baseFont_ = font();
    BuildClientArea();
    animation_ = new Animation(*Slider1, dialogs_, this);
    connect(animation_, &Animation::Started, this, &Skelda::LockForAnimation);
    connect(animation_, &Animation::Finished, this, &Skelda::FreeAfterAnimation);
    analysis_ = new AnalysisEditor(*client_, session_.Game().AnalysisBoard, analysisBoard_, pictures_, options_,
                                   dialogs_, menus_);
    connect(client_, &ClientArea::MouseDown, analysis_, &AnalysisEditor::Form_MouseDown);
    connect(client_, &ClientArea::MouseMove, analysis_, &AnalysisEditor::Form_MouseMove);
    connect(client_, &ClientArea::MouseUp, analysis_, &AnalysisEditor::Form_MouseUp);
    score_ = new GameScr(nullptr);
    score_->setWindowIcon(windowIcon());
    connect(score_, &GameScr::Display_Click, this, &Skelda::Display_Click);
    header_ = new GameHeader(nullptr);
    score_->SetHeader(header_);
    if (const auto frame = stored_.WindowFrame("score")) PlaceFrameAt(*score_, *frame, this);
    docks_ = new DockLayout(*this, *client_);
    connect(docks_, &DockLayout::RoomResized, this, &Skelda::FitBoardToRoom);
    // In the single window the header is a pane of its own, above the score's.
    header_->setWindowTitle("Game header");
    docks_->Adopt(*header_, "header", Qt::RightDockWidgetArea);
    docks_->Adopt(*score_, "score", Qt::RightDockWidgetArea);
    connect(client_, &ClientArea::Wheel, this, &Skelda::WheelOnBoard);
    ConnectMenus();
    // What the user chose last time; the marks are the options from here on.
    const OptionMarks marks = stored_.Marks();
    menus_[MenuItem::ctlBeep]->setChecked(marks.beepOnError);
    menus_[MenuItem::Color_or_mono]->setChecked(marks.colourSquares);
    menus_[MenuItem::ctlDisplay]->setChecked(marks.analysisBoard);
    menus_[MenuItem::ctlReverse]->setChecked(marks.reversed);
    menus_[MenuItem::ctlCoordinates]->setChecked(stored_.ShowCoordinates());
    menus_[MenuItem::ctlLastMove]->setChecked(stored_.HighlightLastMove());
    Rescale(stored_.BoardSizePercent());
    animation_->LastDelay = stored_.AnimationDelay();
    ShowRecentFiles();
    setAcceptDrops(true);
    menus_[MenuItem::ctlSingleWindow]->setChecked(stored_.SingleWindow());
    if (stored_.SingleWindow()) ApplySingleWindow(true);
    session_.Game().SetUpStartPosition();
}

void Skelda::ConnectMenus() {
    const auto on = [this](MenuItem item, void (Skelda::*handler)()) {
        connect(menus_[item], &QAction::triggered, this, handler);
    };
    on(MenuItem::ctlOpen, &Skelda::ctlOpen_Click);
    on(MenuItem::ctlUndo, &Skelda::ctlUndo_Click);
    on(MenuItem::ctlExit, &Skelda::ctlExit_Click);
    on(MenuItem::ctlGoToGame, &Skelda::ctlGoToGame_Click);
    on(MenuItem::ctlListGames, &Skelda::ctlListGames_Click);
    on(MenuItem::ctlOpeningTree, &Skelda::ctlOpeningTree_Click);
    // The list shows a game by the same path as "Go to game #...", so it is usable when that is.
    connect(menus_[MenuItem::ctlGoToGame], &QAction::enabledChanged, menus_[MenuItem::ctlListGames],
            &QAction::setEnabled);
    connect(menus_[MenuItem::ctlAnimate], &QAction::triggered, animation_, &Animation::ctlAnimate_Click);
    connect(menus_[MenuItem::ctlCancelAnimate], &QAction::triggered, animation_, &Animation::ctlCancelAnimate_Click);
    on(MenuItem::ctlGameText, &Skelda::ctlGameText_Click);
    on(MenuItem::ctlCopyFen, &Skelda::ctlCopyFen_Click);
    on(MenuItem::ctlCopyPgn, &Skelda::ctlCopyPgn_Click);
    on(MenuItem::ctlEngine, &Skelda::ctlEngine_Click);
    // A click has already turned the mark over when these run: each applies the mark as it is.
    on(MenuItem::ctlBeep, &Skelda::ctlBeep_Click);
    on(MenuItem::Color_or_mono, &Skelda::Color_or_mono_Click);
    on(MenuItem::ctlDisplay, &Skelda::ctlDisplay_Click);
    on(MenuItem::ctlReverse, &Skelda::ctlReverse_Click);
    for (const MenuItem item : {MenuItem::ctlBeep, MenuItem::Color_or_mono, MenuItem::ctlDisplay, MenuItem::ctlReverse}) {
        on(item, &Skelda::RememberMarks);
    }
    for (int i = 0; i < StoredSettings::kRecentFiles; ++i) {
        connect(menus_[RecentItem(i)], &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
    }
    // The delay is taken when the animation starts: the one the box accepted.
    connect(animation_, &Animation::Started, this, [this] { stored_.SetAnimationDelay(animation_->LastDelay); });
    on(MenuItem::ctlCoordinates, &Skelda::ctlCoordinates_Click);
    on(MenuItem::ctlLastMove, &Skelda::ctlLastMove_Click);
    on(MenuItem::ctlSingleWindow, &Skelda::ctlSingleWindow_Click);
    for (int i = 0; i < static_cast<int>(kBoardSizes.size()); ++i) {
        connect(menus_[SizeItem(i)], &QAction::triggered, this, [this, i] { SetBoardSize(kBoardSizes[i]); });
    }
    connect(menus_[MenuItem::ctlLarger], &QAction::triggered, this,
            [this] { SetBoardSize(SteppedBoardSize(scale_.percent, 1)); });
    connect(menus_[MenuItem::ctlSmaller], &QAction::triggered, this,
            [this] { SetBoardSize(SteppedBoardSize(scale_.percent, -1)); });
    connect(menus_[MenuItem::ctlActualSize], &QAction::triggered, this, [this] { SetBoardSize(100); });
    connect(menus_[MenuItem::ctlNextGame], &QAction::triggered, this, [this] { Toolbar1_ButtonClick("Ngame"); });
    connect(menus_[MenuItem::ctlPreviousGame], &QAction::triggered, this, [this] { Toolbar1_ButtonClick("Pgame"); });
    on(MenuItem::ctlHome, &Skelda::ctlHome_Click);
    on(MenuItem::ctlUSCF, &Skelda::ctlUSCF_Click);
    on(MenuItem::ctlPieceMove, &Skelda::ctlPieceMove_Click);
    on(MenuItem::ctlAbout, &Skelda::ctlAbout_Click);
    connect(btnReset, &QPushButton::clicked, this, &Skelda::btnReset_Click);
}

Skelda::~Skelda() {
    delete tutorial_;
    delete score_;
    delete gameText_;
    delete list_;
    delete tree_;
}

void Skelda::BuildClientArea() {
    client_ = new ClientArea(QSize(kNarrowWidth, kClientHeight), kWideWidth, this);
    setCentralWidget(client_);
    BuildToolbar();

    txtFileName = new QLineEdit("Text1", client_);
    txtFileName->setObjectName("txtFileName");
    txtFileName->setReadOnly(true);
    // It looks read-only too: the window's ground rather than an edit field's, and no text
    // cursor to type at; the path can still be selected and copied.
    QPalette ground = txtFileName->palette();
    ground.setColor(QPalette::Base, ground.color(QPalette::Window));
    txtFileName->setPalette(ground);
    txtFileName->setFocusPolicy(Qt::NoFocus);

    Slider1 = new QSlider(Qt::Vertical, client_);
    Slider1->setObjectName("Slider1");
    // The first position at the top; the down arrow and Page Down move forward.
    Slider1->setInvertedAppearance(true);
    Slider1->setInvertedControls(true);
    Slider1->setRange(-1, -1);
    Slider1->setTracking(false);
    Slider1->setToolTip("Click to change game position");
    connect(Slider1, &QSlider::valueChanged, this, &Skelda::Slider1_Change);
    connect(Slider1, &QSlider::sliderMoved, this, &Skelda::Slider1_Scroll);

    btnReset = new QPushButton("Reset to Game Position", client_);
    btnReset->setObjectName("btnReset");
    btnReset->setToolTip("Click this button to make the analysis board the same as the game board");

    auto* status = status_ = new QStatusBar(client_);
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    const char* keys[3] = {"Players", "White ", "Move #"};
    for (int i = 0; i < 3; ++i) {
        // The players' panel shortens a long pair of names with "…" rather than mid-word.
        StatusPanel[i] = i == 0 ? new ElidedLabel(keys[i], status) : new QLabel(keys[i], status);
        StatusPanel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status->addWidget(StatusPanel[i], i == 0 ? 1 : 0);
    }
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    keys_ = new BoardKeys(*Slider1, this);
    for (QWidget* part : std::initializer_list<QWidget*>{this, client_, Slider1, txtFileName, btnReset, Toolbar1}) {
        keys_->Watch(*part);
    }
    for (QWidget* button : Toolbar1->findChildren<QWidget*>()) keys_->Watch(*button);
}

void Skelda::BuildToolbar() {
    Toolbar1 = new QToolBar(client_);
    Toolbar1->setObjectName("Toolbar1");
    struct Button {
        const char* key;
        const char* tip;
        const char* icon;
    };
    const Button buttons[] = {{"Fgame", "First game in file", ":/toolbar/first.png"},
                              {"Pgame", "Previous game in file", ":/toolbar/previous.png"},
                              {"Ngame", "Next game in file", ":/toolbar/next.png"},
                              {"Lgame", "Last game in file", ":/toolbar/last.png"}};
    for (const Button& b : buttons) {
        QAction* action = Toolbar1->addAction(QIcon(b.icon), b.tip);
        action->setObjectName(b.key);
        action->setToolTip(b.tip);
        action->setProperty(kDefaultIcon, QString(b.icon));
        const QString key = b.key;
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

// The window's frame ends at the screen's middle, leaving the right half to the game score, and
// stands centred from top to bottom; after the first run, where the user left it. The single
// window takes most of the screen the first time.
void Skelda::PlaceOnScreen() {
    if (docks_->On()) {
        if (!restoreGeometry(stored_.SingleWindowGeometry())) {
            const QScreen* shownOn = screen();
            const QRect room = shownOn ? shownOn->availableGeometry() : QRect(0, 0, 1024, 768);
            PlaceFrameAt(*this, QRect(room.topLeft() + QPoint(room.width() / 20, room.height() / 20), room.size() * 0.9), this);
        }
        restoreState(stored_.DockState());
    } else if (const auto frame = stored_.WindowFrame("main")) {
        PlaceFrameAt(*this, *frame, nullptr);
    } else {
        PlaceByFrame(*this, [](const QRect& screen, const QSize& frame) {
            return QPoint(std::max(0, screen.width() / 2 - frame.width()), (screen.height() - frame.height()) / 2);
        });
    }
    PlaceResetButton();
}

void Skelda::PlaceTool(QWidget& tool, const QString& name, Qt::DockWidgetArea area) {
    if (const auto frame = stored_.WindowFrame(name)) {
        PlaceFrameAt(tool, *frame, this);
    } else {
        const QPoint chosen = tool.pos();
        PlaceByFrame(tool, [chosen](const QRect&, const QSize&) { return chosen; }, this);
    }
    docks_->Adopt(tool, name, area);
}

void Skelda::ctlSingleWindow_Click() {
    const bool on = menus_[MenuItem::ctlSingleWindow]->isChecked();
    stored_.SetSingleWindow(on);
    ApplySingleWindow(on);
}

void Skelda::ApplySingleWindow(bool on) {
    if (on == docks_->On()) return;
    if (!on) RememberPlaces();  // the single window's layout, before its panes go
    analysis_->EndDrag();
    if (on) score_->SetHeader(nullptr);
    docks_->SetOn(on);
    if (!on) score_->SetHeader(header_);
    // In the single window the board's size is the room's; the chosen size waits for its return.
    for (std::size_t i = 0; i < kBoardSizes.size(); ++i) menus_[SizeItem(static_cast<int>(i))]->setEnabled(!on);
    for (const MenuItem item : {MenuItem::ctlBoardSize, MenuItem::ctlLarger, MenuItem::ctlSmaller, MenuItem::ctlActualSize}) {
        menus_[item]->setEnabled(!on);
    }
    if (on) {
        PlaceOnScreen();
        ShowAtSize(FittedPercent());
        return;
    }
    ShowAtSize(stored_.BoardSizePercent());
    PlaceOnScreen();
    // The windows stand on their own again: where they stood last, or where they first go.
    if (stored_.WindowFrame("score")) {
        PlaceFrameAt(*score_, *stored_.WindowFrame("score"), this);
    } else {
        score_->Form_Load();
    }
    const QRect frame = frameGeometry();
    const std::pair<QWidget*, const char*> tools[] = {{gameText_, "gameText"}, {list_, "list"}, {tree_, "tree"}, {engine_, "engine"}};
    for (const auto& [tool, name] : tools) {
        if (!tool) continue;
        const QRect beside(frame.right() + 9, frame.top(), tool->width(), tool->height());
        PlaceFrameAt(*tool, stored_.WindowFrame(name).value_or(beside), this);
    }
}

void Skelda::RememberPlaces() {
    if (docks_->On()) {
        stored_.SetSingleWindowGeometry(saveGeometry());
        stored_.SetDockState(saveState());
        QStringList open;
        for (const auto& [tool, name] : {std::pair<QWidget*, const char*>{gameText_, "gameText"}, {list_, "list"}, {tree_, "tree"}}) {
            if (tool && tool->isVisible()) open << name;
        }
        stored_.SetOpenPanes(open);
    }
    const std::pair<QWidget*, const char*> windows[] = {{this, "main"},    {score_, "score"}, {gameText_, "gameText"},
                                                        {list_, "list"},   {tree_, "tree"},   {engine_, "engine"}};
    for (const auto& [window, name] : windows) {
        // A window never shown has no place of its own; the single window's is kept above.
        if (!window || !window->isWindow() || !window->windowHandle() || (window == this && docks_->On())) continue;
        stored_.SetWindowFrame(name, window->frameGeometry());
    }
}

// The button stands at 1.2 times the narrow window's frame width from the left.
void Skelda::PlaceResetButton() {
    const int narrowFrame = scale_.Px(kNarrowWidth) + frameGeometry().width() - width();
    btnReset->setGeometry(static_cast<int>(1.2 * narrowFrame), scale_.Px(328), scale_.Px(141), scale_.Px(23));
}

bool Skelda::Form_Load(const QString& commandLinePath) {
    // Moved to a screen of another pixel ratio, the board is drawn anew in that screen's pixels.
    if (QWindow* shown = windowHandle()) {
        connect(shown, &QWindow::screenChanged, this, [this] {
            if (devicePixelRatioF() != scale_.pixelRatio) SetBoardSize(scale_.percent);
        });
    }
    adjustSize();
    PlaceOnScreen();
    PaintBoardFrame(client_->Canvas(), scale_.GameBoard());
    if (options_.AnalysisShown()) PaintBoardFrame(client_->Canvas(), analysisBoard_);
    // A file named on the command line is indexed like one chosen in the dialog, so that every
    // game of it can be reached; one that cannot be opened is reported, then the dialog asks.
    bool opened = !commandLinePath.isEmpty() && OpenAndIndex(commandLinePath);
    if (!opened && !ended_) opened = ChooseAndIndex();
    if (!opened || ended_) return false;
    if (GameCount() == 0) {
        ShowNoGame();
    } else {
        ReadGame(session_.CurrentGame());
    }
    score_->SetBold(Game().SideToMove == White);
    // The single window comes back with the panes it showed (the engine waits to be asked for).
    if (docks_->On()) {
        const QStringList open = stored_.OpenPanes();
        for (const auto& [item, name] : {std::pair{MenuItem::ctlGameText, "gameText"}, {MenuItem::ctlListGames, "list"},
                                         {MenuItem::ctlOpeningTree, "tree"}}) {
            if (open.contains(name)) menus_[item]->trigger();
        }
    }
    // The score came up after this window; the keyboard stays here, with the slider and the menus.
    activateWindow();
    Slider1->setFocus();
    return true;
}

// Every full redraw shows the game position on both boards: the analysis board's edits and a
// piece being carried on it end here.
void Skelda::DrawBoard() {
    analysis_->EndDrag();
    GameState& game = session_.Game();
    game.AnalysisBoard = game.GameBoard;
    PaintBoards();
    // The move that led here decides en passant; the game's move number, not advanced after a
    // Black half-move, cannot tell it.
    analysisFrom_ = {Game(), Game().SideToMove, LastMoveAt(Game(), Game().LastSliderValue), 0};
    analysisPly_ = Game().LastSliderValue;
    HandPositionToEngine();
    FollowInTree();
}

void Skelda::WritePanels(int side, int moveNumber) {
    StatusPanel[1]->setText(SidePanelText(side));
    StatusPanel[2]->setText(MovePanelText(moveNumber));
}

namespace {

// "Move 23... Qxe3 cannot be played": the half-move where the game leaves the board. The board
// shows the position before it, so a text two pieces could play names them: "(c6 or g8)".
QString UnplayableText(const GameState& game) {
    const HalfMovePlace place = HalfMoveAt(game, *game.Unplayable);
    const QString move = "Move " + QString::number(place.moveNumber) + (place.side == White ? "." : "...");
    if (place.text.empty()) return move + " is missing";
    const QString said = move + " " + QString::fromStdString(pgn::DisplayText(place.text)).left(40) + " cannot be played";
    Position before = game;
    SanQuery query;
    const TextMatch match = MatchText(before, place.side, LastMoveAt(game, *game.Unplayable - 1), place.text, query);
    if (!match.Ambiguous()) return said;
    QStringList pieces;
    for (int k = 0; k < match.fits; ++k) {
        pieces << QString::fromStdString(AlgebraicName(match.from[static_cast<std::size_t>(k)]));
    }
    return said + " (" + pieces.join(" or ") + ")";
}

}  // namespace

void Skelda::Slider1_Change() {
    const int v = Slider1->value();
    const int from = session_.MoveToSliderValue(v);
    const GameState& game = Game();
    const ReplayView view = ViewOfSliderValue(game, from, Slider1->minimum());
    WritePanels(view.namedSide, game.ShownMoveNumber());
    // At or past a half-move that cannot be played the board shows where the game got to, and
    // the first panel says which move stopped it.
    if (game.Unplayable) {
        const bool past = v >= *game.Unplayable;
        StatusPanel[0]->setText(past ? UnplayableText(game) : players_);
        StatusPanel[0]->setToolTip(past ? players_ : QString());
    }
    score_->SetBold(view.whiteBold);
    score_->SelectLine(view.selectLine);
    DrawBoard();
    if (gameText_) gameText_->ShowSliderValue(v);
}

// The thumb only names a position; the board stays until it is let go.
void Skelda::Slider1_Scroll(int value) {
    const GameState& game = Game();
    const SliderPlace place = PlaceOfSliderValue(value, game.BlackStarts(), game.ShownMoveNumber() - game.MoveNumber + 1);
    WritePanels(place.side, place.moveNumber);
}

void Skelda::Display_Click(int line) { Slider1->setValue(session_.SliderValueOfLine(line)); }

// The slider stands at the range's first position; nothing is replayed by setting it.
void Skelda::SetSlider(session::SliderRange range) {
    const QSignalBlocker block(Slider1);
    Slider1->setEnabled(false);
    Slider1->setRange(range.minimum, std::max(range.minimum, range.maximum));
    Slider1->setValue(range.minimum);
    Slider1->setPageStep(range.pageStep);
    Slider1->setEnabled(true);
}

TutBox* Skelda::Tutorial() const { return tutorial_; }

void Skelda::closeEvent(QCloseEvent* event) {
    animation_->Stop();
    event->accept();
    if (scanning_) {
        closing_ = true;  // the scan stops at its next progress point; the program ends then
        return;
    }
    EndProgram();
}

void Skelda::EndProgram() {
    if (!ended_) RememberPlaces();
    ended_ = true;
    session_.Close();
    score_->close();
    if (gameText_) gameText_->close();
    if (list_) list_->close();
    if (engine_) engine_->close();
    if (tree_) tree_->close();
    hide();
    // Before the event loop runs this does nothing: Form_Load's false result ends the program.
    QApplication::quit();
}

void Skelda::LockForAnimation() {
    menus_[MenuItem::ctlAnimate]->setVisible(false);
    menus_[MenuItem::ctlCancelAnimate]->setVisible(true);
    Slider1->setEnabled(false);
    // A disabled menu still lets its items' shortcuts through: the items are held too.
    for (const MenuName name : {MenuName::ctlFile, MenuName::ctlOptions, MenuName::mnuBoardSize, MenuName::ctlHelp}) {
        menus_[name]->setEnabled(false);
        for (QAction* item : menus_[name]->actions()) {
            if (!item->isEnabled()) continue;
            item->setEnabled(false);
            held_.push_back(item);
        }
    }
    for (const MenuItem item : {MenuItem::ctlGoToGame, MenuItem::ctlNextGame, MenuItem::ctlPreviousGame}) {
        menus_[item]->setEnabled(false);
    }
    btnReset->setEnabled(false);
    Toolbar1->setEnabled(false);
}

void Skelda::FreeAfterAnimation() {
    menus_[MenuItem::ctlAnimate]->setVisible(true);
    menus_[MenuItem::ctlCancelAnimate]->setVisible(false);
    for (const MenuName name : {MenuName::ctlFile, MenuName::ctlOptions, MenuName::mnuBoardSize, MenuName::ctlHelp}) {
        menus_[name]->setEnabled(true);
    }
    for (QAction* item : held_) item->setEnabled(true);
    held_.clear();
    for (const MenuItem item : {MenuItem::ctlGoToGame, MenuItem::ctlNextGame, MenuItem::ctlPreviousGame}) {
        menus_[item]->setEnabled(true);
    }
    Slider1->setEnabled(true);
    btnReset->setEnabled(true);
    Toolbar1->setEnabled(true);
}

void Skelda::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (score_->isWindow()) score_->setWindowState(windowState() & ~Qt::WindowActive);
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Slider1->setFocus();
    }
    QMainWindow::changeEvent(event);
}

}  // namespace tavrel::ui
