#pragma once

#include <QMainWindow>
#include <QString>

namespace qb {

class AppSettings;
class Dialogs;
class RosterDocument;
class RosterGridView;
struct Field;

// The window "Roster - FILE": the roster grid of the main window's open document, with
// its commands (copy, paste, set a field on many players, repair, export) in menus and
// a context menu. Every change goes through the model as an undoable step.
class RosterGridWindow : public QMainWindow {
    Q_OBJECT

public:
    RosterGridWindow(RosterDocument& document, AppSettings& settings, Dialogs& dialogs,
                     QWidget* parent = nullptr);

    RosterGridView& view() const { return *view_; }

    // Sets `field` on every selected player: `op` is "=", "+=" or "-=" (relative edits
    // clamped to the field's range). A value refused for any player changes nothing and
    // says which slot and why. Returns whether the players were set.
    bool setField(const Field& field, const QString& op, const QString& value);
    // The selected cells as tab-separated lines, the values as the fields take them.
    QString copiedText() const;
    // Pastes tab-separated lines from the current cell on, rightwards over the shown
    // columns and down the shown rows; an empty cell leaves its field as it is. Every
    // cell is checked before anything changes; a refused paste changes nothing and says
    // which cell and why.
    bool paste(const QString& text);

    // Writes the rows and columns shown as the CSV that `quillbay-cli apply` reads;
    // a file that cannot be written is reported and left as it was.
    bool exportCsv(const QString& path);

signals:
    // Show this slot's player in the main window.
    void openPlayer(int slot);
    void saveAllRequested();
    void undoRequested();
    void redoRequested();

private:
    void buildActions();
    void askSetField();
    void repairSelected();
    void askExport();
    void refuse(const QString& text);

    RosterGridView* view_;
    AppSettings& settings_;
    Dialogs& dialogs_;
};

} // namespace qb
