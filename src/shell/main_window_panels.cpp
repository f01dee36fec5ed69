// Building frmMain's controls: the top row, the ten panels and the menus. Positions
// given in twips follow the editor's layout; panels without fixed positions use layouts.
#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "shell/artwork.h"
#include "shell/editors.h"
#include "shell/main_window.h"
#include "shell/picture_box.h"
#include "shell/tab_strip.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace qb {
namespace {

template <typename Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// A drop-down list that accepts only its own entries.
QComboBox* list(QWidget* parent, const QString& name) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(false);
    return box;
}

// Typing takes only digits; text the program sets is not filtered.
void digitsOnly(QLineEdit* box) {
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

// Frames of check boxes stand close together so a tab holds them all.
QVBoxLayout* compactColumn(QWidget* frame) {
    auto* column = new QVBoxLayout(frame);
    column->setSpacing(0);
    column->setContentsMargins(6, 2, 4, 2);
    return column;
}

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

} // namespace

const std::array<MainWindow::StatisticsEditor, 15>& MainWindow::statisticsEditors() {
    // In the order of the page: batting figures, bowling figures, rates, best bowling.
    static const std::array<StatisticsEditor, 15> kEditors = {{
        {Figure::Innings, &MainWindow::txtInnings, "txtInnings"},
        {Figure::NotOuts, &MainWindow::txtNotOuts, "txtNotOuts"},
        {Figure::BattingRuns, &MainWindow::txtBattingRuns, "txtBattingRuns"},
        {Figure::HighestScore, &MainWindow::txtHigestScore, "txtHigestScore"},
        {Figure::BattingAverage, &MainWindow::txtBattingAverage, "txtBattingAverage"},
        {Figure::Hundreds, &MainWindow::txt100s, "txt100s"},
        {Figure::Fifties, &MainWindow::txt50s, "txt50s"},
        {Figure::Overs, &MainWindow::txtOvers, "txtOvers"},
        {Figure::BowlingRuns, &MainWindow::txtBowlingRuns, "txtBowlingRuns"},
        {Figure::Wickets, &MainWindow::txtWickets, "txtWickets"},
        {Figure::BowlingAverage, &MainWindow::txtBowlingAverage, "txtBowlingAverage"},
        {Figure::StrikeRate, &MainWindow::txtBowlingSR, "txtBowlingSR"},
        {Figure::EconomyRate, &MainWindow::txtBowlingER, "txtBowlingER"},
        {Figure::BestBowlingRuns, &MainWindow::txtBestBowling, "txtBestBowling"},
        {Figure::BestBowlingWickets, &MainWindow::txtBestBowlingWickets, "txtBestBowlingWickets"},
    }};
    return kEditors;
}

