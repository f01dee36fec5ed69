// The compare view, the backups of the open roster and edits files (patches among them):
// each works on the open roster through its document and its undo history.
#include "player/edits_file.h"
#include "saving/backups.h"
#include "saving/file_identity.h"
#include "shell/compare/backups_window.h"
#include "shell/compare/compare_window.h"
#include "shell/compare/patch_preview.h"
#include "shell/main_window.h"

#include <QFile>
#include <QFileInfo>
#include <QUndoStack>
#include <memory>

namespace qb {

void MainWindow::chooseRosterToCompare() {
    if (!document_) {
        return;
    }
    const QString path = dialogs_.openFile(
        this, QStringLiteral("Select the roster to compare with"), settings_.gamePath(),
        QStringLiteral("Cricket 2004 roster.pak (*.pak);;Cricket 2004 save game(*.sav) (*.sav)"));
    if (!path.isEmpty()) {
        compareWith(path);
    }
}

void MainWindow::compareWith(const QString& path) {
    if (compare_ && !compare_->settleUnsaved()) {
        return;
    }
    attempt([&] {
        // A roster compared with itself would be two documents saving one file.
        if (identifyFile(path.toStdString()).sameFileAs(identifyFile(document_->path()))) {
            throw QuillbayError(path.toStdString() +
                                " is the roster open in the window; choose another file to "
                                "compare it with");
        }
        auto right = std::make_unique<RosterDocument>(path.toStdString());
        commitEditors();
        delete compare_.data();
        const CompareWindow::MainSide left{*document_, *history_,
                                           [this](const QString& text, std::vector<Edit> edits) {
                                               pushEdits(text, std::move(edits));
                                           },
                                           [this](bool redo) { undoOrRedo(redo); },
                                           [this] { saveAll(); }};
        compare_ = new CompareWindow(left, std::move(right), dialogs_, safety(false), this);
        compare_->show();
    });
}

void MainWindow::showBackups() {
    if (!document_) {
        return;
    }
    attempt([this] {
        auto* window = new BackupsWindow(
            openedFileName(), listBackups(document_->path(), safety(false).dataFolderOrDefault()),
            this);
        connect(window, &BackupsWindow::compareRequested, this, &MainWindow::compareWith);
        window->show();
    });
}

void MainWindow::applyEditsFile() {
    if (!document_) {
        return;
    }
    const QString path = dialogs_.openFile(
        this, QStringLiteral("Select the edits file or patch to apply"), QString(),
        QStringLiteral("Edits file or patch (*.csv *.json);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        message(QMessageBox::Critical,
                QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()));
        return;
    }
    const std::string text = file.readAll().toStdString();
    commitEditors();
    // As `quillbay-cli apply`, with --match as the file's own column or keys say.
    const MatchBy by = editsFileMatch(text, path.toStdString());
    std::vector<Edit> edits;
    std::vector<int> unmatched;
    if (!attempt([&] {
            edits =
                patchEdits(*document_, parseEditsFile(text, path.toStdString(), by), by, unmatched);
        })) {
        return;
    }
    const QString name = QFileInfo(path).fileName();
    const QString preview = patchPreview(*document_, edits, unmatched);
    if (edits.empty()) {
        message(QMessageBox::Information, preview);
        return;
    }
    if (!dialogs_.question(
            this,
            QStringLiteral("Apply %1 to %2?\nIts players are matched by %3.\n\n%4")
                .arg(name, QFileInfo(openedFileName()).fileName(),
                     by == MatchBy::Id ? QStringLiteral("player ID") : QStringLiteral("slot"),
                     preview),
            QStringLiteral("Apply Edits File"))) {
        return;
    }
    pushEdits(QStringLiteral("Apply %1").arg(name), std::move(edits));
}

} // namespace qb
