#include "shell/dialogs.h"

#include <QFileDialog>
#include <QPushButton>

namespace qb {

void SystemDialogs::message(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                            const QString& title) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

bool SystemDialogs::question(QWidget* owner, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec() == QMessageBox::Yes;
}

QString SystemDialogs::openFile(QWidget* owner, const QString& title, const QString& proposed,
                                const QString& filters) {
    return QFileDialog::getOpenFileName(owner, title, proposed, filters);
}

QString SystemDialogs::saveFile(QWidget* owner, const QString& title, const QString& proposed,
                                const QString& filters) {
    // The dialog asks before replacing an existing file of the chosen name.
    return QFileDialog::getSaveFileName(owner, title, proposed, filters);
}

QString SystemDialogs::chooseFolder(QWidget* owner, const QString& prompt) {
    return QFileDialog::getExistingDirectory(owner, prompt);
}

Dialogs::Conflict SystemDialogs::conflict(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillbay"), text, QMessageBox::NoButton,
                    owner);
    QPushButton* overwrite =
        box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton* reload = box.addButton(QStringLiteral("&Reload"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == overwrite) {
        return Conflict::Overwrite;
    }
    return box.clickedButton() == reload ? Conflict::Reload : Conflict::Cancel;
}

} // namespace qb