QRect twips(int left, int top, int width, int height) {
    constexpr int k = PictureBox::kTwips;
    return {left / k, top / k, width / k, height / k};
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    const auto add = [this](QMenu* menu, const char* name, const QString& label,
                            const QKeySequence& keys) {
        QAction* action = menu->addAction(label);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        addAction(action);
        return action;
    };
    mnuOpen = add(file, "mnuOpen", QStringLiteral("&Open"), QKeySequence(QStringLiteral("Ctrl+O")));
    mnuSave = add(file, "mnuSave", QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")));
    file->addSeparator()->setObjectName(QStringLiteral("mnuBar1"));
    mnuLastFile = add(file, "mnuLastFile", QStringLiteral("Last File"),
                      QKeySequence(QStringLiteral("Ctrl+L")));
    mnuExit = add(file, "mnuExit", QStringLiteral("&Exit"), QKeySequence(QStringLiteral("Ctrl+W")));
    QMenu* path = menuBar()->addMenu(QStringLiteral("&Path"));
    path->setObjectName(QStringLiteral("mnuPath"));
    mnuSetPath = add(path, "mnuSetPath", QStringLiteral("&Set Path"),
                     QKeySequence(QStringLiteral("Ctrl+P")));
    mnuCricketPath =
        add(path, "mnuCricketPath", QStringLiteral("Cricket 2004 Path"), QKeySequence());

    connect(mnuOpen, &QAction::triggered, this, &MainWindow::cmdOpen_Click);
    connect(mnuSave, &QAction::triggered, this, [this] {
        if (cmdSave->isEnabled()) {
            cmdSave_Click();
        }
    });
    connect(mnuLastFile, &QAction::triggered, this, &MainWindow::mnuLastFile_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuSetPath, &QAction::triggered, this, &MainWindow::mnuSetPath_Click);
}

void MainWindow::buildTopRow(QWidget* central) {
    cboPlayerName = named(new QComboBox(central), QStringLiteral("cboPlayerName"));
    cboPlayerName->setEditable(true);
    cboPlayerName->setInsertPolicy(QComboBox::NoInsert);
    cboPlayerName->setCompleter(nullptr);
    cboPlayerName->setGeometry(twips(840, 120, 2055, 315));
    lblName = named(caption(central, QStringLiteral("&Name :"), cboPlayerName),
                    QStringLiteral("lblName"));
    lblName->setGeometry(twips(120, 150, 700, 255));
    cmdSave = named(new QPushButton(QStringLiteral("&Save"), central), QStringLiteral("cmdSave"));
    cmdSave->setGeometry(twips(3000, 120, 735, 375));
    cmdSave->setEnabled(false);
    cmdOpen = named(new QPushButton(QStringLiteral("&Open"), central), QStringLiteral("cmdOpen"));
    cmdOpen->setGeometry(twips(3720, 120, 735, 375));

    tmrAbout = named(new QTimer(this), QStringLiteral("tmrAbout"));
    tmrAbout->setInterval(200);
    // Access keys are distinct from the menus' (F, P), the top row's (N, S, O) and every
    // caption of the pages, so Alt and the letter always reaches its one target.
    const QStringList tabs = {QStringLiteral("Pe&rsonal"),  QStringLiteral("&Basic"),
                              QStringLiteral("Ba&tting 1"), QStringLiteral("Batt&ing 2"),
                              QStringLiteral("Bo&wling"),   QStringLiteral("Fi&elding"),
                              QStringLiteral("S&kills"),    QStringLiteral("St&atistics"),
                              QStringLiteral("Abo&ut"),     QStringLiteral("&More")};
    TabStrip1 = named(new TabStrip(tabs, 5, central), QStringLiteral("TabStrip1"));
    TabStrip1->setGeometry(twips(50, 600, 4560, 650));
    auto* page = named(new QFrame(central), QStringLiteral("TabStrip1Page"));
    page->setFrameShape(QFrame::StyledPanel);
    page->setGeometry(twips(50, 1230, 4560, 5170));
    for (int i = 1; i <= 10; ++i) {
        auto* panel = named(new QWidget(central), QStringLiteral("picPicture_%1").arg(i));
        panel->setGeometry(twips(200, 1250, 4300, 5070));
        picPicture[static_cast<std::size_t>(i)] = panel;
    }
    buildPersonal(picPicture[1]);
    buildBasic(picPicture[2]);
    buildRatings(picPicture[3], 0);
    buildBatting2(picPicture[4]);
    buildRatings(picPicture[5], 1);
    buildRatings(picPicture[6], 2);
    buildSkills(picPicture[7]);
    buildStatistics(picPicture[8]);
    buildAbout(picPicture[9]);
    buildMore(picPicture[10]);
}

void MainWindow::buildPersonal(QWidget* p) {
    txtName = named(new QLineEdit(p), QStringLiteral("txtName"));
    txtName->setGeometry(twips(1560, 240, 1935, 300));
    txtName->setMaxLength(NAME_MAX_CHARS);
    caption(p, QStringLiteral("P&layer Name"), txtName)->setGeometry(twips(240, 255, 1300, 255));

    txtCommentary = named(new QLineEdit(p), QStringLiteral("txtCommentary"));
    txtCommentary->setGeometry(twips(1560, 600, 690, 300));
    txtCommentary->setMaxLength(4);
    cmdCommentary = named(new QPushButton(p), QStringLiteral("cmdCommentary"));
    cmdCommentary->setGeometry(twips(2280, 600, 300, 300));
    cmdCommentary->setToolTip(QStringLiteral("Send the commentary number to Tonewell"));
    cmdCommentary->setIcon(cmdCommentary->style()->standardIcon(QStyle::SP_MediaVolume));
    cboCommentary = list(p, QStringLiteral("cboCommentary"));
    cboCommentary->setGeometry(twips(1560, 960, 2600, 330));
    auto* commentaryLabel =
        caption(p, QStringLiteral("Commentar&y Number          File Name"), txtCommentary);
    commentaryLabel->setWordWrap(true);
    commentaryLabel->setGeometry(twips(240, 600, 1300, 700));

    const auto row = [&](QComboBox*& box, const char* name, const QString& label, int top,
                         int width) {
        box = list(p, QString::fromLatin1(name));
        box->setGeometry(twips(1560, top, width, 330));
        caption(p, label, box)->setGeometry(twips(240, top + 30, 1300, 255));
    };
    row(cboBodyType, "cboBodyType", QStringLiteral("Bo&dy Type"), 1320, 1100);
    row(cboHairColour, "cboHairColour", QStringLiteral("Hair &Colour"), 1680, 1100);
    row(cboHairStyle, "cboHairStyle", QStringLiteral("&Hair Style"), 2040, 1100);
    row(cboFacialHair, "cboFacialHair", QStringLiteral("Facia&l Hair"), 2400, 2600);

    cboNation = list(p, QStringLiteral("cboNation"));
    cboNation->setGeometry(twips(2835, 1680, 1300, 330));
    cboNation->setIconSize(QSize(30, 20));
    caption(p, QStringLiteral("Countr&y"), cboNation)->setGeometry(twips(2835, 1365, 1300, 255));

    auto* face = named(new QGroupBox(QStringLiteral("Face"), p), QStringLiteral("fraPersonal_0"));
    face->setGeometry(twips(120, 2760, 1695, 2175));
    picFace = named(new PictureBox(face), QStringLiteral("picFace"));
    picFace->setGeometry(twips(120, 240, 1400, 1400));
    cboFace = list(face, QStringLiteral("cboFace"));
    cboFace->setGeometry(twips(105, 1710, 1410, 330));

    auto* bat = named(new QGroupBox(QStringLiteral("Bat"), p), QStringLiteral("fraPersonal_1"));
    bat->setGeometry(twips(1920, 2760, 855, 2175));
    picBat = named(new PictureBox(bat), QStringLiteral("picBat"));
    picBat->setGeometry(twips(75, 240, 700, 1400));
    cboBat = list(bat, QStringLiteral("cboBat"));
    cboBat->setGeometry(twips(50, 1710, 760, 330));

    lblStatus = named(new QLabel(p), QStringLiteral("lblStatus"));
    lblStatus->setGeometry(twips(2880, 2880, 1335, 1815));
    lblStatus->setWordWrap(true);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->setStyleSheet(QStringLiteral("color: #000080;"));

    connect(cboFace, &QComboBox::currentIndexChanged, this, &MainWindow::cboFace_Click);
    connect(cboBat, &QComboBox::currentIndexChanged, this, &MainWindow::cboBat_Click);
    digitsOnly(txtCommentary);
}

void MainWindow::buildBasic(QWidget* p) {
    auto* layout = new QVBoxLayout(p);
    const auto frame =
        [&](const QString& title,
            std::initializer_list<std::tuple<QComboBox**, const char*, QString>> rows) {
            auto* box = new QGroupBox(title, p);
            auto* form = new QFormLayout(box);
            for (const auto& [member, name, label] : rows) {
                *member = list(box, QString::fromLatin1(name));
                form->addRow(caption(box, label, *member), *member);
            }
            layout->addWidget(box);
        };
    frame(QStringLiteral("Batting"),
          {{&cboBattingPosition, "cboBattingPosition", QStringLiteral("Positio&n")},
           {&cboBattingStyle, "cboBattingStyle", QStringLiteral("St&yle")},
           {&cboBattingHand, "cboBattingHand", QStringLiteral("&Handed")}});
    frame(QStringLiteral("Bowling"),
          {{&cboBowlingStyle, "cboBowlingStyle", QStringLiteral("Sty&le")},
           {&cboBowlingMentality, "cboBowlingMentality", QStringLiteral("Mentalit&y")}});
    frame(QStringLiteral("Fielding"),
          {{&cboFieldingPosition1, "cboFieldingPosition1", QStringLiteral("Position &1")},
           {&cboFieldingPosition2, "cboFieldingPosition2", QStringLiteral("Position &2")},
           {&cboFieldingHand, "cboFieldingHand", QStringLiteral("Han&ded")}});
    layout->addStretch();
}

void MainWindow::buildRatings(QWidget* p, int tab) {
    const auto ratingTab = static_cast<RatingTab>(tab);
    const std::vector<std::string_view> captions = ratingCaptions(ratingTab);
    const char* arrayName = tab == 0 ? "sldBatting1" : tab == 1 ? "sldBowling" : "sldFielding";
    auto* outer = new QVBoxLayout(p);
    QGridLayout* grid = nullptr;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = static_cast<int>(i);
        if (grid == nullptr ||
            (ratingTab == RatingTab::Fielding && index == kFirstMiscellaneousRating)) {
            QWidget* holder = p;
            if (ratingTab == RatingTab::Fielding) {
                const bool misc = index == kFirstMiscellaneousRating;
                auto* frame = named(new QGroupBox(misc ? QStringLiteral("Miscellaneous")
                                                       : QStringLiteral("Fielding"),
                                                  p),
                                    QStringLiteral("Frame6_%1").arg(misc ? 1 : 0));
                outer->addWidget(frame);
                holder = frame;
            }
            grid = new QGridLayout();
            if (holder == p) {
                outer->addLayout(grid);
            } else {
                holder->setLayout(grid);
            }
        }
        auto* slider = named(new RatingSlider(p),
                             QStringLiteral("%1_%2").arg(QLatin1String(arrayName)).arg(index));
        auto* label = new QLabel(text(captions[i]), p);
        grid->addWidget(label, index, 0);
        grid->addWidget(slider, index, 1);
        if (tab == 0) {
            sldBatting1[i] = slider;
        } else if (tab == 1) {
            sldBowling[i] = slider;
        } else {
            sldFielding[i] = slider;
        }
    }
    outer->addStretch();
}

