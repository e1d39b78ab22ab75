#include "MenuTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tavrel::ui {
namespace {

struct MenuSpec {
    const char* name;
    const char* caption;
    bool onBar;
};

constexpr MenuSpec kMenus[] = {
    {"ctlFile", "&File", true},        {"ctlGame", "&Game", true}, {"ctlOptions", "&Options", true},
    {"ctlHelp", "&Help", true},        {"mnuPopup", "PopUp", false},
};

constexpr MenuItemSpec kItems[] = {
    {"ctlFile", "ctlOpen", "&Open game...", "Ctrl+O", false, false, false},
    {"ctlFile", "ctlUndo", "&Undo last move", "Ctrl+U", false, false, false},
    {"ctlFile", "Dash1", "-", "", false, false, false},
    {"ctlFile", "ctlExit", "E&xit", "Ctrl+Q", false, false, false},
    {"ctlGame", "ctlAnimate", "&Animate...", "", false, false, false},
    {"ctlGame", "ctlCancelAnimate", "&Cancel Animate", "", false, false, true},
    {"ctlGame", "ctlGoToGame", "Go to game #...", "", false, false, false},
    {"ctlOptions", "ctlBeep", "&Beep on error", "", true, true, false},
    {"ctlOptions", "Color_or_mono", "&Color for squares", "Ctrl+C", true, true, false},
    {"ctlOptions", "ctlDisplay", "&Display analysis board", "Ctrl+D", true, false, false},
    {"ctlOptions", "ctlReverse", "&Reverse Board", "Ctrl+R", true, false, false},
    {"ctlHelp", "ctlHome", "Go to my &home page", "", false, false, false},
    {"ctlHelp", "ctlUSCF", "Go to &USCF home page", "", false, false, false},
    {"ctlHelp", "Dash2", "-", "", false, false, false},
    {"ctlHelp", "ctlPieceMove", "&Pieces and Rules", "", false, false, false},
    {"ctlHelp", "Dash3", "-", "", false, false, false},
    {"ctlHelp", "ctlAbout", "&About Tavrel", "", false, false, false},
    {"mnuPopup", "ctlPiece0", "Pawn", "", false, false, false},
    {"mnuPopup", "ctlPiece1", "King", "", false, false, false},
    {"mnuPopup", "ctlPiece2", "Queen", "", false, false, false},
    {"mnuPopup", "ctlPiece3", "Bishop", "", false, false, false},
    {"mnuPopup", "ctlPiece4", "Knight", "", false, false, false},
    {"mnuPopup", "ctlPiece5", "Rook", "", false, false, false},
    {"mnuPopup", "Dash4", "-", "", false, false, false},
    {"mnuPopup", "ctlWhite", "Place White pieces", "", true, true, false},
    {"mnuPopup", "ctlBlack", "Place Black pieces", "", true, false, false},
    {"mnuPopup", "Dash5", "-", "", false, false, false},
    {"mnuPopup", "ctlClear", "Clear square", "", false, false, false},
    {"mnuPopup", "ctlClearAll", "Clear board", "", false, false, false},
};

}  // namespace

Menus BuildMenus(QMenuBar* bar, QWidget* owner) {
    Menus built;
    for (const MenuSpec& menuDef : kMenus) {
        QMenu* menu = menuDef.onBar ? bar->addMenu(menuDef.caption) : new QMenu(menuDef.caption, owner);
        menu->setObjectName(menuDef.name);
        built.menus.insert(menuDef.name, menu);
    }
    for (const MenuItemSpec& item : kItems) {
        QMenu* menu = built.menus.value(item.menu);
        QAction* action = QString(item.caption) == "-" ? menu->addSeparator() : menu->addAction(item.caption);
        action->setObjectName(item.name);
        if (*item.shortcut) {
            action->setShortcut(QKeySequence(item.shortcut));
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        action->setVisible(!item.hidden);
        built.actions.insert(item.name, action);
    }
    return built;
}

}  // namespace tavrel::ui
