#include "shell/pages/personal_page.h"

#include "codecs/identity.h"
#include "shell/artwork.h"
#include "shell/list_opener.h"
#include "shell/pages/widgets.h"
#include "shell/picture_box.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <cmath>

namespace qb {

PersonalPage::PersonalPage(int tab, QWidget* parent) : Page(tab, parent) {
    const Field& name = fieldOf("txtName");
    nameBox_ = static_cast<QLineEdit*>(addEditor(name, this));
    nameBox_->setGeometry(twips(1560, 240, 1935, 300));
    nameBox_->setMaxLength(NAME_MAX_CHARS);
    caption(this, captionOf(name), nameBox_)->setGeometry(twips(240, 255, 1300, 255));

    const Field& commentary = fieldOf("txtCommentary");
    commentaryBox_ = static_cast<QLineEdit*>(addEditor(commentary, this));
    commentaryBox_->setGeometry(twips(1560, 600, 690, 300));
    commentaryBox_->setMaxLength(4);
    auto* send = named(new QPushButton(this), QStringLiteral("cmdCommentary"));
    send->setGeometry(twips(2280, 600, 300, 300));
    send->setToolTip(QStringLiteral("Send the commentary number to Tonewell"));
    send->setIcon(send->style()->standardIcon(QStyle::SP_MediaVolume));
    commentaryList_ = choiceList(this, QStringLiteral("cboCommentary"));
    commentaryList_->setGeometry(twips(1560, 960, 2600, 330));
    // One label stands beside the number and the list of file names below it.
    auto* commentaryLabel = caption(
        this, captionOf(commentary) + QStringLiteral("          File Name"), commentaryBox_);
    commentaryLabel->setWordWrap(true);
    commentaryLabel->setGeometry(twips(240, 600, 1300, 700));

    const auto row = [this](const char* editor, int top, int width) {
        const Field& shown = fieldOf(editor);
        QWidget* box = addEditor(shown, this);
        box->setGeometry(twips(1560, top, width, 330));
        caption(this, captionOf(shown), box)->setGeometry(twips(240, top + 30, 1300, 255));
    };
    row("cboBodyType", 1320, 1100);
    row("cboHairColour", 1680, 1100);
    row("cboHairStyle", 2040, 1100);
    row("cboFacialHair", 2400, 2600);

    const Field& nation = fieldOf("cboNation");
    auto* nationList = static_cast<QComboBox*>(addEditor(nation, this));
    nationList->setGeometry(twips(2835, 1680, 1300, 330));
    nationList->setIconSize(QSize(30, 20));
    for (int i = 0; i < nationList->count(); ++i) {
        nationList->setItemIcon(i, QIcon(nationFlag(i)));
    }
    caption(this, captionOf(nation), nationList)->setGeometry(twips(2835, 1365, 1300, 255));

    // The face and the bat: a frame titled with the field's caption, the picture above
    // the field's list.
    const auto pictureFrame = [this](const char* editor, int frame, const QRect& place,
                                     PictureBox*& picture, const QRect& pictureArea,
                                     const QRect& listArea) {
        const Field& shown = fieldOf(editor);
        auto* box = named(new QGroupBox(captionOf(shown), this),
                          QStringLiteral("fraPersonal_%1").arg(frame));
        box->setGeometry(place);
        picture = named(new PictureBox(box),
                        QString::fromLatin1(editor).replace(0, 3, QStringLiteral("pic")));
        picture->setGeometry(pictureArea);
        auto* list = static_cast<QComboBox*>(addEditor(shown, box));
        list->setGeometry(listArea);
        return list;
    };
    QComboBox* faceList = pictureFrame("cboFace", 0, twips(120, 2760, 1695, 2175), faceBox_,
                                       twips(120, 240, 1400, 1400), twips(105, 1710, 1410, 330));
    QComboBox* batList = pictureFrame("cboBat", 1, twips(1920, 2760, 855, 2175), batBox_,
                                      twips(75, 240, 700, 1400), twips(50, 1710, 760, 330));

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
    connect(send, &QPushButton::clicked, this, &PersonalPage::commentaryRequested);
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
