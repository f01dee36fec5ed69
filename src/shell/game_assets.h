#pragma once

#include "shell/dialogs.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

class QWidget;

namespace qb {

class AppSettings;
class PersonalPage;

// What the window takes from the game folder and the user's files: the folder itself,
// the face and bat pictures the Personal page shows, and the commentary names with the
// companion that plays them. The face and the names pass through temporary files of its
// own folder.
class GameAssets : public QObject {
    Q_OBJECT

public:
    GameAssets(AppSettings& settings, Dialogs& dialogs, QWidget* window, PersonalPage* personal);

    // The game folder as last chosen; empty while none is.
    const QString& folder() const { return folder_; }
    const QString& tempPath() const { return tempPath_; }
    // Whether the game folder holds the game's archive; if not, says so and asks for it,
    // and whether one that does was chosen.
    bool requireGameFolder();
    // Asks for the game folder until one holding the archive is chosen or it is cancelled.
    void chooseGameFolder();
    // Fills the Personal page's commentary list from the user's list or the built-in one.
    void loadCommentaryNames();
    void deleteTemporaryFiles();

signals:
    void folderChosen(const QString& folder);

private:
    void message(QMessageBox::Icon icon, const QString& text);
    QString archivePath() const;
    void showFace(int face);
    void showBat(int bat);
    void playCommentary();

    AppSettings& settings_;
    Dialogs& dialogs_;
    QWidget* window_;
    PersonalPage* personal_;
    QString folder_;
    QTemporaryDir tempDir_;
    QString tempPath_;
};

} // namespace qb
