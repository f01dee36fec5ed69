#pragma once

#include "saving/backups.h"

#include <QDialog>
#include <vector>

class QTableWidget;

namespace qb {

// The backups of the open roster, newest first: when each was made and how many players
// differ from the file now. Choosing one asks for it to be compared with the roster.
class BackupsWindow : public QDialog {
    Q_OBJECT

public:
    BackupsWindow(const QString& roster, std::vector<Backup> backups, QWidget* parent);

signals:
    void compareRequested(const QString& backup);

private:
    void compareChosen();

    std::vector<Backup> backups_;
    QTableWidget* backupTable_ = nullptr;
};

} // namespace qb
