// The open file: opening it, listing its players, showing and saving one, importing
// and exporting a slot.
#include "codecs/codec_errors.h"
#include "player/shown_player.h"
#include "roster/codepage.h"
#include "roster/errors.h"
#include "saving/recovery.h"
#include "saving/transfer.h"
#include "shell/compare/compare_window.h"
#include "shell/edit_command.h"
#include "shell/grid/roster_grid_window.h"
#include "shell/main_window.h"
#include "shell/pages/personal_page.h"
#include "shell/pages/slot_list_page.h"
#include "shell/pages/statistics_page.h"
#include "shell/pages/widgets.h"
#include "shell/tab_strip.h"
#include "shell/unshowable_player.h"
#include "system/data_folder.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUndoStack>
#include <QUndoView>
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace qb {
namespace {

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

const RosterFile& MainWindow::openedRoster() const {
    if (!document_) {
        throw QuillbayError("No roster is open");
    }
    return document_->file();
}

QString MainWindow::openedFileName() const {
    return document_ ? qText(document_->path()) : QString();
}

const RosterIndex& MainWindow::rosterIndex() const {
    static const RosterIndex none;
    return document_ ? document_->index() : none;
}

void MainWindow::chooseAndOpenRoster() {
    if (!requireGameFolder() || !settleUnsaved()) {
        return;
    }
    const QString path = dialogs_.openFile(
        this, QStringLiteral("Select the file"), settings_.gamePath(),
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
    personal_->setStatus({});
    reportRecoveredSaves(path);
    const bool opened = attempt([&] {
        auto document = std::make_unique<RosterDocument>(path.toStdString());
        const RosterFile& roster = document->file();
        if (roster.kindWarning()) {
            message(QMessageBox::Warning, qText(*roster.kindWarning()));
        }
        personal_->setStatus(qText(decodeCp1252(roster.readHeader())));
        settings_.setLastFile(path);
        adoptRoster(std::move(document));
    });
    if (!opened) {
        // Nothing of the file that was open before is shown under the new title.
        adoptRoster(nullptr);
    }
}

void MainWindow::openLastFile() {
    const QString path = settings_.lastFile();
    if (path.isEmpty() || !QFileInfo::exists(path) || !settleUnsaved()) {
        return;
    }
    attempt([&] { adoptRoster(std::make_unique<RosterDocument>(path.toStdString())); });
}

void MainWindow::adoptRoster(std::unique_ptr<RosterDocument> document) {
    delete grid_; // it shows the document let go of here
    shownSlot_ = -1;
    delete compare_.data(); // it compares the roster that was open
    document_ = std::move(document);
    history_ = std::make_unique<QUndoStack>();
    historyIndex_ = 0;
    connect(history_.get(), &QUndoStack::indexChanged, this, &MainWindow::historyMoved);
    if (document_) {
        listening_ = document_->onChange([this](const DocumentChange&) { showUnsaved(); });
    }
    connect(history_.get(), &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
    connect(history_.get(), &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
    connect(history_.get(), &QUndoStack::undoTextChanged, undoAction_,
            [this](const QString& text) { undoAction_->setText(QStringLiteral("&Undo ") + text); });
    connect(history_.get(), &QUndoStack::redoTextChanged, redoAction_,
            [this](const QString& text) { redoAction_->setText(QStringLiteral("&Redo ") + text); });
    undoAction_->setEnabled(false);
    redoAction_->setEnabled(false);
    if (historyView_ != nullptr) {
        historyView_->setStack(history_.get());
    }
    listPlayers();
}

void MainWindow::reloadRoster() {
    if (document_) {
        const WaitCursor wait;
        QApplication::processEvents();
        document_->reload();
    }
    listPlayers();
}

void MainWindow::listPlayers() {
    tabStrip_->setEnabled(document_ != nullptr);
    const RosterIndex& index = rosterIndex();
    // Each name is converted once, for both lists.
    QStringList names;
    names.reserve(static_cast<qsizetype>(index.slotEntries.size()));
    for (const SlotEntry& entry : index.slotEntries) {
        names.push_back(qText(entry.name()));
    }
    showingState_ = true;
    playerList_->clear();
    playerList_->addItems(names.first(static_cast<qsizetype>(index.playerCount)));
    playerList_->setCurrentIndex(-1);
    showingState_ = false;
    more_->showSlots(names);
    personal_->setPlayerNote({});
    markedSlots_.clear();
    showUnsaved();
    // The editors never keep a player of another file: until a player of this one is
    // shown they show nothing and saving is off.
    shownSlot_ = -1;
    editor_.clear();
    showSheet();
    if (index.playerCount > 0) {
        playerList_->setCurrentIndex(0);
    }
    saveButton_->setEnabled(shownSlot_ >= 0);
}

void MainWindow::showChosenPlayer() {
    const int slot = playerList_->currentIndex();
    if (slot >= 0) {
        showPlayer(slot);
    }
}

void MainWindow::showPlayer(int slot) {
    const WaitCursor wait;
    commitEditors();
    // A repair's note belongs to the player it repaired.
    personal_->setPlayerNote({});
    std::optional<QString> unshowable;
    auto inFile = RosterDocument::SlotInFile::AsLoaded;
    const bool shown = attempt(
        [&] {
            // The player is shown as the file holds it now, not as it was at opening.
            inFile = document_->readSlotAgain(slot);
            if (inFile == RosterDocument::SlotInFile::ReadAgain) {
                showSlotName(slot);
            }
            try {
                document_->player(slot);
                shownSlot_ = slot;
            } catch (const ShowError& error) {
                unshowable = unshowableText(slot, error);
                // The editors show what the failed load reached and nothing after it, as
                // after opening a file (never a field of the player shown before); a save
                // is refused.
                shownSlot_ = -1;
                editor_.clear();
                try {
                    editor_.load(openedRoster(), slot);
                } catch (const ShowError&) {
                }
            }
        },
        {.first = [this] {
            // The editors keep what they show, and a save is refused.
            shownSlot_ = -1;
            editor_.clear();
            readSheet();
        }});
    if (shown) {
        showSheet();
    }
    if (inFile == RosterDocument::SlotInFile::ChangedUnderEdits) {
        message(QMessageBox::Warning,
                QStringLiteral("Slot %1 (%2) was changed by another program since it was "
                               "loaded. Your unsaved changes to it are kept; saving them "
                               "asks before it overwrites the other program's change.")
                    .arg(slot)
                    .arg(playerList_->itemText(slot)));
    }
    if (unshowable &&
        dialogs_.question(this,
                          *unshowable + QStringLiteral("\n\nReset the fields the editor cannot "
                                                       "show and load the player?"),
                          QStringLiteral("Quillbay"))) {
        showRepairedPlayer(slot);
    }
    saveButton_->setEnabled(shownSlot_ >= 0);
}

QString MainWindow::unshowableText(int slot, const ShowError& error) const {
    const std::vector<FieldFailure> failures =
        showEveryField(document_->table().copyRecord(slot)).failures;
    return unshowablePlayerText(
        failures.empty() ? std::vector<FieldFailure>{{error.field(), error.description(), {}}}
                         : failures,
        document_->path(), slot,
        qText(rosterIndex().slotEntries[static_cast<std::size_t>(slot)].name()));
}

void MainWindow::showSlotName(int slot) {
    const QString name = qText(rosterIndex().slotEntries[static_cast<std::size_t>(slot)].name());
    if (slot < playerList_->count()) {
        showingState_ = true;
        playerList_->setItemText(slot, name);
        showingState_ = false;
    }
    more_->showSlot(slot, name);
}

void MainWindow::reloadPlayer(int slot) {
    commitEditors();
    if (document_ && document_->hasPending(slot) &&
        !dialogs_.question(
            this,
            QStringLiteral("Discard the unsaved changes to %1?").arg(playerList_->itemText(slot)),
            QStringLiteral("Quillbay"))) {
        return;
    }
    reloadPlayerDroppingEdits(slot);
}

void MainWindow::reloadPlayerDroppingEdits(int slot) {
    shownSlot_ = -1;
    attempt([&] {
        document_->reload();
        document_->discard(slot);
    });
    showPlayer(slot);
}

void MainWindow::showRepairedPlayer(int slot) {
    attempt([&] {
        const FieldRepairs repairs = document_->repair(slot);
        shownSlot_ = slot;
        showRepairs(repairs);
    });
}

void MainWindow::showRepairs(const FieldRepairs& repairs) {
    showSheet();
    QStringList changes;
    for (const FieldRepair& repair : repairs) {
        changes << qText(repair.field + " " + repair.before + " -> " + repair.after);
    }
    personal_->setPlayerNote(QStringLiteral("Repaired, not saved: ") +
                             changes.join(QStringLiteral(", ")));
}

PlayerEditor& MainWindow::shownPlayer() {
    return shownSlot_ >= 0 ? document_->player(shownSlot_) : editor_;
}

void MainWindow::commitEditors() {
    if (showingState_) {
        return;
    }
    if (shownSlot_ < 0) {
        readSheet();
        return;
    }
    // Every change is read before the first is applied: applying shows the player again.
    std::vector<Page::FieldChange> changes;
    for (const Page* page : pages_) {
        std::ranges::move(page->changes(shownPlayer().sheet()), std::back_inserter(changes));
    }
    for (Page::FieldChange& change : changes) {
        Edit edit = document_->makeCellEdit(shownSlot_, *change.field, std::move(change.value));
        history_->push(EditsCommand::editorStep(*document_, std::move(edit)));
    }
}

void MainWindow::historyMoved(int index) {
    const int from = std::exchange(historyIndex_, index);
    if (history_->count() == 0) {
        return; // a history let go of: its steps are gone, nothing to show
    }
    const auto editorEdit = [this](int at) -> const Edit* {
        const auto* step = static_cast<const EditsCommand*>(history_->command(at));
        return step->id() == EditsCommand::kEditorStep ? &step->edits().front() : nullptr;
    };
    // The steps gone over, the last done first: pushed or redone (a step merged into the
    // last keeps the index), or undone.
    const Edit* shown = nullptr;
    if (index >= from) {
        for (int at = index - 1; shown == nullptr && at >= 0 && at >= std::min(from, index - 1);
             --at) {
            shown = editorEdit(at);
        }
    } else {
        for (int at = index; shown == nullptr && at < from; ++at) {
            shown = editorEdit(at);
        }
    }
    if (shown == nullptr) {
        if (shownSlot_ >= 0) {
            showSheet();
        }
        return;
    }
    if (shown->slot != shownSlot_) {
        shownSlot_ = shown->slot;
        showingState_ = true;
        playerList_->setCurrentIndex(shown->slot < playerList_->count() ? shown->slot : -1);
        showingState_ = false;
        saveButton_->setEnabled(true);
    }
    showSheet();
    const auto page = std::ranges::find_if(
        pages_, [shown](const Page* held) { return held->holds(shown->field->key); });
    if (page != pages_.end() && tabStrip_->selectedTab() != (*page)->tab()) {
        tabStrip_->selectTab((*page)->tab());
    }
}

void MainWindow::showUnsaved() {
    const std::vector<int> pending = document_ ? document_->pendingSlots() : std::vector<int>{};
    QString title = windowTitle();
    if (title.endsWith(QStringLiteral(" *"))) {
        title.chop(2);
    }
    setWindowTitle(pending.empty() ? title : title + QStringLiteral(" *"));
    unsavedLabel_->setText(pending.empty() ? QString()
                           : pending.size() == 1
                               ? QStringLiteral("1 unsaved player")
                               : QStringLiteral("%1 unsaved players").arg(pending.size()));
    // Only the entries whose state changed are marked again.
    const std::set<int> unsaved(pending.begin(), pending.end());
    const QIcon mark = style()->standardIcon(QStyle::SP_FileIcon);
    const auto setMark = [this](int slot, const QVariant& shown) {
        if (slot < playerList_->count()) {
            playerList_->setItemData(slot, shown, Qt::DecorationRole);
        }
    };
    for (const int slot : markedSlots_) {
        if (!unsaved.contains(slot)) {
            setMark(slot, {});
        }
    }
    for (const int slot : unsaved) {
        if (!markedSlots_.contains(slot)) {
            setMark(slot, mark);
        }
    }
    markedSlots_ = unsaved;
    showChangedFields();
}

void MainWindow::showChangedFields() {
    const std::set<std::string> changed =
        shownSlot_ >= 0 ? document_->changedKeys(shownSlot_) : std::set<std::string>{};
    const PlayerSheet& sheet = shownPlayer().sheet();
    for (Page* page : pages_) {
        markUnsaved(tabStrip_->tabButton(page->tab()), page->markChanged(changed, sheet));
    }
}

bool MainWindow::settleUnsaved() {
    if (!document_) {
        return true;
    }
    if (compare_ && !compare_->settleUnsaved()) {
        return false;
    }
    commitEditors();
    const std::size_t count = document_->pendingSlots().size();
    return qb::settleUnsaved(dialogs_, this, count,
                             count == 1 ? QStringLiteral("Save changes to 1 player?")
                                        : QStringLiteral("Save changes to %1 players?").arg(count),
                             [this] {
                                 saveAll();
                                 return document_ && document_->pendingSlots().empty();
                             });
}

void MainWindow::undoOrRedo(bool redo) {
    if (!history_) {
        return;
    }
    // A change still in an editor is a step of its own, undone first.
    commitEditors();
    attempt([&] { redo ? history_->redo() : history_->undo(); });
}

void MainWindow::showSheet() {
    showingState_ = true;
    const PlayerSheet& sheet = shownPlayer().sheet();
    for (Page* page : pages_) {
        page->showSheet(sheet);
    }
    showChangedFields();
    showingState_ = false;
}

void MainWindow::readSheet() {
    for (const Page* page : pages_) {
        page->readSheet(editor_.sheet());
    }
}

void MainWindow::showStatisticsFormat(int format) {
    const int leaving = shownPlayer().sheet().statisticsFormat;
    if (format == leaving) {
        return;
    }
    commitEditors();
    // A figure that cannot be stored keeps the page on its format.
    if (!attempt([&] { shownPlayer().switchStatisticsFormat(format); },
                 {.first = [&] { statistics_->setFormat(leaving); }})) {
        return;
    }
    statistics_->showSheet(shownPlayer().sheet());
    statistics_->focusFirstFigure();
}

SafetyOptions MainWindow::safety(bool force) const {
    SafetyOptions options;
    options.backups = settings_.backups();
    options.force = force;
    return options;
}

void MainWindow::saveShownPlayer() {
    int remembered = -1;
    bool force = false;
    while (true) {
        std::optional<std::string> conflict;
        std::optional<std::string> figuresOutOfRange;
        const bool stored = attempt(
            [&] {
                const WaitCursor wait;
                personal_->trimName();
                remembered = playerList_->currentIndex();
                commitEditors();
                try {
                    if (shownSlot_ >= 0) {
                        document_->save(shownSlot_, safety(force));
                        history_->setClean();
                    } else {
                        editor_.save(openedRoster(), safety(force));
                    }
                } catch (const SlotConflict& slotConflict) {
                    conflict = slotConflict.description();
                } catch (const FigureOutOfRange& refused) {
                    figuresOutOfRange = refused.description();
                }
            },
            {.wording = saveFailureReport});
        if (!stored) {
            return;
        }
        if (figuresOutOfRange) {
            // As a load offers to reset what cannot be shown, a save offers to bring into
            // range what the file holds but cannot be stored back.
            if (!dialogs_.question(this,
                                   qText(*figuresOutOfRange) +
                                       QStringLiteral("\n\nSet the player's figures that "
                                                      "cannot be saved to the nearest values "
                                                      "that can, and save?"),
                                   QStringLiteral("Quillbay"))) {
                return;
            }
            attempt([&] { showRepairs(document_->repairFigures(shownSlot_)); });
            continue;
        }
        if (!conflict) {
            break;
        }
        const auto answer = dialogs_.conflict(
            this,
            qText(*conflict) +
                QStringLiteral(".\n\nOverwrite it with what the editor shows, reload it "
                               "from the file, or cancel?"),
            nullptr);
        if (answer != Dialogs::Conflict::Overwrite) {
            // Reload was the answer about these edits: they are dropped without asking again.
            if (answer == Dialogs::Conflict::Reload && remembered >= 0) {
                reloadPlayerDroppingEdits(remembered);
            }
            return;
        }
        force = true;
    }
    reportSaved(QStringLiteral("Successfully Saved"), [&] {
        reloadRoster();
        if (remembered > 0 && remembered < playerList_->count()) {
            playerList_->setCurrentIndex(remembered);
        }
    });
}

std::optional<MainWindow::ChangedPlayerAnswers>
MainWindow::askAboutChangedPlayers(const std::vector<int>& changed) {
    ChangedPlayerAnswers answers;
    std::optional<Dialogs::Conflict> forAll;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const int slot = changed[i];
        bool applyToAll = false;
        const std::size_t after = changed.size() - i - 1;
        const Dialogs::Conflict answer =
            forAll
                ? *forAll
                : dialogs_.conflict(
                      this,
                      QStringLiteral("Slot %1 (%2) of %3 was changed by another program since "
                                     "it was loaded.\n\nOverwrite it with what the editor "
                                     "shows, reload it from the file (your changes to it are "
                                     "dropped), or cancel Save All (nothing is saved)?")
                              .arg(slot)
                              .arg(qText(
                                  rosterIndex().slotEntries[static_cast<std::size_t>(slot)].name()))
                              .arg(openedFileName()) +
                          (after == 0 ? QString()
                                      : QStringLiteral("\n\n%1 more changed %2 will be "
                                                       "asked about after this one.")
                                            .arg(after)
                                            .arg(after == 1 ? QStringLiteral("player")
                                                            : QStringLiteral("players"))),
                      after > 0 ? &applyToAll : nullptr);
        if (answer == Dialogs::Conflict::Cancel) {
            return std::nullopt;
        }
        if (applyToAll) {
            forAll = answer;
        }
        if (answer == Dialogs::Conflict::Overwrite) {
            answers.overwrite.insert(slot);
        } else {
            answers.reload.push_back(slot);
        }
    }
    return answers;
}

void MainWindow::saveAll() {
    if (!document_) {
        return;
    }
    commitEditors();
    std::size_t written = 0;
    QStringList reloaded;
    std::vector<int> shownAgain; // the slots saved or read from the file again
    // Asked again should another program change a player between the answers and the
    // write (the batch is refused whole then, nothing written).
    for (bool changedMeanwhile = true; changedMeanwhile;) {
        changedMeanwhile = false;
        std::vector<int> changed;
        if (!attempt([&] { changed = document_->changedInFile(document_->pendingSlots()); },
                     {.wording = saveFailureReport})) {
            return;
        }
        const std::optional<ChangedPlayerAnswers> answers = askAboutChangedPlayers(changed);
        if (!answers) {
            return; // every edit is kept, nothing written
        }
        const bool stored = attempt(
            [&] {
                const WaitCursor wait;
                for (const int slot : answers->reload) {
                    document_->discard(slot);
                    document_->readSlotAgain(slot);
                    shownAgain.push_back(slot);
                    reloaded << QStringLiteral("%1 (slot %2)")
                                    .arg(qText(rosterIndex()
                                                   .slotEntries[static_cast<std::size_t>(slot)]
                                                   .name()))
                                    .arg(slot);
                }
                const std::vector<int> edited = document_->pendingSlots();
                try {
                    written =
                        document_->saveSlots(edited, safety(false), answers->overwrite).size();
                    shownAgain.insert(shownAgain.end(), edited.begin(), edited.end());
                } catch (const SlotConflict&) {
                    if (document_->changedInFile(edited).empty()) {
                        throw;
                    }
                    changedMeanwhile = true;
                    return;
                }
                history_->setClean();
            },
            {.wording = saveFailureReport});
        if (!stored) {
            return;
        }
    }
    QString report = written == 1 ? QStringLiteral("Saved 1 player")
                                  : QStringLiteral("Saved %1 players").arg(written);
    if (!reloaded.isEmpty()) {
        report += QStringLiteral("\nReloaded from the file, their changes dropped: ") +
                  reloaded.join(QStringLiteral(", "));
    }
    reportSaved(report, [&] { showSavedSlots(shownAgain); });
}

void MainWindow::showSavedSlots(const std::vector<int>& saved) {
    // Building both lists again took most of a Save All of 1,600 players; only a
    // change to the run of listed players needs it.
    if (std::cmp_not_equal(rosterIndex().playerCount, playerList_->count())) {
        const int entry = playerList_->currentIndex();
        listPlayers();
        if (entry > 0 && entry < playerList_->count()) {
            playerList_->setCurrentIndex(entry);
        }
        return;
    }
    for (const int slot : saved) {
        showSlotName(slot);
    }
    // What the editors show is saved or dropped: none of it is an edit to commit, even
    // where the saved record shows a value normalised by the save.
    const int shown = std::exchange(shownSlot_, -1);
    if (shown >= 0) {
        showPlayer(shown);
    }
}

void MainWindow::reportSaved(const QString& report, const std::function<void()>& showSaved) {
    // The pages show the player as saved before any dialog opens: a dialog takes the
    // focus from the box being edited, and its end of editing compares what the box
    // shows with the player on screen.
    const std::vector<std::string> notices = document_->notices();
    attempt(showSaved);
    message(QMessageBox::Information, report);
    for (const std::string& notice : notices) {
        message(QMessageBox::Warning, qText(notice));
    }
}

void MainWindow::exportPlayer() {
    const int slot = more_->selectedSlot();
    if (slot < 0) {
        return;
    }
    const QString filter = QStringLiteral("Cricket 2004 player data(*.data) (*.data)");
    const QString chosen = dialogs_.saveFile(this, QStringLiteral("Select the file to export"),
                                             more_->slotName(slot), filter);
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
    attempt([&] {
        exportSlot(openedRoster(), slot, target.path);
        message(QMessageBox::Information, qText(exportSuccessText(target.path)));
    });
}

void MainWindow::importPlayer() {
    const int slot = more_->selectedSlot();
    if (slot < 0) {
        return;
    }
    const QString target = more_->slotName(slot);
    const QString chosen =
        dialogs_.openFile(this, QStringLiteral("Select the file to import"), target,
                          QStringLiteral("Cricket 2004 player data(*.data) (*.data)"));
    if (chosen.isEmpty()) {
        return;
    }
    const std::string path = chosen.trimmed().toStdString();
    attempt([&] {
        readPlayerFile(path);
        if (!dialogs_.question(this, qText(importConfirmationText(target.toStdString(), path)),
                               QStringLiteral("Confirmation"))) {
            return;
        }
        std::vector<std::string> notices;
        importSlot(openedRoster(), slot, path, safety(false), &notices);
        // The player imported replaces the slot's unsaved edits; it is on screen before
        // the report opens.
        document_->discard(slot);
        reloadRoster();
        message(QMessageBox::Information, qText(importSuccessText(target.toStdString())));
        for (const std::string& notice : notices) {
            message(QMessageBox::Warning, qText(notice));
        }
    });
}

} // namespace qb