void MainWindow::buildBatting2(QWidget* p) {
    auto* layout = new QHBoxLayout(p);
    layout->setContentsMargins(0, 4, 0, 0);
    std::map<std::string_view, QVBoxLayout*> frames;
    const auto frameFor = [&](std::string_view title, QBoxLayout* into) {
        auto* box = named(new QGroupBox(text(title), p),
                          QStringLiteral("fraBatting2_%1").arg(frames.size()));
        frames[title] = compactColumn(box);
        into->addWidget(box);
    };
    auto* left = new QVBoxLayout();
    auto* right = new QVBoxLayout();
    frameFor("Batting Weaknesses", left);
    left->addStretch();
    right->addWidget(new QLabel(QStringLiteral("Favourite Shots"), p));
    frameFor("Front Foot", right);
    frameFor("Back Foot", right);
    right->addStretch();
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    for (const FlagBit& flag : kFlagBits) {
        if (flag.control == FlagControl::Batting2) {
            auto* box = named(new QCheckBox(text(flag.caption), p),
                              QStringLiteral("chkBatting2_%1").arg(flag.index));
            frames[flag.frame]->addWidget(box);
            chkBatting2[static_cast<std::size_t>(flag.index)] = box;
        }
    }
}

void MainWindow::buildSkills(QWidget* p) {
    // Batting and General on the left, Bowling and Fielding on the right.
    auto* layout = new QHBoxLayout(p);
    layout->setContentsMargins(0, 4, 0, 0);
    std::array<QVBoxLayout*, 2> columns = {new QVBoxLayout(), new QVBoxLayout()};
    std::map<std::string_view, QVBoxLayout*> frames;
    const std::array<std::pair<std::string_view, int>, 4> titles = {
        {{"Batting", 0}, {"Bowling", 1}, {"Fielding", 1}, {"General", 0}}};
    for (std::size_t i = 0; i < titles.size(); ++i) {
        auto* box =
            named(new QGroupBox(text(titles[i].first), p), QStringLiteral("fraSkills_%1").arg(i));
        frames[titles[i].first] = compactColumn(box);
        columns[static_cast<std::size_t>(titles[i].second)]->addWidget(box);
    }
    for (QVBoxLayout* column : columns) {
        column->addStretch();
        layout->addLayout(column, 1);
    }
    for (const FlagBit& flag : kFlagBits) {
        if (flag.control == FlagControl::Skills) {
            auto* box = named(new QCheckBox(text(flag.caption), p),
                              QStringLiteral("chkSkills_%1").arg(flag.index));
            frames[flag.frame]->addWidget(box);
            chkSkills[static_cast<std::size_t>(flag.index)] = box;
        }
    }
    auto* injuryFree = named(new ThreeStateBox(text(kInjuryFreeCaption), p),
                             QStringLiteral("chkSkills_%1").arg(kInjuryFreeIndex));
    frames[kInjuryFreeFrame]->addWidget(injuryFree);
    chkSkills[kInjuryFreeIndex] = injuryFree;
}

