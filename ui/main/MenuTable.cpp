#include "MenuTable.h"

#include <QMenuBar>

namespace tavrel::ui {
namespace {

struct MenuSpec {
    const char* name;
    const char* caption;
    bool onBar;
};

struct MenuItemSpec {
    MenuName menu;
    const char* name;
    const char* caption;
    const char* shortcut;  // empty for none
    bool checkable;
    bool checked;
    bool hidden;
};

#define TAVREL_MENU_ROW(name, caption, onBar) {#name, caption, onBar},
constexpr MenuSpec kMenus[] = {TAVREL_MENUS(TAVREL_MENU_ROW)};
#undef TAVREL_MENU_ROW

#define TAVREL_ITEM_ROW(menu, name, caption, shortcut, checkable, checked, hidden) \
    {MenuName::menu, #name, caption, shortcut, checkable, checked, hidden},
constexpr MenuItemSpec kItems[] = {TAVREL_MENU_ITEMS(TAVREL_ITEM_ROW)};
#undef TAVREL_ITEM_ROW

}  // namespace

Menus Menus::Build(QMenuBar* bar, QWidget* owner) {
    Menus built;
    for (std::size_t i = 0; i < kMenuCount; ++i) {
        const MenuSpec& menuDef = kMenus[i];
        QMenu* menu = menuDef.onBar ? bar->addMenu(menuDef.caption) : new QMenu(menuDef.caption, owner);
        menu->setObjectName(menuDef.name);
        built.menus_[i] = menu;
    }
    for (std::size_t i = 0; i < kMenuItemCount; ++i) {
        const MenuItemSpec& item = kItems[i];
        QMenu* menu = built[item.menu];
        QAction* action = QString(item.caption) == "-" ? menu->addSeparator() : nullptr;
        // The one item that opens a menu of its own: that menu's action, so that the shortcuts
        // of its items reach the window through it.
        if (static_cast<MenuItem>(i) == MenuItem::ctlBoardSize) action = menu->addMenu(built[MenuName::mnuBoardSize]);
        if (!action) action = menu->addAction(item.caption);
        action->setObjectName(item.name);
        if (*item.shortcut) {
            action->setShortcuts(QKeySequence::listFromString(item.shortcut));
            // The main window's keys act in the main window only: in the list and the game
            // text, Ctrl+C copies rather than turning the squares grey.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        action->setVisible(!item.hidden);
        built.items_[i] = action;
    }
    return built;
}

}  // namespace tavrel::ui
