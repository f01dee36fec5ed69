#pragma once

#include "codecs/player_editor.h"
#include "codecs/statistics.h"
#include "codecs/tables.h"
#include "roster/player_lists.h"
#include "roster/safe_write.h"
#include "shell/app_settings.h"
#include "shell/dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;

namespace qb {

class PictureBox;
class RatingSlider;
class TabStrip;
class ThreeStateBox;

// Positions and sizes in twips, 15 to a logical pixel.
QRect twips(int left, int top, int width, int height);

// frmMain: the editor's one window. It decodes nothing itself: its widgets show an
// PlayerSheet that the core fills from a record, and saving hands the state back.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kMajor = 2;
    static constexpr int kMinor = 1;
    static QString notice();

    MainWindow(AppSettings& settings, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The open command after its dialog: title, status label, last file, LoadRoster.
    void openRoster(const QString& path);
    // Opening a file named at start: the game folder is insisted on first, as the
    // open command does.
    void openRosterAfterGameCheck(const QString& path);
    // The open command: insists on the game folder first, then asks for a file.
    void cmdOpen_Click();
    void mnuLastFile_Click();
    void mnuSetPath_Click();
    void cmdSave_Click();
    void cmdExport_Click();
    void cmdImport_Click();
    void cmdGotoEmpty_Click();
    void LoadRoster();
    void cmdCommentary_Click();
    // A request of the companion program: "index|path".
    void Form_LinkExecute(const QString& command);

    const QString& openedFileName() const { return strOpenedFileName; }
    const QString& tempPath() const { return strTempPath; }
    const PlayerEditor& editor() const { return editor_; }
    int webColour() const { return bytWebColour; }
    void tmrAbout_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct StatisticsEditor {
        Figure figure;
        QLineEdit* MainWindow::*edit;
        const char* name;
    };
    static const std::array<StatisticsEditor, 15>& statisticsEditors();

    // Building the window (main_window_panels.cpp).
    void buildMenus();
    void buildTopRow(QWidget* central);
    void buildPersonal(QWidget* panel);
    void buildBasic(QWidget* panel);
    void buildRatings(QWidget* panel, int tab);
    void buildBatting2(QWidget* panel);
    void buildSkills(QWidget* panel);
    void buildStatistics(QWidget* panel);
    void buildAbout(QWidget* panel);
    void buildMore(QWidget* panel);
    void fillChoiceLists();

    // Between the widgets and the editor state (main_window_binding.cpp).
    QCheckBox* flagCheckBox(const FlagBit& flag) const;
    RatingSlider* ratingWidget(RatingTab tab, int index) const;
    void showSheet();
    void showStatisticsBoxes();
    void readSheet();
    void refreshRates();

    // Start-up and commands (main_window.cpp).
    void Form_Load();
    void TabStrip1_Click(int tab);
    void cboPlayerName_Click();
    void cboPlayerName_KeyUp(int key);
    void cboStatisticsMode_Click(int format);
    void cboFace_Click();
    void cboBat_Click();
    void txtPlayerName_Change(const QString& text);
    void showLoadedPlayer(int slot);
    // Loads the player with the fields its editors cannot show reset, as unsaved edits.
    void showRepairedPlayer(int slot);
    SafetyOptions safety(bool force) const;
    void reportRecoveredSaves(const QString& file);
    void LoadCommentaryNames();
    void txtCommentary_Change(const QString& text);
    void openRequestedRoster(const QString& path, int entry);
    void selectRequestedPlayer(int index);
    bool requireGameFolder();
    QString archivePath() const;
    void deleteTemporaryFiles();
    void message(QMessageBox::Icon icon, const QString& text);

    AppSettings& settings_;
    Dialogs& dialogs_;
    PlayerEditor editor_;
    // The open file's slot table, read once per open, and its two lists viewing into it.
    SlotTable table_;
    RosterIndex index_;
    QString strOpenedFileName;
    QString strGamePath;
    QString strTempPath;
    std::unique_ptr<QTemporaryDir> tempDir_;
    int bytWebColour = 0;
    class LinkServer* linkServer_ = nullptr;
    bool showingState_ = false;
    // The player list's entry when its list last opened (-1: not open).
    int entryAtPopup_ = -1;

public:
    // The controls, under the names the rest of the program and the tests use.
    QLabel* lblName = nullptr;
    QComboBox* cboPlayerName = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdOpen = nullptr;
    TabStrip* TabStrip1 = nullptr;
    std::array<QWidget*, 11> picPicture{}; // 1-10
    QTimer* tmrAbout = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuLastFile = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuSetPath = nullptr;
    QAction* mnuCricketPath = nullptr;

    QLineEdit* txtName = nullptr;
    QLineEdit* txtCommentary = nullptr;
    QPushButton* cmdCommentary = nullptr;
    QComboBox* cboCommentary = nullptr;
    QComboBox* cboNation = nullptr;
    QComboBox* cboBodyType = nullptr;
    QComboBox* cboHairColour = nullptr;
    QComboBox* cboHairStyle = nullptr;
    QComboBox* cboFacialHair = nullptr;
    QComboBox* cboFace = nullptr;
    QComboBox* cboBat = nullptr;
    PictureBox* picFace = nullptr;
    PictureBox* picBat = nullptr;
    QLabel* lblStatus = nullptr;

    QComboBox* cboBattingPosition = nullptr;
    QComboBox* cboBattingStyle = nullptr;
    QComboBox* cboBattingHand = nullptr;
    QComboBox* cboBowlingStyle = nullptr;
    QComboBox* cboBowlingMentality = nullptr;
    QComboBox* cboFieldingPosition1 = nullptr;
    QComboBox* cboFieldingPosition2 = nullptr;
    QComboBox* cboFieldingHand = nullptr;

    std::array<RatingSlider*, 13> sldBatting1{};
    std::array<RatingSlider*, 14> sldBowling{};
    std::array<RatingSlider*, 9> sldFielding{};
    std::array<QCheckBox*, 18> chkSkills{};   // 1-17; 17 is a ThreeStateBox
    std::array<QCheckBox*, 22> chkBatting2{}; // 1-21

    QComboBox* cboStatisticsMode = nullptr;
    QLineEdit* txtInnings = nullptr;
    QLineEdit* txtNotOuts = nullptr;
    QLineEdit* txtBattingRuns = nullptr;
    QLineEdit* txtHigestScore = nullptr;
    QLineEdit* txtBattingAverage = nullptr;
    QLineEdit* txt100s = nullptr;
    QLineEdit* txt50s = nullptr;
    QLineEdit* txtOvers = nullptr;
    QLineEdit* txtBowlingRuns = nullptr;
    QLineEdit* txtWickets = nullptr;
    QLineEdit* txtBowlingAverage = nullptr;
    QLineEdit* txtBowlingSR = nullptr;
    QLineEdit* txtBowlingER = nullptr;
    QLineEdit* txtBestBowling = nullptr;
    QLineEdit* txtBestBowlingWickets = nullptr;

    QLabel* lblAbout = nullptr;
    QLabel* imgCragmoor = nullptr;
    QLabel* lblWeb = nullptr;

    QListWidget* lsvPlayerName = nullptr;
    QLineEdit* txtPlayerName = nullptr;
    QPushButton* cmdGotoEmpty = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdExport = nullptr;
};

} // namespace qb
