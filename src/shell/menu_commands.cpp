#include "shell/menu_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace qb {

QAction* addMenuCommand(QMainWindow& window, const QString& menuPrefix,
                        const MenuCommand& command) {
    const QString title = QString::fromLatin1(command.menu);
    const QList<QAction*> menus = window.menuBar()->actions();
    QMenu* menu = menus.isEmpty() ? nullptr : menus.back()->menu();
    if (menu == nullptr || menu->title() != title) {
        menu = window.menuBar()->addMenu(title);
        menu->setObjectName(menuPrefix + QString(title).remove(QLatin1Char('&')));
    }
    if (command.text == nullptr) {
        QAction* separator = menu->addSeparator();
        separator->setObjectName(QString::fromLatin1(command.id));
        return separator;
    }
    QAction* action = menu->addAction(QString::fromLatin1(command.text));
    action->setObjectName(QString::fromLatin1(command.id));
    QList<QKeySequence> shortcuts;
    for (const QString& shortcut :
         QString::fromLatin1(command.shortcut).split(u';', Qt::SkipEmptyParts)) {
        shortcuts << QKeySequence(shortcut.trimmed());
    }
    action->setShortcuts(shortcuts);
    window.addAction(action);
    if (command.run) {
        QObject::connect(action, &QAction::triggered, &window, command.run);
    }
    return action;
}

} // namespace qb
