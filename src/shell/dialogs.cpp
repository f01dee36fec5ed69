#include "shell/dialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>

namespace qb {

bool attemptReporting(const std::function<void(const QString&)>& report,
                      const std::function<void()>& step, const OnError& onError) {
    try {
        step();
        return true;
    } catch (const QuillbayError& error) {
        if (onError.first) {
            onError.first();
        }
        report(
            QString::fromStdString(onError.wording ? onError.wording(error) : error.description()));
        return false;
    }
}

bool attempt(Dialogs& dialogs, QWidget* owner, const std::function<void()>& step,
             const OnError& onError) {
    return attemptReporting(
        [&](const QString& text) { dialogs.message(owner, QMessageBox::Critical, text); }, step,
        onError);
}

bool settleUnsaved(Dialogs& dialogs, QWidget* owner, std::size_t count, const QString& question,
                   const std::function<bool()>& saveAll) {
    if (count == 0) {
        return true;
    }
    switch (dialogs.unsaved(owner, question)) {
    case Dialogs::Unsaved::SaveAll:
        return saveAll();
    case Dialogs::Unsaved::Discard:
        return true;
    case Dialogs::Unsaved::Cancel:
        break;
    }
    return false;
}

void SystemDialogs::message(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                            const QString& title) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

bool SystemDialogs::question(QWidget* owner, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec() == QMessageBox::Yes;
}

bool SystemDialogs::questionDefaultNo(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillbay"), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString Dialogs::openFile(QWidget* owner, const QString& title, const QString& proposed,
                          const QString& filters) {
    return QDir::toNativeSeparators(pickFileToOpen(owner, title, proposed, filters));
}

QString Dialogs::saveFile(QWidget* owner, const QString& title, const QString& proposed,
                          const QString& filters) {
    return QDir::toNativeSeparators(pickFileToSave(owner, title, proposed, filters));
}

QString Dialogs::chooseFolder(QWidget* owner, const QString& prompt, const QString& start) {
    return QDir::toNativeSeparators(pickFolder(owner, prompt, start));
}

QString SystemDialogs::pickFileToOpen(QWidget* owner, const QString& title, const QString& proposed,
                                      const QString& filters) {
    return QFileDialog::getOpenFileName(owner, title, proposed, filters);
}

QString SystemDialogs::pickFileToSave(QWidget* owner, const QString& title, const QString& proposed,
                                      const QString& filters) {
    // The dialog asks before replacing an existing file of the chosen name.
    return QFileDialog::getSaveFileName(owner, title, proposed, filters);
}

QString SystemDialogs::pickFolder(QWidget* owner, const QString& prompt, const QString& start) {
    // A title is one line: the prompt goes in the dialog's own body (Qt's dialog, as the
    // platform's has no place for it), its first line the title.
    QFileDialog dialog(owner, prompt.section(QLatin1Char('\n'), 0, 0), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(new QLabel(prompt, &dialog), grid->rowCount(), 0, 1, grid->columnCount());
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

namespace {

// A question with two named answers and Cancel: 0 for the first, 1 for the second,
// 2 for Cancel. With `enterCancels`, Enter answers Cancel; with `ticked`, a box
// captioned `tick` below the text, whose state it receives.
int twoAnswersOrCancel(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                       const QString& first, QMessageBox::ButtonRole firstRole,
                       const QString& second, QMessageBox::ButtonRole secondRole,
                       bool enterCancels = false, const QString& tick = {},
                       bool* ticked = nullptr) {
    QMessageBox box(icon, QStringLiteral("Quillbay"), text, QMessageBox::NoButton, owner);
    QPushButton* one = box.addButton(first, firstRole);
    QPushButton* two = box.addButton(second, secondRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    if (enterCancels) {
        box.setDefaultButton(cancel);
    }
    if (ticked != nullptr) {
        box.setCheckBox(new QCheckBox(tick, &box));
    }
    box.exec();
    if (ticked != nullptr) {
        *ticked = box.checkBox()->isChecked();
    }
    return box.clickedButton() == one ? 0 : box.clickedButton() == two ? 1 : 2;
}

} // namespace

Dialogs::Conflict SystemDialogs::conflict(QWidget* owner, const QString& text, bool* applyToAll) {
    // Enter answers Cancel, which loses nothing: Reload drops the edits without asking
    // again and Overwrite drops the other program's change.
    constexpr Conflict answers[] = {Conflict::Overwrite, Conflict::Reload, Conflict::Cancel};
    return answers[twoAnswersOrCancel(
        owner, QMessageBox::Warning, text, QStringLiteral("&Overwrite"),
        QMessageBox::DestructiveRole, QStringLiteral("&Reload"), QMessageBox::AcceptRole, true,
        QStringLiteral("&Apply to the other changed players"), applyToAll)];
}

Dialogs::Unsaved SystemDialogs::unsaved(QWidget* owner, const QString& text) {
    constexpr Unsaved answers[] = {Unsaved::SaveAll, Unsaved::Discard, Unsaved::Cancel};
    return answers[twoAnswersOrCancel(owner, QMessageBox::Question, text,
                                      QStringLiteral("Save &All"), QMessageBox::AcceptRole,
                                      QStringLiteral("&Discard"), QMessageBox::DestructiveRole)];
}

int SystemDialogs::chooseItem(QWidget* owner, const QString& text, const QStringList& items,
                              int current) {
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(owner, QStringLiteral("Quillbay"), text, items, current, false, &ok);
    return ok ? static_cast<int>(items.indexOf(chosen)) : -1;
}

} // namespace qb
