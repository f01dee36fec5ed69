#pragma once

#include <QMainWindow>

namespace qb {

// The editor's main window. For now it shows the players of the demo roster.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(const QString& rosterPath, QWidget* parent = nullptr);
};

} // namespace qb
