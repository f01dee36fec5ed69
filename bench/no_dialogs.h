#pragma once

#include "shell/dialogs.h"

#include <cstdio>

namespace qb::bench {

// Dialogs for a benchmark: messages go to the standard error, questions are answered No
// and file choices cancelled, so nothing waits for a person.
class NoDialogs : public Dialogs {
public:
    void message(QWidget*, QMessageBox::Icon, const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool question(QWidget*, const QString&, const QString&) override { return false; }
    bool questionDefaultNo(QWidget*, const QString&) override { return false; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    Conflict conflict(QWidget*, const QString&, bool*) override { return Conflict::Cancel; }
    Unsaved unsaved(QWidget*, const QString&) override { return Unsaved::Cancel; }
};

} // namespace qb::bench