void MainWindow::buildStatistics(QWidget* p) {
    auto* layout = new QVBoxLayout(p);
    cboStatisticsMode = list(p, QStringLiteral("cboStatisticsMode"));
    layout->addWidget(cboStatisticsMode);
    auto* grid = new QGridLayout();
    layout->addLayout(grid);
    auto* best =
        named(new QGroupBox(QStringLiteral("Best Bowling"), p), QStringLiteral("fraBestBowling"));
    auto* bestForm = new QFormLayout(best);
    bestForm->setContentsMargins(6, 2, 4, 2);
    // Batting figures on the left, bowling figures and the best bowling on the right,
    // the two rates across the page below them.
    int battingRow = 0;
    int bowlingRow = 0;
    int rateRow = 7;
    for (const StatisticsEditor& editor : statisticsEditors()) {
        const Figure figure = editor.figure;
        const StatisticsBox& box = kStatisticsBoxes[static_cast<std::size_t>(figure)];
        auto* edit = named(new QLineEdit(p), QString::fromLatin1(editor.name));
        this->*editor.edit = edit;
        auto* label = new QLabel(text(box.caption), p);
        label->setBuddy(edit);
        if (!box.stored) {
            edit->setReadOnly(true);
        } else {
            digitsOnly(edit);
        }
        const bool bestBowling =
            figure == Figure::BestBowlingRuns || figure == Figure::BestBowlingWickets;
        const bool batting = figure <= Figure::Fifties;
        edit->setFixedWidth(twips(0, 0, 750, 0).width());
        if (bestBowling) {
            bestForm->addRow(label, edit);
        } else if (!box.stored) {
            grid->addWidget(label, rateRow, 0, 1, 3);
            grid->addWidget(edit, rateRow++, 3);
        } else if (batting) {
            grid->addWidget(label, battingRow, 0);
            grid->addWidget(edit, battingRow++, 1);
        } else {
            grid->addWidget(label, bowlingRow, 2);
            grid->addWidget(edit, bowlingRow++, 3);
        }
    }
    grid->addWidget(best, bowlingRow, 2, 7 - bowlingRow, 2);
    layout->addStretch();
    for (QLineEdit* source : {txtOvers, txtWickets, txtBowlingRuns}) {
        connect(source, &QLineEdit::textChanged, this, &MainWindow::refreshRates);
    }
    connect(cboStatisticsMode, &QComboBox::activated, this, &MainWindow::cboStatisticsMode_Click);
}

