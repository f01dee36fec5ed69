#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qb {

class AppSettings;
class Dialogs;
class RosterDocument;
class RosterGridView;
struct ColumnReplace;
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
    // Pastes tab-separated lines as a spreadsheet does (see planPaste): from the one
    // selected cell on, or into the selected cells from their top-left one, a single
    // value filling them all; rows go down the view as shown. An empty cell leaves its
    // field as it is. Every cell is checked before anything changes; a refused paste
    // changes nothing and says which cell, field and value, and why. One undoable step.
    bool paste(const QString& text);

    // Replaces `replace.find` in a column (cells showing it, in any case) with
    // `replace.replacement` (a value, or "+=N" / "-=N") over the selected rows or every
    // row shown, as one undoable step. A value refused for any player changes nothing
    // and says which slot and why. Returns how many players changed; nothing if refused.
    std::optional<int> replaceInColumn(int column, const ColumnReplace& replace);

    // Writes the rows and columns shown as the CSV or, for a name ending in .xlsx, the
    // workbook that `quillbay-cli apply` reads;
    // a file that cannot be written is reported and left as it was.
    bool exportPlayers(const QString& path);

signals:
    // Show this slot's player in the main window.
    void openPlayer(int slot);
    void saveAllRequested();
    void undoRequested();
    void redoRequested();

private:
    void buildActions();
    void askSetField();
    void askReplace();
    void repairSelected();
    void askExport();
    void refuse(const QString& text);
    // Puts `typed` (a value, "+=N" or "-=N") into `field` of the players of
    // `chosenFrom` that `chosen` takes, as one step described by `step` (its last
    // placeholder, the number of players changed). A player refusing it changes nothing
    // and is reported after `refused`, with its slot. Returns how many players changed;
    // nothing when refused.
    std::optional<int> putTyped(const Field& field, const std::vector<int>& chosenFrom,
                                const QString& typed, const std::function<bool(int slot)>& chosen,
                                const QString& step, const QString& refused);

    RosterGridView* view_;
    AppSettings& settings_;
    Dialogs& dialogs_;
};

} // namespace qb
