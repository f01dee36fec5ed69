#pragma once

#include "shell/pages/page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPixmap;

namespace qb {

class PictureBox;
struct FieldPlace;

// Personal: name, commentary number and its file name, appearance, the face and bat
// pictures and the status note: the open file's, and below it the shown player's.
class PersonalPage : public Page {
    Q_OBJECT

public:
    PersonalPage(int tab, QWidget* parent);

    void showSheet(const PlayerSheet& sheet) override;
    void readSheet(PlayerSheet& sheet) const override;

    void setStatus(const QString& text);
    // A note about the player on screen (what a repair changed); empty clears it.
    void setPlayerNote(const QString& text);
    void setCommentaryNames(const QStringList& names);
    QString commentaryNumber() const;
    void focusCommentary();
    // Saving stores the name without leading and trailing spaces, by the core's rule (a
    // tab stays, and the save refuses it).
    void trimName();
    void showFace(const QPixmap& picture);
    PictureBox& batBox();

signals:
    void faceChosen(int face);
    void batChosen(int bat);
    void commentaryRequested();

private:
    // The button that plays the commentary and the list of its files, beside and below
    // the number; `label` names both.
    void addCommentaryFiles(QLabel* label);
    void addPictureFrame(const Field& field, const FieldPlace& place, int frame);
    void commentaryNumberChanged(const QString& text);
    void showNotes();

    QLineEdit* nameBox_;
    QLineEdit* commentaryBox_;
    QComboBox* commentaryList_;
    PictureBox* faceBox_;
    PictureBox* batBox_;
    QLabel* statusLabel_;
    QString fileNote_;
    QString playerNote_;
};

} // namespace qb