void MainWindow::buildAbout(QWidget* p) {
    lblAbout = named(new QLabel(p), QStringLiteral("lblAbout"));
    lblAbout->setGeometry(twips(480, 120, 3375, 1695));
    lblAbout->setWordWrap(true);
    lblAbout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAbout->setStyleSheet(QStringLiteral(
        "background: black; color: rgb(0, 255, 0); font-weight: bold; padding: 2px;"));
    imgCragmoor = named(new QLabel(p), QStringLiteral("imgCragmoor"));
    imgCragmoor->setGeometry(twips(1155, 2040, 1980, 1845));
    imgCragmoor->setPixmap(siteLogo());
    imgCragmoor->setCursor(Qt::PointingHandCursor);
    lblWeb = named(new QLabel(QStringLiteral("My Website"), p), QStringLiteral("lblWeb"));
    lblWeb->setGeometry(twips(1200, 4200, 1900, 400));
    QFont font = lblWeb->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    font.setUnderline(true);
    lblWeb->setFont(font);
    lblWeb->setAlignment(Qt::AlignCenter);
    lblWeb->setCursor(Qt::PointingHandCursor);
    connect(tmrAbout, &QTimer::timeout, this, &MainWindow::tmrAbout_Timer);
}

void MainWindow::buildMore(QWidget* p) {
    auto* layout = new QVBoxLayout(p);
    auto* frame =
        named(new QGroupBox(QStringLiteral("Player Names"), p), QStringLiteral("fraPlayerNames"));
    auto* inner = new QVBoxLayout(frame);
    txtPlayerName = named(new QLineEdit(frame), QStringLiteral("txtPlayerName"));
    txtPlayerName->setPlaceholderText(QStringLiteral("Search"));
    lsvPlayerName = named(new QListWidget(frame), QStringLiteral("lsvPlayerName"));
    lsvPlayerName->setIconSize(QSize(30, 20));
    lsvPlayerName->setUniformItemSizes(true);
    inner->addWidget(txtPlayerName);
    inner->addWidget(lsvPlayerName);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout();
    cmdGotoEmpty =
        named(new QPushButton(QStringLiteral("&Goto Empty"), p), QStringLiteral("cmdGotoEmpty"));
    cmdImport =
        named(new QPushButton(QStringLiteral("Import Pla&yer"), p), QStringLiteral("cmdImport"));
    cmdExport =
        named(new QPushButton(QStringLiteral("E&xport Player"), p), QStringLiteral("cmdExport"));
    for (QPushButton* button : {cmdGotoEmpty, cmdImport, cmdExport}) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(txtPlayerName, &QLineEdit::textEdited, this, &MainWindow::txtPlayerName_Change);
    connect(cmdGotoEmpty, &QPushButton::clicked, this, &MainWindow::cmdGotoEmpty_Click);
    connect(cmdImport, &QPushButton::clicked, this, &MainWindow::cmdImport_Click);
    connect(cmdExport, &QPushButton::clicked, this, &MainWindow::cmdExport_Click);
    const auto updateTransfer = [this] {
        const bool selected = lsvPlayerName->currentRow() >= 0;
        cmdImport->setEnabled(selected);
        cmdExport->setEnabled(selected);
    };
    connect(lsvPlayerName, &QListWidget::currentRowChanged, this, updateTransfer);
    updateTransfer();
}

