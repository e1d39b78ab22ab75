#pragma once
// The main window's menus as data: captions, shortcuts and initial states in one table.

#include <QHash>
#include <QString>

class QMenuBar;
class QAction;
class QMenu;
class QWidget;

namespace tavrel::ui {

struct MenuItemSpec {
    const char* menu;      // the menu's control name; an item named "-" is a separator
    const char* name;      // control name of the item
    const char* caption;
    const char* shortcut;  // empty for none
    bool checkable;
    bool checked;
    bool hidden;
};

// Builds every menu of the table into `bar` (the pop-up menu into a menu that is not on the bar)
// and returns the actions and menus by control name.
struct Menus {
    QHash<QString, QAction*> actions;
    QHash<QString, QMenu*> menus;
};
Menus BuildMenus(QMenuBar* bar, QWidget* owner);

}  // namespace tavrel::ui
