#include "shell/main_window.h"

#include "roster/errors.h"
#include "roster/player_lists.h"
#include "roster/roster_file.h"

#include <QListWidget>

namespace qb {

MainWindow::MainWindow(const QString& rosterPath, QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle("Quillbay");
    auto* list = new QListWidget(this);
    list->setObjectName("lsvPlayerName");
    setCentralWidget(list);
    resize(320, 487); // 4800 x 7300 twips
    if (rosterPath.isEmpty()) {
        return;
    }
    try {
        const RosterFile roster(rosterPath.toStdString());
        for (const SlotEntry& entry : buildRosterIndex(roster.readSlotTable()).slotEntries) {
            list->addItem(QString::fromStdString(entry.name));
        }
        setWindowTitle("Quillbay V2.1 - " + QString::fromStdString(roster.path()));
    } catch (const QuillbayError& error) {
        list->addItem(QString::fromStdString(error.description()));
    }
}

} // namespace qb
