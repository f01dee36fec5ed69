#include "shell/main_window.h"

#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "images/image_error.h"
#include "images/tga_reader.h"
#include "roster/codepage.h"
#include "roster/errors.h"
#include "roster/link_request.h"
#include "roster/safe_write.h"
#include "roster/transfer.h"
#include "shell/artwork.h"
#include "shell/commentary_names.h"
#include "shell/companion_link.h"
#include "shell/picture_box.h"
#include "shell/tab_strip.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>
#include <cmath>

// Resources of a static library are registered by name, outside any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace qb {
namespace {

constexpr int kAboutTab = 9;
constexpr int kTabs = 10;
constexpr const char* kSiteHome = "https://cragmoor.example.org/";
constexpr const char* kAuthorPage = "https://cragmoor.example.org/quillbay/";

// Shows the wait pointer until the end of the scope, also when it is left by a failure.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString MainWindow::notice() {
    return QStringLiteral(
        "Before changing make sure that you have backed up the original file.\r\n\r\n"
        "Thanks to Mira Okafor and Tom Brennan for helping to create the editor.");
}

MainWindow::MainWindow(AppSettings& settings, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs), editor_(kCommentaryNames) {
    registerResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(windowIcon());
    auto* central = new QWidget(this);
    setCentralWidget(central);
    buildMenus();
    buildTopRow(central);
    fillChoiceLists();
    connect(TabStrip1, &TabStrip::tabSelected, this, &MainWindow::TabStrip1_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &MainWindow::cmdOpen_Click);
    connect(cmdSave, &QPushButton::clicked, this, &MainWindow::cmdSave_Click);
    connect(cboPlayerName, &QComboBox::currentIndexChanged, this, [this] {
        if (!showingState_) {
            cboPlayerName_Click();
        }
    });
    // Choosing the entry that is already selected changes no index; it reloads the
    // player from the file all the same, dropping the edits (a revert).
    connect(cboPlayerName, &QComboBox::activated, this, [this](int entry) {
        if (entry == entryAtPopup_) {
            showLoadedPlayer(entry);
        }
        entryAtPopup_ = -1;
    });
    connect(cboCommentary, &QComboBox::activated, this,
            [this](int index) { txtCommentary->setText(QString::number(index + 1)); });
    connect(txtCommentary, &QLineEdit::textChanged, this, &MainWindow::txtCommentary_Change);
    connect(cmdCommentary, &QPushButton::clicked, this, &MainWindow::cmdCommentary_Click);
    linkServer_ = new LinkServer(linkName(kEditorTopic), this);
    connect(linkServer_, &LinkServer::commandReceived, this, &MainWindow::Form_LinkExecute);
    qApp->installEventFilter(this);
    Form_Load();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

void MainWindow::Form_Load() {
    setWindowTitle(QStringLiteral("Quillbay V%1.%2").arg(kMajor).arg(kMinor));
    tempDir_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quillbay-XXXXXX"));
    strTempPath = tempDir_->path() + QLatin1Char('/');
    TabStrip1->setEnabled(false);
    strGamePath = settings_.gamePath();
    mnuLastFile->setEnabled(!strGamePath.isEmpty());
    if (strGamePath.size() >= 6) {
        mnuCricketPath->setText(strGamePath);
    }
    centralWidget()->setFixedSize(twips(0, 0, 4680, 6500).size());
    for (int i = 1; i <= kTabs; ++i) {
        picPicture[static_cast<std::size_t>(i)]->hide();
    }
    TabStrip1->selectTab(kAboutTab);
    LoadCommentaryNames();
    reportRecoveredSaves({});
}

void MainWindow::reportRecoveredSaves(const QString& file) {
    // At start-up (no file) every journal left behind, at open those of the file; each
    // under its roster's lock. Journals set aside earlier are reported again.
    std::vector<std::string> texts;
    try {
        const std::string folder = userDataFolder();
        texts = recoverInterruptedSaves(folder, file.toStdString());
        const std::vector<std::string> setAside = setAsideJournals(folder, file.toStdString());
        texts.insert(texts.end(), setAside.begin(), setAside.end());
    } catch (const QuillbayError& error) {
        texts.push_back(error.description());
    }
    for (const std::string& text : texts) {
        message(QMessageBox::Warning, qText(text));
    }
}

void MainWindow::LoadCommentaryNames() {
    const CommentaryList list =
        chooseCommentaryList(QFileInfo(settings_.fileName()).absolutePath());
    QFile file(strTempPath + QStringLiteral("Commentary.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(list.text) != list.text.size()) {
        lblStatus->setText(QStringLiteral("Cannot write ") + file.fileName());
    }
    file.close();
    cboCommentary->blockSignals(true);
    for (const QString& name : list.names) {
        cboCommentary->addItem(name + QStringLiteral(".ogg"));
    }
    cboCommentary->setCurrentIndex(-1);
    cboCommentary->blockSignals(false);
    if (!list.warning.isEmpty()) {
        lblStatus->setText(list.warning);
    }
}

void MainWindow::txtCommentary_Change(const QString& text) {
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

void MainWindow::cmdCommentary_Click() {
    bool isNumber = false;
    const int number = txtCommentary->text().toInt(&isNumber);
    if (!isNumber) {
        dialogs_.message(this, QMessageBox::NoIcon,
                         QStringLiteral("The commentary number is not a number"));
        return;
    }
    const SendOutcome outcome =
        sendLinkCommand(linkName(kCompanionTopic), QString::number(number + COMMENTARY_SOUND_BASE));
    if (outcome.noListener) {
        message(QMessageBox::Critical, QStringLiteral("Please run Tonewell first"));
    } else if (!outcome.sent) {
        dialogs_.message(this, QMessageBox::NoIcon, outcome.error);
    }
    txtCommentary->setFocus();
}

void MainWindow::Form_LinkExecute(const QString& command) {
    try {
        const LinkRequest request = parseLinkRequest(command.toStdString());
        const QString path = qText(request.path);
        if (path == strOpenedFileName) {
            selectRequestedPlayer(request.entry);
        } else if (dialogs_.question(this, QStringLiteral("Do you want to open ") + path,
                                     QStringLiteral("Quillbay"))) {
            openRequestedRoster(path, request.entry);
        }
    } catch (const LinkRequestError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
    // After a request the window comes to the front.
    show();
    raise();
    activateWindow();
}

void MainWindow::openRequestedRoster(const QString& path, int entry) {
    try {
        // The file is checked before it replaces the open one, so a bad path never
        // leaves a half-opened roster.
        const RosterFile checked(path.toStdString());
        strOpenedFileName = path;
        LoadRoster();
        selectRequestedPlayer(entry);
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, QStringLiteral("Error 53: ") + qText(error.description()));
    }
}

void MainWindow::selectRequestedPlayer(int index) {
    if (index >= cboPlayerName->count()) {
        message(QMessageBox::Warning, QStringLiteral("Non-continous roster"));
        return;
    }
    if (index == cboPlayerName->currentIndex()) {
        showLoadedPlayer(index);
    } else {
        cboPlayerName->setCurrentIndex(index);
    }
}

void MainWindow::message(QMessageBox::Icon icon, const QString& text) {
    dialogs_.message(this, icon, text);
}

QString MainWindow::archivePath() const {
    const auto archive = findArchive(gameFolderPath(strGamePath.toStdString()));
    return archive ? QString::fromStdString(archive->string()) : QString();
}

bool MainWindow::requireGameFolder() {
    if (!strGamePath.isEmpty() && !archivePath().isEmpty()) {
        return true;
    }
    message(QMessageBox::Critical, QStringLiteral("First Set the path for Cricket 2004 directory"));
    mnuSetPath_Click();
    return false;
}

void MainWindow::mnuSetPath_Click() {
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
        strGamePath = folder;
        settings_.setGamePath(folder.trimmed());
        mnuCricketPath->setText(folder);
        mnuLastFile->setEnabled(true);
        return;
    }
}

void MainWindow::cmdOpen_Click() {
    if (!requireGameFolder()) {
        return;
    }
    const QString path = dialogs_.openFile(
        this, QStringLiteral("Select the file"), QString(),
        QStringLiteral("Cricket 2004 roster.pak (*.pak);;Cricket 2004 save game(*.sav) (*.sav)"));
    if (!path.isEmpty()) {
        openRoster(path);
    }
}

void MainWindow::openRosterAfterGameCheck(const QString& path) {
    if (requireGameFolder()) {
        openRoster(path);
    }
}

void MainWindow::openRoster(const QString& path) {
    setWindowTitle(QStringLiteral("Quillbay V%1.%2 - %3")
                       .arg(kMajor)
                       .arg(kMinor)
                       .arg(QFileInfo(path).fileName()));
    strOpenedFileName = path;
    lblStatus->clear();
    reportRecoveredSaves(path);
    try {
        const RosterFile roster(path.toStdString());
        if (roster.kindWarning()) {
            message(QMessageBox::Warning, qText(*roster.kindWarning()));
        }
        const std::vector<std::uint8_t> header = roster.readHeader();
        lblStatus->setText(qText(decodeCp1252(header)));
        settings_.setLastFile(path);
        LoadRoster();
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

void MainWindow::mnuLastFile_Click() {
    const QString path = settings_.lastFile();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return;
    }
    strOpenedFileName = path;
    try {
        LoadRoster();
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

void MainWindow::LoadRoster() {
    TabStrip1->setEnabled(true);
    {
        const WaitCursor wait;
        QApplication::processEvents();
        table_ = RosterFile(strOpenedFileName.toStdString()).readSlotTable();
    }
    index_ = buildRosterIndex(table_);
    // Each name is converted once, for both lists.
    QStringList names;
    names.reserve(static_cast<qsizetype>(index_.slotEntries.size()));
    for (const SlotEntry& entry : index_.slotEntries) {
        names.push_back(qText(entry.name()));
    }
    showingState_ = true;
    cboPlayerName->clear();
    for (std::size_t player = 0; player < index_.playerCount; ++player) {
        cboPlayerName->addItem(names[static_cast<qsizetype>(player)]);
    }
    cboPlayerName->setCurrentIndex(-1);
    showingState_ = false;
    lsvPlayerName->clear();
    for (std::size_t slot = 0; slot < index_.slotEntries.size(); ++slot) {
        auto* item = new QListWidgetItem(names[static_cast<qsizetype>(slot)], lsvPlayerName);
        if (const int icon = index_.slotEntries[slot].nationIcon; icon > 0) {
            item->setIcon(QIcon(nationFlag(icon - 1)));
        }
    }
    // The editors never keep a player of another file: until a player of this one is
    // loaded they show nothing and saving is off.
    editor_.clear();
    showSheet();
    if (index_.playerCount > 0) {
        cboPlayerName->setCurrentIndex(0);
    }
    cmdSave->setEnabled(editor_.loadComplete());
}

void MainWindow::cboPlayerName_Click() {
    const int slot = cboPlayerName->currentIndex();
    if (slot >= 0) {
        showLoadedPlayer(slot);
    }
}

void MainWindow::showLoadedPlayer(int slot) {
    const WaitCursor wait;
    // The editors keep what they show for the steps a failed load does not reach.
    readSheet();
    try {
        editor_.load(RosterFile(strOpenedFileName.toStdString()), slot);
        showSheet();
    } catch (const ShowError& error) {
        showSheet();
        if (dialogs_.question(this,
                              qText(error.description()) +
                                  QStringLiteral("\n\nReset the fields the editor cannot show "
                                                 "and load the player?"),
                              QStringLiteral("Quillbay"))) {
            showRepairedPlayer(slot);
        }
    } catch (const QuillbayError& error) {
        showSheet();
        message(QMessageBox::Critical, qText(error.description()));
    }
    cmdSave->setEnabled(editor_.loadComplete());
}

void MainWindow::showRepairedPlayer(int slot) {
    try {
        const FieldRepairs repairs =
            editor_.loadRepaired(RosterFile(strOpenedFileName.toStdString()), slot);
        showSheet();
        QStringList changes;
        for (const FieldRepair& repair : repairs) {
            changes << qText(repair.field + " " + repair.before + " -> " + repair.after);
        }
        lblStatus->setText(QStringLiteral("Repaired, not saved: ") +
                           changes.join(QStringLiteral(", ")));
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

SafetyOptions MainWindow::safety(bool force) const {
    SafetyOptions options;
    options.backups = settings_.backups();
    options.force = force;
    return options;
}

void MainWindow::cmdSave_Click() {
    int remembered = -1;
    bool force = false;
    while (true) {
        try {
            const WaitCursor wait;
            txtName->setText(txtName->text().trimmed());
            remembered = cboPlayerName->currentIndex();
            readSheet();
            editor_.save(RosterFile(strOpenedFileName.toStdString()), false, safety(force));
            break;
        } catch (const SlotConflict& conflict) {
            const auto answer = dialogs_.conflict(
                this, qText(conflict.description()) +
                          QStringLiteral(".\n\nOverwrite it with what the editor shows, reload it "
                                         "from the file, or cancel?"));
            if (answer == Dialogs::Conflict::Overwrite) {
                force = true;
                continue;
            }
            if (answer == Dialogs::Conflict::Reload && remembered >= 0) {
                showLoadedPlayer(remembered);
            }
            return;
        } catch (const QuillbayError& error) {
            message(QMessageBox::Critical, qText(saveFailureReport(error.description())));
            return;
        }
    }
    message(QMessageBox::Information, QStringLiteral("Successfully Saved"));
    for (const std::string& notice : editor_.notices()) {
        message(QMessageBox::Warning, qText(notice));
    }
    try {
        LoadRoster();
        if (remembered > 0 && remembered < cboPlayerName->count()) {
            cboPlayerName->setCurrentIndex(remembered);
        }
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

void MainWindow::cboStatisticsMode_Click(int format) {
    const int leaving = editor_.state().statisticsFormat;
    if (format == leaving) {
        return;
    }
    readSheet();
    try {
        editor_.switchStatisticsFormat(format);
    } catch (const QuillbayError& error) {
        // A figure that cannot be stored keeps the page on its format.
        cboStatisticsMode->setCurrentIndex(leaving);
        message(QMessageBox::Critical, qText(error.description()));
        return;
    }
    showStatisticsBoxes();
    if (txtInnings->isVisible()) {
        txtInnings->setFocus();
    }
}

void MainWindow::cboFace_Click() {
    const int face = cboFace->currentIndex();
    if (face < 0) {
        return;
    }
    const QString bmp = strTempPath + QStringLiteral("temp.bmp");
    try {
        const QString archive = archivePath();
        if (archive.isEmpty()) {
            throw FaceCopyError("no game archive in " +
                                gameFolderPath(strGamePath.toStdString()).string());
        }
        copyFaceToBmp(archive.toStdString(), face, bmp.toStdString());
        // Read through QImage: QPixmap's own loading caches by file name and would show
        // the previous face when temp.bmp is rewritten within the same second.
        const QPixmap picture = QPixmap::fromImage(QImage(bmp));
        if (picture.isNull()) {
            throw FaceCopyError(bmp.toStdString() + ": the bitmap cannot be loaded");
        }
        picFace->showScaled(picture);
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

void MainWindow::cboBat_Click() {
    const int bat = cboBat->currentIndex();
    if (bat < 0) {
        return;
    }
    // A missing or undecodable bat leaves the box empty.
    TgaReader reader;
    const auto file = findBat(gameFolderPath(strGamePath.toStdString()), bat);
    try {
        if (file) {
            reader.LoadTGA(file->string());
        }
    } catch (const ImageError&) {
        reader = TgaReader();
    }
    reader.DrawTGA(*picBat);
    const QPixmap drawn = picBat->picture();
    picBat->setOuterSize(700, 1400);
    picBat->clear();
    if (!drawn.isNull()) {
        picBat->showScaled(drawn);
    }
}

void MainWindow::TabStrip1_Click(int tab) {
    for (int i = 1; i <= kTabs; ++i) {
        picPicture[static_cast<std::size_t>(i)]->hide();
    }
    QWidget* panel = picPicture[static_cast<std::size_t>(tab)];
    panel->show();
    panel->raise();
    if (tab == kAboutTab) {
        tmrAbout->start();
    } else {
        tmrAbout->stop();
    }
}

void MainWindow::tmrAbout_Timer() {
    if (bytWebColour > 240) {
        bytWebColour = 0;
    }
    bytWebColour += 15;
    QPalette palette = lblWeb->palette();
    palette.setColor(QPalette::WindowText, QColor(bytWebColour, 0, 255 - bytWebColour));
    lblWeb->setPalette(palette);
    const QString text = notice();
    qsizetype n = lblAbout->text().size();
    if (n > text.size()) {
        n = 0;
    }
    lblAbout->setText(text.left(n) + QLatin1Char('_'));
}

void MainWindow::cboPlayerName_KeyUp(int key) {
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Delete ||
        key == Qt::Key_Backspace) {
        return;
    }
    QLineEdit* edit = cboPlayerName->lineEdit();
    if (key == Qt::Key_Escape) {
        edit->clear();
    }
    const QString typed = edit->text();
    const int found = findPlayerWithPrefix(index_, typed.toStdString());
    if (found >= 0) {
        if (found == cboPlayerName->currentIndex()) {
            showLoadedPlayer(found);
        } else {
            cboPlayerName->setCurrentIndex(found);
        }
        edit->setText(cboPlayerName->itemText(found));
    }
    edit->setSelection(static_cast<int>(typed.size()),
                       static_cast<int>(edit->text().size() - typed.size()));
}

void MainWindow::txtPlayerName_Change(const QString& typed) {
    const int found = findSlotWithPrefix(index_, typed.toStdString());
    if (found < 0) {
        return;
    }
    lsvPlayerName->setCurrentRow(found);
    lsvPlayerName->scrollToItem(lsvPlayerName->item(found));
    txtPlayerName->setText(lsvPlayerName->item(found)->text());
    txtPlayerName->setSelection(static_cast<int>(typed.size()),
                                static_cast<int>(txtPlayerName->text().size() - typed.size()));
}

void MainWindow::cmdGotoEmpty_Click() {
    const int found = nextEmptySlot(index_, lsvPlayerName->currentRow());
    if (found >= 0) {
        lsvPlayerName->setCurrentRow(found);
        lsvPlayerName->scrollToItem(lsvPlayerName->item(found));
    }
}

void MainWindow::cmdExport_Click() {
    const int slot = lsvPlayerName->currentRow();
    if (slot < 0) {
        return;
    }
    const QString filter = QStringLiteral("Cricket 2004 player data(*.data) (*.data)");
    const QString chosen = dialogs_.saveFile(this, QStringLiteral("Select the file to export"),
                                             lsvPlayerName->item(slot)->text(), filter);
    if (chosen.isEmpty()) {
        return;
    }
    const ExportTarget target = planExport(chosen.toStdString());
    const QString path = qText(target.path);
    if (target.needsOverwriteQuestion &&
        !dialogs_.question(this,
                           path + QStringLiteral(" already exists.\nDo you want to replace it?"),
                           QStringLiteral("Confirmation"))) {
        return;
    }
    try {
        exportSlot(RosterFile(strOpenedFileName.toStdString()), slot, target.path);
        message(QMessageBox::Information, qText(exportSuccessText(target.path)));
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

void MainWindow::cmdImport_Click() {
    const int slot = lsvPlayerName->currentRow();
    if (slot < 0) {
        return;
    }
    const QString target = lsvPlayerName->item(slot)->text();
    const QString chosen =
        dialogs_.openFile(this, QStringLiteral("Select the file to import"), target,
                          QStringLiteral("Cricket 2004 player data(*.data) (*.data)"));
    if (chosen.isEmpty()) {
        return;
    }
    const std::string path = chosen.trimmed().toStdString();
    try {
        readPlayerFile(path);
        if (!dialogs_.question(this, qText(importConfirmationText(target.toStdString(), path)),
                               QStringLiteral("Confirmation"))) {
            return;
        }
        std::vector<std::string> notices;
        importSlot(RosterFile(strOpenedFileName.toStdString()), slot, path, safety(false),
                   &notices);
        message(QMessageBox::Information, qText(importSuccessText(target.toStdString())));
        for (const std::string& notice : notices) {
            message(QMessageBox::Warning, qText(notice));
        }
        LoadRoster();
    } catch (const QuillbayError& error) {
        message(QMessageBox::Critical, qText(error.description()));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto* key = event->type() == QEvent::KeyRelease || event->type() == QEvent::KeyPress
                          ? static_cast<QKeyEvent*>(event)
                          : nullptr;
    // Ctrl+Tab walks through the tabs, from the last back to the first, once a roster is open.
    if (key != nullptr && event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Tab &&
        key->modifiers() == Qt::ControlModifier && TabStrip1->isEnabled() &&
        (watched == this ||
         (watched->isWidgetType() && isAncestorOf(static_cast<QWidget*>(watched))))) {
        const int tab = TabStrip1->selectedTab() == kTabs ? 0 : TabStrip1->selectedTab();
        TabStrip1->selectTab(tab + 1);
        return true;
    }
    // The extended interface of the player and face lists: Down opens the list, and
    // neither F4 nor Alt with an arrow does.
    if (key != nullptr && event->type() == QEvent::KeyPress &&
        (watched == cboPlayerName || watched == cboPlayerName->lineEdit() || watched == cboFace)) {
        const bool arrow = key->key() == Qt::Key_Down || key->key() == Qt::Key_Up;
        if (key->key() == Qt::Key_F4 || (arrow && (key->modifiers() & Qt::AltModifier))) {
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            (watched == cboFace ? cboFace : cboPlayerName)->showPopup();
            return true;
        }
    }
    if (event->type() == QEvent::Show && watched == cboPlayerName->view()->window()) {
        entryAtPopup_ = cboPlayerName->currentIndex();
    }
    if (key != nullptr && event->type() == QEvent::KeyRelease &&
        watched == cboPlayerName->lineEdit()) {
        cboPlayerName_KeyUp(key->key());
    }
    if (key != nullptr && event->type() == QEvent::KeyPress && watched == txtPlayerName &&
        key->key() == Qt::Key_Escape) {
        txtPlayerName->clear();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == imgCragmoor || watched == lblWeb)) {
        QDesktopServices::openUrl(
            QUrl(QString::fromLatin1(watched == imgCragmoor ? kSiteHome : kAuthorPage)));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::deleteTemporaryFiles() {
    QFile::remove(strTempPath + QStringLiteral("temp.bmp"));
    QFile::remove(strTempPath + QStringLiteral("Commentary.txt"));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    deleteTemporaryFiles();
    event->accept();
}

} // namespace qb
