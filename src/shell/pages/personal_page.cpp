#include "shell/pages/personal_page.h"

#include "codecs/identity.h"
#include "codecs/tables.h"
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
    txtName = named(new QLineEdit(this), QStringLiteral("txtName"));
    txtName->setGeometry(twips(1560, 240, 1935, 300));
    txtName->setMaxLength(NAME_MAX_CHARS);
    caption(this, QStringLiteral("P&layer Name"), txtName)->setGeometry(twips(240, 255, 1300, 255));

    txtCommentary = named(new QLineEdit(this), QStringLiteral("txtCommentary"));
    txtCommentary->setGeometry(twips(1560, 600, 690, 300));
    txtCommentary->setMaxLength(4);
    auto* send = named(new QPushButton(this), QStringLiteral("cmdCommentary"));
    send->setGeometry(twips(2280, 600, 300, 300));
    send->setToolTip(QStringLiteral("Send the commentary number to Tonewell"));
    send->setIcon(send->style()->standardIcon(QStyle::SP_MediaVolume));
    cboCommentary = choiceList(this, QStringLiteral("cboCommentary"));
    cboCommentary->setGeometry(twips(1560, 960, 2600, 330));
    auto* commentaryLabel =
        caption(this, QStringLiteral("Commentar&y Number          File Name"), txtCommentary);
    commentaryLabel->setWordWrap(true);
    commentaryLabel->setGeometry(twips(240, 600, 1300, 700));

    const auto row = [this](const char* name, const QString& label, int top, int width) {
        QComboBox* box = choiceList(this, QString::fromLatin1(name));
        box->setGeometry(twips(1560, top, width, 330));
        caption(this, label, box)->setGeometry(twips(240, top + 30, 1300, 255));
        return box;
    };
    cboBodyType = row("cboBodyType", QStringLiteral("Bo&dy Type"), 1320, 1100);
    cboHairColour = row("cboHairColour", QStringLiteral("Hair &Colour"), 1680, 1100);
    cboHairStyle = row("cboHairStyle", QStringLiteral("&Hair Style"), 2040, 1100);
    cboFacialHair = row("cboFacialHair", QStringLiteral("Facia&l Hair"), 2400, 2600);

    cboNation = choiceList(this, QStringLiteral("cboNation"));
    cboNation->setGeometry(twips(2835, 1680, 1300, 330));
    cboNation->setIconSize(QSize(30, 20));
    caption(this, QStringLiteral("Countr&y"), cboNation)->setGeometry(twips(2835, 1365, 1300, 255));

    auto* face =
        named(new QGroupBox(QStringLiteral("Face"), this), QStringLiteral("fraPersonal_0"));
    face->setGeometry(twips(120, 2760, 1695, 2175));
    picFace = named(new PictureBox(face), QStringLiteral("picFace"));
    picFace->setGeometry(twips(120, 240, 1400, 1400));
    cboFace = choiceList(face, QStringLiteral("cboFace"));
    cboFace->setGeometry(twips(105, 1710, 1410, 330));

    auto* bat = named(new QGroupBox(QStringLiteral("Bat"), this), QStringLiteral("fraPersonal_1"));
    bat->setGeometry(twips(1920, 2760, 855, 2175));
    picBat = named(new PictureBox(bat), QStringLiteral("picBat"));
    picBat->setGeometry(twips(75, 240, 700, 1400));
    cboBat = choiceList(bat, QStringLiteral("cboBat"));
    cboBat->setGeometry(twips(50, 1710, 760, 330));

    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));
    lblStatus->setGeometry(twips(2880, 2880, 1335, 1815));
    lblStatus->setWordWrap(true);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->setStyleSheet(QStringLiteral("color: #000080;"));

    fillLists();
    digitsOnly(txtCommentary);
    new ListOpener(cboFace);
    bind(txtName, [](PlayerSheet& s) { return &s.name; });
    bind(cboNation, [](PlayerSheet& s) { return &s.nation; });
    bind(txtCommentary, [](PlayerSheet& s) { return &s.commentary; });
    bind(cboBodyType, [](PlayerSheet& s) { return &s.bodyType; });
    bind(cboHairColour, [](PlayerSheet& s) { return &s.hairColour; });
    bind(cboHairStyle, [](PlayerSheet& s) { return &s.hairStyle; });
    bind(cboFacialHair, [](PlayerSheet& s) { return &s.facialHair; });
    bind(cboFace, [](PlayerSheet& s) { return &s.face; });
    bind(cboBat, [](PlayerSheet& s) { return &s.bat; });
    connect(cboFace, &QComboBox::currentIndexChanged, this, [this](int chosen) {
        if (chosen >= 0) {
            emit faceChosen(chosen);
        }
    });
    connect(cboBat, &QComboBox::currentIndexChanged, this, [this](int chosen) {
        if (chosen >= 0) {
            emit batChosen(chosen);
        }
    });
    connect(cboCommentary, &QComboBox::activated, this,
            [this](int index) { txtCommentary->setText(QString::number(index + 1)); });
    connect(txtCommentary, &QLineEdit::textChanged, this, &PersonalPage::commentaryNumberChanged);
    connect(send, &QPushButton::clicked, this, &PersonalPage::commentaryRequested);
}