void MainWindow::fillChoiceLists() {
    // Filling a list selects its first entry; nothing is selected until a player is shown.
    const QList<QComboBox*> lists = findChildren<QComboBox*>();
    for (QComboBox* box : lists) {
        box->blockSignals(true);
    }
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
    const auto fill = [](QComboBox* box, auto entries) {
        for (const std::string_view entry : entries) {
            box->addItem(text(entry));
        }
    };
    fill(cboHairColour, kHairColours);
    fill(cboFacialHair, kFacialHair);
    fill(cboBattingPosition, kBattingPositions);
    fill(cboBattingStyle, kBattingStyles);
    fill(cboBattingHand, kHands);
    fill(cboBowlingStyle, kBowlingStyles);
    fill(cboBowlingMentality, kBowlingMentalities);
    fill(cboFieldingPosition1, kFieldingPositions1);
    fill(cboFieldingPosition2, kFieldingPositions2);
    fill(cboFieldingHand, kHands);
    fill(cboStatisticsMode, kStatisticsFormats);
    for (std::size_t i = 0; i < kNationCodes.size(); ++i) {
        cboNation->addItem(QIcon(nationFlag(static_cast<int>(i))), text(kNationCodes[i]));
    }
    for (QComboBox* box : lists) {
        box->setCurrentIndex(-1);
        box->blockSignals(false);
    }
}

} // namespace qb
