#pragma once

#include "system/errors.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <string>

class QWidget;

namespace qb {

// The file dialogs' filters for a roster or saved game, as the open command offers them.
inline const QString kRosterFileFilters =
    QStringLiteral("Cricket 2004 roster.pak (*.pak);;Cricket 2004 save game(*.sav) (*.sav)");
// The filter of an exported player's file.
inline const QString kPlayerFileFilter =
    QStringLiteral("Cricket 2004 player data(*.data) (*.data)");

// Every question the window puts to the user goes through here, so tests can answer
// them and record what was shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box titled "Quillbay" (or `title`) with an OK button.
    virtual void message(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                         const QString& title = QStringLiteral("Quillbay")) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(QWidget* owner, const QString& text, const QString& title) = 0;
    // A Yes/No question before a change that is easy to make by mistake and hard to see
    // whole (renaming many players at once): No is the default, so Enter changes nothing.
    virtual bool questionDefaultNo(QWidget* owner, const QString& text) = 0;
    // File dialogs; an empty result means cancelled. A path chosen is spelled as the
    // system spells it ('\\' on Windows), as every path the user reads is, though Qt's
    // dialogs spell it with '/'.
    QString openFile(QWidget* owner, const QString& title, const QString& proposed,
                     const QString& filters);
    QString saveFile(QWidget* owner, const QString& title, const QString& proposed,
                     const QString& filters);
    // A folder, starting in `start`; the prompt, of one line or more, is shown in the
    // dialog under its title.
    QString chooseFolder(QWidget* owner, const QString& prompt, const QString& start);
    // What to do about a slot another program changed: overwrite, reload or cancel.
    // With `applyToAll`, one of several such slots: the question offers to give the
    // same answer for the slots after it and says there whether that was ticked.
    enum class Conflict { Overwrite, Reload, Cancel };
    virtual Conflict conflict(QWidget* owner, const QString& text, bool* applyToAll) = 0;
    // What to do about unsaved edits before they would be lost: save them all, drop
    // them, or cancel what would lose them.
    enum class Unsaved { SaveAll, Discard, Cancel };
    virtual Unsaved unsaved(QWidget* owner, const QString& text) = 0;
    // One of `items`, `current` chosen at first: its index, or -1 when cancelled.
    virtual int chooseItem(QWidget* owner, const QString& text, const QStringList& items,
                           int current) = 0;

protected:
    // The dialogs themselves, for the wrappers above.
    virtual QString pickFileToOpen(QWidget* owner, const QString& title, const QString& proposed,
                                   const QString& filters) = 0;
    virtual QString pickFileToSave(QWidget* owner, const QString& title, const QString& proposed,
                                   const QString& filters) = 0;
    virtual QString pickFolder(QWidget* owner, const QString& prompt, const QString& start) = 0;
};

// What a failed step shows: `first` runs before the message, `wording` words it (the
// error's own description when there is none).
struct OnError {
    std::function<void()> first;
    std::function<std::string(const QuillbayError&)> wording;
};

// Runs one step of a command; an error it raises is handed to `report`, worded. Returns
// whether the step succeeded.
bool attemptReporting(const std::function<void(const QString&)>& report,
                      const std::function<void()>& step, const OnError& onError = {});

// Runs one step of a command for `owner`; an error it raises is shown as a critical
// message. Returns whether the step succeeded.
bool attempt(Dialogs& dialogs, QWidget* owner, const std::function<void()>& step,
             const OnError& onError = {});

// Before the unsaved edits of `count` players would be lost: asks `question` when there
// are any. Save All runs `saveAll`, which says whether nothing is left unsaved (a save
// that failed keeps the edits, and what would have lost them is not done); Discard goes
// on. Returns whether to go on.
bool settleUnsaved(Dialogs& dialogs, QWidget* owner, std::size_t count, const QString& question,
                   const std::function<bool()>& saveAll);

// The platform's dialogs.
class SystemDialogs : public Dialogs {
public:
    void message(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                 const QString& title) override;
    bool question(QWidget* owner, const QString& text, const QString& title) override;
    bool questionDefaultNo(QWidget* owner, const QString& text) override;
    Conflict conflict(QWidget* owner, const QString& text, bool* applyToAll) override;
    Unsaved unsaved(QWidget* owner, const QString& text) override;
    int chooseItem(QWidget* owner, const QString& text, const QStringList& items,
                   int current) override;

protected:
    QString pickFileToOpen(QWidget* owner, const QString& title, const QString& proposed,
                           const QString& filters) override;
    QString pickFileToSave(QWidget* owner, const QString& title, const QString& proposed,
                           const QString& filters) override;
    QString pickFolder(QWidget* owner, const QString& prompt, const QString& start) override;
};

} // namespace qb