void PersonalPage::fillLists() {
    // Filling a list selects its first entry; nothing is selected until a player is shown.
    for (int i = 0; i < kBatCount; ++i) {
        const QString number = QString::number(i);
        if (i < kFaceCount) {
            cboFace->addItem(number);
        }
        if (i < kBodyTypeCount) {
            cboBodyType->addItem(number);
        }
        if (i < kHairStyleCount) {
            cboHairStyle->addItem(number);
        }
        cboBat->addItem(number);
    }
    for (const std::string_view entry : kHairColours) {
        cboHairColour->addItem(qView(entry));
    }
    for (const std::string_view entry : kFacialHair) {
        cboFacialHair->addItem(qView(entry));
    }
    for (std::size_t i = 0; i < kNationCodes.size(); ++i) {
        cboNation->addItem(QIcon(nationFlag(static_cast<int>(i))), qView(kNationCodes[i]));
    }
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->setCurrentIndex(-1);
    }
}

void PersonalPage::showSheet(const PlayerSheet& sheet) {
    // A stored name may fill all 16 name bytes: it is shown whole (typing stays at 15).
    txtName->setMaxLength(
        std::max(NAME_MAX_CHARS, static_cast<int>(QString::fromStdString(sheet.name).size())));
    Page::showSheet(sheet);
    cboCommentary->setCurrentIndex(
        sheet.commentaryEntry < cboCommentary->count() ? sheet.commentaryEntry : -1);
}

void PersonalPage::readSheet(PlayerSheet& sheet) const {
    Page::readSheet(sheet);
    sheet.commentaryEntry = cboCommentary->currentIndex();
}

void PersonalPage::setStatus(const QString& text) {
    lblStatus->setText(text);
}

void PersonalPage::setCommentaryNames(const QStringList& names) {
    cboCommentary->blockSignals(true);
    for (const QString& name : names) {
        cboCommentary->addItem(name + QStringLiteral(".ogg"));
    }
    cboCommentary->setCurrentIndex(-1);
    cboCommentary->blockSignals(false);
}

QString PersonalPage::commentaryNumber() const {
    return txtCommentary->text();
}

void PersonalPage::focusCommentary() {
    txtCommentary->setFocus();
}

void PersonalPage::trimName() {
    txtName->setText(txtName->text().trimmed());
}

void PersonalPage::showFace(const QPixmap& picture) {
    picFace->showScaled(picture);
}

PictureBox& PersonalPage::batBox() {
    return *picBat;
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
    if (index >= -1 && index < cboCommentary->count()) {
        cboCommentary->setCurrentIndex(static_cast<int>(index));
    }
}

} // namespace qb
