#pragma once

#include <QString>
#include <functional>

class QAction;
class QMainWindow;

namespace qb {

// One row of a window's menu table.
struct MenuCommand {
    const char* menu;     // the menu's title, '&' before its access key
    const char* id;       // the action's (or the separator's) object name
    const char* text;     // none: a separator
    const char* shortcut; // several separated by ';'
    std::function<void()> run;
};

// Adds the command to the window's last menu when that menu has the command's title, else
// to a new menu of that title named `menuPrefix` and the title without '&'. The action
// is also the window's, so its shortcut works while the menu is closed. Returns the
// action (the separator's, for one).
QAction* addMenuCommand(QMainWindow& window, const QString& menuPrefix, const MenuCommand& command);

} // namespace qb
