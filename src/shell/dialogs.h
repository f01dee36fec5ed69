#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace qb {

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
    // File dialogs; an empty result means cancelled.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& proposed,
                             const QString& filters) = 0;
    virtual QString saveFile(QWidget* owner, const QString& title, const QString& proposed,
                             const QString& filters) = 0;
    virtual QString chooseFolder(QWidget* owner, const QString& prompt) = 0;
    // What to do about a slot another program changed: overwrite, reload or cancel.
    // With `applyToAll`, one of several such slots: the question offers to give the
    // same answer for the slots after it and says there whether that was ticked.
    enum class Conflict { Overwrite, Reload, Cancel };
    virtual Conflict conflict(QWidget* owner, const QString& text, bool* applyToAll) = 0;
    // What to do about unsaved edits before they would be lost: save them all, drop
    // them, or cancel what would lose them.
    enum class Unsaved { SaveAll, Discard, Cancel };
    virtual Unsaved unsaved(QWidget* owner, const QString& text) = 0;
};

// The platform's dialogs.
class SystemDialogs : public Dialogs {
public:
    void message(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                 const QString& title) override;
    bool question(QWidget* owner, const QString& text, const QString& title) override;
    bool questionDefaultNo(QWidget* owner, const QString& text) override;
    QString openFile(QWidget* owner, const QString& title, const QString& proposed,
                     const QString& filters) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& proposed,
                     const QString& filters) override;
    QString chooseFolder(QWidget* owner, const QString& prompt) override;
    Conflict conflict(QWidget* owner, const QString& text, bool* applyToAll) override;
    Unsaved unsaved(QWidget* owner, const QString& text) override;
};

} // namespace qb
