#include "shell/game_assets.h"

#include "codecs/identity.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "images/image_error.h"
#include "images/tga_reader.h"
#include "shell/app_settings.h"
#include "shell/commentary_names.h"
#include "shell/companion_link.h"
#include "shell/pages/personal_page.h"
#include "shell/picture_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qb {

GameAssets::GameAssets(AppSettings& settings, Dialogs& dialogs, QWidget* window,
                       PersonalPage* personal)
    : QObject(window), settings_(settings), dialogs_(dialogs), window_(window), personal_(personal),
      folder_(settings.gamePath()), tempDir_(QDir::tempPath() + QStringLiteral("/quillbay-XXXXXX")),
      tempPath_(tempDir_.path() + QLatin1Char('/')) {
    connect(personal_, &PersonalPage::faceChosen, this, &GameAssets::showFace);
    connect(personal_, &PersonalPage::batChosen, this, &GameAssets::showBat);
    connect(personal_, &PersonalPage::commentaryRequested, this, &GameAssets::playCommentary);
}

void GameAssets::message(QMessageBox::Icon icon, const QString& text) {
    dialogs_.message(window_, icon, text);
}

QString GameAssets::archivePath() const {
    const auto archive = archiveInGameFolder(folder_.toStdString());
    return archive ? QString::fromStdString(*archive) : QString();
}

bool GameAssets::requireGameFolder() {
    if (!folder_.isEmpty() && !archivePath().isEmpty()) {
        return true;
    }
    message(QMessageBox::Critical, QStringLiteral("First Set the path for Cricket 2004 directory"));
    // What needed the folder goes on once one is chosen.
    chooseGameFolder();
    return !folder_.isEmpty() && !archivePath().isEmpty();
}

void GameAssets::chooseGameFolder() {
    const QString prompt = QStringLiteral(
        "Select the path of Cricket 2004\nExample C:\\Program Files\\EA Sports\\Cricket 2004\\");
    while (true) {
        // It starts in the folder set before, else in the user's home: never in the folder
        // the program started in, which from the Start menu is where it is installed.
        const QString folder = dialogs_.chooseFolder(
            window_, prompt,
            QDir::toNativeSeparators(folder_.isEmpty() ? QDir::homePath() : folder_));
        if (folder.isEmpty()) {
            return;
        }
        if (!archiveInGameFolder(folder.toStdString())) {
            message(QMessageBox::Critical, QStringLiteral("Wrong Path: %1 holds no %2")
                                               .arg(QDir::toNativeSeparators(folder),
                                                    QString::fromLatin1(kArchiveRelative)));
            continue;
        }
        folder_ = folder;
        settings_.setGamePath(folder.trimmed());
        emit folderChosen(folder);
        return;
    }
}

void GameAssets::showFace(int face) {
    const QString bmp = tempPath_ + QStringLiteral("temp.bmp");
    attempt(dialogs_, window_, [&] {
        const QString archive = archivePath();
        if (archive.isEmpty()) {
            throw FaceCopyError("no game archive in " + gameFolderText(folder_.toStdString()));
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

void GameAssets::showBat(int bat) {
    // A missing or undecodable bat leaves the box empty.
    TgaReader reader;
    const auto file = batInGameFolder(folder_.toStdString(), bat);
    try {
        if (file) {
            reader.load(*file);
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

void GameAssets::loadCommentaryNames() {
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

void GameAssets::playCommentary() {
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

void GameAssets::deleteTemporaryFiles() {
    QFile::remove(tempPath_ + QStringLiteral("temp.bmp"));
    QFile::remove(tempPath_ + QStringLiteral("Commentary.txt"));
}

} // namespace qb
