#pragma once

#include "shell/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

namespace qb::test {

// Dialogs that ask nobody: messages are recorded, questions and file dialogs are
// answered from queues the test fills (an empty queue answers No or Cancel). As a real
// modal dialog does, each takes the focus from the box being edited, which ends its
// editing.
class QuietDialogs : public Dialogs {
public:
    void message(QWidget*, QMessageBox::Icon icon, const QString& text, const QString&) override {
        takeFocus();
        messages << text;
        icons << icon;
    }
    bool question(QWidget*, const QString& text, const QString&) override {
        takeFocus();
        questions << text;
        return !answers.isEmpty() && answers.takeFirst();
    }
    bool questionDefaultNo(QWidget* owner, const QString& text) override {
        return question(owner, text, {});
    }

    Conflict conflict(QWidget*, const QString& text, bool* applyToAll) override {
        takeFocus();
        questions << text;
        if (applyToAll != nullptr) {
            *applyToAll = !conflictsForAll.isEmpty() && conflictsForAll.takeFirst();
        }
        return conflicts.isEmpty() ? Conflict::Cancel : conflicts.takeFirst();
    }
    Unsaved unsaved(QWidget*, const QString& text) override {
        takeFocus();
        questions << text;
        return unsavedAnswers.isEmpty() ? Unsaved::Cancel : unsavedAnswers.takeFirst();
    }

    int chooseItem(QWidget*, const QString& text, const QStringList& items, int current) override {
        takeFocus();
        questions << text;
        offered << items;
        offeredFirst << current;
        return items.isEmpty() || itemAnswers.isEmpty() ? -1 : itemAnswers.takeFirst();
    }

    // The dialogs answer as Qt's do, with '/' between a path's names on every system.
    QString pickFileToOpen(QWidget*, const QString&, const QString& proposed,
                           const QString&) override {
        openedIn << proposed;
        return chosen(files);
    }
    QString pickFileToSave(QWidget*, const QString&, const QString& proposed,
                           const QString&) override {
        savedIn << proposed;
        return chosen(files);
    }
    QString pickFolder(QWidget*, const QString&, const QString& start) override {
        foldersIn << start;
        return chosen(folders);
    }
    static QString chosen(QStringList& queue) {
        return queue.isEmpty() ? QString() : QDir::fromNativeSeparators(queue.takeFirst());
    }

    static void takeFocus() {
        if (QWidget* focused = QApplication::focusWidget()) {
            focused->clearFocus();
        }
    }

    QStringList messages;
    QList<Conflict> conflicts;
    QList<bool> conflictsForAll; // whether each question offering it applied to all
    QList<Unsaved> unsavedAnswers;
    QList<QMessageBox::Icon> icons;
    QStringList questions;
    QList<bool> answers;
    QList<int> itemAnswers;     // the index each list question is answered with
    QList<QStringList> offered; // the items of each list question
    QList<int> offeredFirst;    // the item each list question showed chosen
    QStringList files;
    QStringList folders;
    QStringList openedIn;  // where each file dialog for opening started
    QStringList foldersIn; // where each folder dialog started
    QStringList savedIn;   // the file each file dialog for saving proposed
};

} // namespace qb::test
