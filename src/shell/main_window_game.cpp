// What the window takes from the game folder and the user's files: the folder itself,
// the face and bat pictures, and the commentary names with the companion that plays them.
#include "codecs/identity.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "images/image_error.h"
#include "images/tga_reader.h"
#include "shell/commentary_names.h"
#include "shell/companion_link.h"
#include "shell/main_window.h"
#include "shell/pages/personal_page.h"
#include "shell/picture_box.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>

namespace qb {

QString MainWindow::archivePath() const {
    const auto archive = findArchive(gameFolderPath(gamePath_.toStdString()));
    return archive ? QString::fromStdString(utf8Path(*archive)) : QString();
}

bool MainWindow::requireGameFolder() {
    if (!gamePath_.isEmpty() && !archivePath().isEmpty()) {
        return true;
    }
    message(QMessageBox::Critical, QStringLiteral("First Set the path for Cricket 2004 directory"));
    chooseGameFolder();
    return false;
}

void MainWindow::chooseGameFolder() {
    const QString prompt = QStringLiteral(
        "Select the path of Cricket 2004\r\nExample C:\\Program Files\\EA Sports\\Cricket 2004\\");
    while (true) {
        const QString folder = dialogs_.chooseFolder(this, prompt);
        if (folder.isEmpty()) {
            return;
        }
        if (!findArchive(gameFolderPath(folder.toStdString()))) {
            message(QMessageBox::Critical, QStringLiteral("Wrong Path"));
            continue;
        }
        gamePath_ = folder;
        settings_.setGamePath(folder.trimmed());
        gameFolderAction_->setText(folder);
        lastFileAction_->setEnabled(true);
        return;
    }
}

void MainWindow::showFace(int face) {
    const QString bmp = tempPath_ + QStringLiteral("temp.bmp");
    attempt([&] {
        const QString archive = archivePath();
        if (archive.isEmpty()) {
            throw FaceCopyError("no game archive in " +
                                utf8Path(gameFolderPath(gamePath_.toStdString())));
        }
        copyFaceToBmp(archive.toStdString(), face, bmp.toStdString());
        // Read through QImage: QPixmap's own loading caches by file name and would show
        // the previous face when temp.bmp is rewritten within the same second.
        const QPixmap picture = QPixmap::fromImage(QImage(bmp));
        if (picture.isNull()) {
            throw FaceCopyError(bmp.toStdString() + ": the bitmap cannot be loaded");
        }
        personal_->showFace(picture);
    });
}

void MainWindow::showBat(int bat) {
    // A missing or undecodable bat leaves the box empty.
    TgaReader reader;
    const auto file = findBat(gameFolderPath(gamePath_.toStdString()), bat);
    try {
        if (file) {
            reader.load(utf8Path(*file));
        }
    } catch (const ImageError&) {
        reader = TgaReader();
    }
    PictureBox& box = personal_->batBox();
    reader.draw(box);
    const QPixmap drawn = box.picture();
    box.setOuterSize(700, 1400);
    box.clear();
    if (!drawn.isNull()) {
        box.showScaled(drawn);
    }
}

void MainWindow::loadCommentaryNames() {
    const CommentaryList list =
        chooseCommentaryList(QFileInfo(settings_.fileName()).absolutePath());
    QFile file(tempPath_ + QStringLiteral("Commentary.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(list.text) != list.text.size()) {
        personal_->setStatus(QStringLiteral("Cannot write ") + file.fileName());
    }
    file.close();
    personal_->setCommentaryNames(list.names);
    if (!list.warning.isEmpty()) {
        personal_->setStatus(list.warning);
    }
}

void MainWindow::playCommentary() {
    bool isNumber = false;
    const int number = personal_->commentaryNumber().toInt(&isNumber);
    if (!isNumber) {
        message(QMessageBox::NoIcon, QStringLiteral("The commentary number is not a number"));
        return;
    }
    const SendOutcome outcome =
        sendLinkCommand(linkName(kCompanionTopic), QString::number(number + COMMENTARY_SOUND_BASE));
    if (outcome.noListener) {
        message(QMessageBox::Critical, QStringLiteral("Please run Tonewell first"));
    } else if (!outcome.sent) {
        message(QMessageBox::NoIcon, outcome.error);
    }
    personal_->focusCommentary();
}

void MainWindow::deleteTemporaryFiles() {
    QFile::remove(tempPath_ + QStringLiteral("temp.bmp"));
    QFile::remove(tempPath_ + QStringLiteral("Commentary.txt"));
}

} // namespace qb
