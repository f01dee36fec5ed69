#include "shell/pages/personal_page.h"

#include "codecs/field_keys.h"
#include "codecs/identity.h"
#include "shell/artwork.h"
#include "shell/list_opener.h"
#include "shell/pages/field_layout.h"
#include "shell/pages/widgets.h"
#include "shell/picture_box.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <cmath>

namespace qb {

PersonalPage::PersonalPage(int tab, QWidget* parent) : Page(tab, parent) {
    int frames = 0;
    for (const FieldPlace& place : fieldPlaces(LaidOutPage::Personal)) {
        const Field& field = place.field();
        if (place.display == Display::PictureFrame) {
            addPictureFrame(field, place, frames++);
            continue;
        }
        QWidget* editor = addEditor(field, this);
        editor->setGeometry(twips(place.editor));
        QLabel* label = caption(this, captionOf(field), editor);
        label->setGeometry(twips(place.caption));
        if (field.key == keys::kCommentary) {
            addCommentaryFiles(label);
        }
    }
    nameBox_ = editorOf<QLineEdit>(keys::kName);
    nameBox_->setMaxLength(NAME_MAX_CHARS);
    commentaryBox_->setMaxLength(4);
    auto* nationList = editorOf<QComboBox>(keys::kNation);
    nationList->setIconSize(QSize(30, 20));
    for (int i = 0; i < nationList->count(); ++i) {
        nationList->setItemIcon(i, QIcon(nationFlag(i)));
    }
    auto* faceList = editorOf<QComboBox>(keys::kFace);
    auto* batList = editorOf<QComboBox>(keys::kBat);

    statusLabel_ = named(new QLabel(this), QStringLiteral("lblStatus"));
    statusLabel_->setGeometry(twips(2880, 2880, 1335, 1815));
    statusLabel_->setWordWrap(true);
    statusLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statusLabel_->setStyleSheet(QStringLiteral("color: #000080;"));

    new ListOpener(faceList);
    // A list that shows nothing (no player, or one whose load stopped before its
    // appearance) shows no picture either, never the previous player's.
    connect(faceList, &QComboBox::currentIndexChanged, this, [this](int chosen) {
        if (chosen >= 0) {
            emit faceChosen(chosen);
        } else {
            faceBox_->clear();
        }
    });
    connect(batList, &QComboBox::currentIndexChanged, this, [this](int chosen) {
        if (chosen >= 0) {
            emit batChosen(chosen);
        } else {
            batBox_->clear();
        }
    });
    connect(commentaryList_, &QComboBox::activated, this, [this](int index) {
        commentaryBox_->setText(QString::number(index + 1));
        emit edited();
    });
    connect(commentaryBox_, &QLineEdit::textChanged, this, &PersonalPage::commentaryNumberChanged);
}

void PersonalPage::addCommentaryFiles(QLabel* label) {
    commentaryBox_ = editorOf<QLineEdit>(keys::kCommentary);
    auto* send = named(new QPushButton(this), QStringLiteral("cmdCommentary"));
    send->setGeometry(twips(2280, 600, 300, 300));
    send->setToolTip(QStringLiteral("Send the commentary number to Tonewell"));
    send->setIcon(send->style()->standardIcon(QStyle::SP_MediaVolume));
    commentaryList_ = choiceList(this, QStringLiteral("cboCommentary"));
    commentaryList_->setGeometry(twips(1560, 960, 2600, 330));
    // One label stands beside the number and the list of file names below it.
    label->setText(label->text() + QStringLiteral("          File Name"));
    label->setWordWrap(true);
    connect(send, &QPushButton::clicked, this, &PersonalPage::commentaryRequested);
}

void PersonalPage::addPictureFrame(const Field& field, const FieldPlace& place, int frame) {
    auto* box =
        named(new QGroupBox(captionOf(field), this), QStringLiteral("fraPersonal_%1").arg(frame));
    box->setGeometry(twips(place.caption));
    PictureBox*& picture = field.key == keys::kFace ? faceBox_ : batBox_;
    picture = named(new PictureBox(box), editorNameOf(field).replace(0, 3, QStringLiteral("pic")));
    picture->setGeometry(twips(place.picture));
    addEditor(field, box)->setGeometry(twips(place.editor));
}

void PersonalPage::showSheet(const PlayerSheet& sheet) {
    // A stored name may fill all 16 name bytes: it is shown whole (typing stays at 15).
    nameBox_->setMaxLength(
        std::max(NAME_MAX_CHARS, static_cast<int>(QString::fromStdString(sheet.name).size())));
    Page::showSheet(sheet);
    // The list follows the number shown, also when an edit changed it since it was loaded.
    commentaryList_->setCurrentIndex(-1);
    commentaryNumberChanged(commentaryBox_->text());
}

void PersonalPage::readSheet(PlayerSheet& sheet) const {
    Page::readSheet(sheet);
    sheet.commentaryEntry = commentaryList_->currentIndex();
}

void PersonalPage::setStatus(const QString& text) {
    fileNote_ = text;
    showNotes();
}

void PersonalPage::setPlayerNote(const QString& text) {
    playerNote_ = text;
    showNotes();
}

void PersonalPage::showNotes() {
    QStringList notes{fileNote_, playerNote_};
    notes.removeAll(QString());
    statusLabel_->setText(notes.join(u'\n'));
}

void PersonalPage::setCommentaryNames(const QStringList& names) {
    commentaryList_->blockSignals(true);
    for (const QString& name : names) {
        commentaryList_->addItem(name + QStringLiteral(".ogg"));
    }
    commentaryList_->setCurrentIndex(-1);
    commentaryList_->blockSignals(false);
}

QString PersonalPage::commentaryNumber() const {
    return commentaryBox_->text();
}

void PersonalPage::focusCommentary() {
    commentaryBox_->setFocus();
}

void PersonalPage::trimName() {
    nameBox_->setText(QString::fromStdString(qb::trimName(nameBox_->text().toStdString())));
}

void PersonalPage::showFace(const QPixmap& picture) {
    faceBox_->showScaled(picture);
}

PictureBox& PersonalPage::batBox() {
    return *batBox_;
}

void PersonalPage::commentaryNumberChanged(const QString& text) {
    // Number - 1, halves rounded to the even neighbour, is the entry; anything else
    // leaves the list as it was.
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    if (!isNumber) {
        return;
    }
    const long index = std::lround(std::nearbyint(number - 1));
    if (index >= -1 && index < commentaryList_->count()) {
        commentaryList_->setCurrentIndex(static_cast<int>(index));
    }
}

} // namespace qb
