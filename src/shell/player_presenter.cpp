#include "shell/player_presenter.h"

#include "codecs/codec_errors.h"
#include "codecs/identity.h"
#include "codecs/statistics.h"
#include "player/shown_player.h"
#include "shell/edit_command.h"
#include "shell/pages/personal_page.h"
#include "shell/pages/slot_list_page.h"
#include "shell/pages/statistics_page.h"
#include "shell/pages/widgets.h"
#include "shell/player_name_box.h"
#include "shell/tab_strip.h"
#include "shell/unshowable_player.h"
#include "shell/wait_cursor.h"
#include "system/errors.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace qb {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

PlayerPresenter::PlayerPresenter(const std::unique_ptr<RosterDocument>& document,
                                 const std::unique_ptr<QUndoStack>& history, Dialogs& dialogs,
                                 QWidget* window, const Views& views)
    : QObject(window), document_(document), history_(history), dialogs_(dialogs), window_(window),
      views_(views) {
    connect(views_.names, &PlayerNameBox::chosen, this, [this](int slot) { showPlayer(slot); });
    connect(views_.names, &PlayerNameBox::typedTo, this,
            [this](int slot) { showPlayer(slot, Asking::Never); });
    connect(views_.names, &PlayerNameBox::reloadRequested, this, &PlayerPresenter::reloadPlayer);
    connect(views_.statistics, &StatisticsPage::formatChosen, this,
            &PlayerPresenter::showStatisticsFormat);
    for (Page* page : views_.pages) {
        connect(page, &Page::edited, this, &PlayerPresenter::commitEditors);
    }
}

bool PlayerPresenter::attempt(const std::function<void()>& step, const OnError& onError,
                              Asking asking) {
    if (asking == Asking::Allowed) {
        return qb::attempt(dialogs_, window_, step, onError);
    }
    return attemptReporting([this](const QString& text) { noteInStatusLine(text); }, step, onError);
}

void PlayerPresenter::noteInStatusLine(const QString& text) {
    if (auto* main = qobject_cast<QMainWindow*>(window_)) {
        main->statusBar()->showMessage(QString(text).replace(u'\n', u' '));
    }
}

const RosterFile& PlayerPresenter::openedRoster() const {
    if (!document_) {
        throw QuillbayError("No roster is open");
    }
    return document_->file();
}

const RosterIndex& PlayerPresenter::rosterIndex() const {
    static const RosterIndex none;
    return document_ ? document_->index() : none;
}

QString PlayerPresenter::openedFileName() const {
    return document_ ? qText(document_->path()) : QString();
}

void PlayerPresenter::follow() {
    historyIndex_ = 0;
    connect(history_.get(), &QUndoStack::indexChanged, this, &PlayerPresenter::historyMoved);
    if (document_) {
        listening_ = document_->onChange([this](const DocumentChange& change) {
            // A change of the whole roster (read again, many players at once) may have
            // changed the player on screen: the editors show it as the document now does,
            // so they never hold a value that reads as an edit.
            if (change.slot < 0 && shownSlot_ >= 0 && !showingState_) {
                showSheet();
            }
            // A roster read again (by a tool such as Backups) may list other names.
            if (change.slot < 0) {
                showChangedSlotNames();
            }
            showUnsaved();
        });
    }
}

void PlayerPresenter::reloadRoster() {
    if (document_) {
        const WaitCursor wait;
        QApplication::processEvents();
        document_->reload();
    }
    listPlayers();
}

void PlayerPresenter::listPlayers() {
    views_.tabs->setEnabled(document_ != nullptr);
    const RosterIndex& index = rosterIndex();
    // Each name is converted once, for both lists.
    QStringList names;
    names.reserve(static_cast<qsizetype>(index.slotEntries.size()));
    for (const SlotEntry& entry : index.slotEntries) {
        names.push_back(qText(entry.name()));
    }
    showingState_ = true;
    views_.names->showNames(names, static_cast<qsizetype>(index.playerCount));
    showingState_ = false;
    views_.slotList->showSlots(names);
    views_.personal->setPlayerNote({});
    showUnsaved();
    // The editors never keep a player of another file: until a player of this one is
    // shown they show nothing and saving is off.
    shownSlot_ = -1;
    clearUnshown();
    showSheet();
    if (index.playerCount > 0) {
        views_.names->select(0);
    }
    views_.saveButton->setEnabled(shownSlot_ >= 0);
}

void PlayerPresenter::showPlayer(int slot, Asking asking) {
    const WaitCursor wait;
    commitEditors();
    // A repair's note belongs to the player it repaired.
    views_.personal->setPlayerNote({});
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
                clearUnshown();
                unshown_.record = document_->table().copyRecord(slot);
                unshown_.slot = slot;
                try {
                    showRecord(unshown_.record, unshown_.sheet, kCommentaryNameCount);
                } catch (const ShowError&) {
                }
            }
        },
        {.first =
             [this] {
                 // The editors keep what they show, and a save is refused.
                 shownSlot_ = -1;
                 clearUnshown();
                 readSheet();
             }},
        asking);
    if (shown) {
        showSheet();
    }
    if (inFile == RosterDocument::SlotInFile::ChangedUnderEdits) {
        const QString changed =
            QStringLiteral("Slot %1 (%2) was changed by another program since it was "
                           "loaded. Your unsaved changes to it are kept; saving them "
                           "asks before it overwrites the other program's change.")
                .arg(slot)
                .arg(views_.names->name(slot));
        if (asking == Asking::Allowed) {
            dialogs_.message(window_, QMessageBox::Warning, changed);
        } else {
            noteInStatusLine(changed);
        }
    }
    if (unshowable && asking == Asking::Never) {
        // Typing only shows what could be read; choosing the player from the list asks.
        views_.personal->setPlayerNote(*unshowable +
                                       QStringLiteral("\n\nChoose the player in the Name list to "
                                                      "reset the fields the editor cannot show."));
        noteInStatusLine(QStringLiteral("Slot %1 (%2) cannot be shown whole: choose it in the "
                                        "Name list to reset the fields the editor cannot show.")
                             .arg(slot)
                             .arg(views_.names->name(slot)));
    } else if (unshowable &&
               dialogs_.question(window_,
                                 *unshowable +
                                     QStringLiteral("\n\nReset the fields the editor cannot "
                                                    "show and load the player?"),
                                 QStringLiteral("Quillbay"))) {
        showRepairedPlayer(slot);
    }
    views_.saveButton->setEnabled(shownSlot_ >= 0);
}

void PlayerPresenter::showAgain() {
    const int shown = std::exchange(shownSlot_, -1);
    if (shown >= 0) {
        showPlayer(shown);
    }
}

QString PlayerPresenter::unshowableText(int slot, const ShowError& error) const {
    const std::vector<FieldFailure> failures =
        showEveryField(document_->table().copyRecord(slot)).failures;
    return unshowablePlayerText(
        failures.empty() ? std::vector<FieldFailure>{{error.field(), error.description(), {}}}
                         : failures,
        document_->path(), slot,
        qText(rosterIndex().slotEntries[static_cast<std::size_t>(slot)].name()));
}

void PlayerPresenter::showSlotName(int slot) {
    const QString name = qText(rosterIndex().slotEntries[static_cast<std::size_t>(slot)].name());
    showingState_ = true;
    views_.names->showName(slot, name);
    showingState_ = false;
    views_.slotList->showSlot(slot, name);
}

void PlayerPresenter::showChangedSlotNames() {
    const auto& entries = rosterIndex().slotEntries;
    for (int slot = 0; slot < views_.names->count() && slot < std::ssize(entries); ++slot) {
        if (views_.names->name(slot) != qText(entries[static_cast<std::size_t>(slot)].name())) {
            showSlotName(slot);
        }
    }
}

void PlayerPresenter::reloadPlayer(int slot) {
    commitEditors();
    if (document_ && document_->hasPending(slot) &&
        !dialogs_.question(
            window_,
            QStringLiteral("Discard the unsaved changes to %1?").arg(views_.names->name(slot)),
            QStringLiteral("Quillbay"))) {
        return;
    }
    reloadPlayerDroppingEdits(slot);
}

void PlayerPresenter::reloadPlayerDroppingEdits(int slot) {
    shownSlot_ = -1;
    attempt([&] {
        document_->reload();
        document_->discard(slot);
    });
    showPlayer(slot);
}

void PlayerPresenter::showRepairedPlayer(int slot) {
    attempt([&] {
        const FieldRepairs repairs = document_->repair(slot);
        shownSlot_ = slot;
        showRepairs(repairs);
    });
}

void PlayerPresenter::showRepairs(const FieldRepairs& repairs) {
    showSheet();
    QStringList changes;
    for (const FieldRepair& repair : repairs) {
        changes << qText(repair.field + " " + repair.before + " -> " + repair.after);
    }
    views_.personal->setPlayerNote(QStringLiteral("Repaired, not saved: ") +
                                   changes.join(QStringLiteral(", ")));
}

const PlayerSheet& PlayerPresenter::shownSheet() const {
    return shownSlot_ >= 0 ? document_->player(shownSlot_).sheet() : unshown_.sheet;
}

void PlayerPresenter::requireShownPlayer() const {
    openedRoster(); // without a roster, that is what is said
    if (shownSlot_ < 0) {
        throw noPlayerToSave(unshown_.slot);
    }
}

void PlayerPresenter::commitEditors() {
    if (showingState_) {
        return;
    }
    if (shownSlot_ < 0) {
        readSheet();
        return;
    }
    // Every change is read before the first is applied: applying shows the player again.
    std::vector<Page::FieldChange> changes;
    for (const Page* page : views_.pages) {
        std::ranges::move(page->changes(shownSheet()), std::back_inserter(changes));
    }
    for (Page::FieldChange& change : changes) {
        Edit edit = document_->makeCellEdit(shownSlot_, *change.field, std::move(change.value));
        history_->push(EditsCommand::editorStep(*document_, std::move(edit)));
    }
}

void PlayerPresenter::historyMoved(int index) {
    const int from = std::exchange(historyIndex_, index);
    if (history_->count() == 0) {
        return; // a history let go of: its steps are gone, nothing to show
    }
    const auto editorEdit = [this](int at) -> const Edit* {
        // A step merged away (it left its value where it started) is no longer there.
        const auto* step = static_cast<const EditsCommand*>(history_->command(at));
        return step != nullptr && step->id() == EditsCommand::kEditorStep ? &step->edits().front()
                                                                          : nullptr;
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
        views_.names->selectQuietly(shown->slot);
        showingState_ = false;
        views_.saveButton->setEnabled(true);
    }
    showSheet();
    const auto page = std::ranges::find_if(
        views_.pages, [shown](const Page* held) { return held->holds(shown->field->key); });
    if (page != views_.pages.end() && views_.tabs->selectedTab() != (*page)->tab()) {
        views_.tabs->selectTab((*page)->tab());
    }
}

void PlayerPresenter::showUnsaved() {
    const std::vector<int> pending = document_ ? document_->pendingSlots() : std::vector<int>{};
    QString title = window_->windowTitle();
    if (title.endsWith(QStringLiteral(" *"))) {
        title.chop(2);
    }
    window_->setWindowTitle(pending.empty() ? title : title + QStringLiteral(" *"));
    views_.unsavedLabel->setText(pending.empty() ? QString()
                                 : pending.size() == 1
                                     ? QStringLiteral("1 unsaved player")
                                     : QStringLiteral("%1 unsaved players").arg(pending.size()));
    views_.names->markUnsaved(pending);
    showChangedFields();
}

void PlayerPresenter::showChangedFields() {
    const std::set<std::string> changed =
        shownSlot_ >= 0 ? document_->changedKeys(shownSlot_) : std::set<std::string>{};
    const PlayerSheet& sheet = shownSheet();
    for (Page* page : views_.pages) {
        markUnsaved(views_.tabs->tabButton(page->tab()), page->markChanged(changed, sheet));
    }
}

void PlayerPresenter::showSheet() {
    showingState_ = true;
    const PlayerSheet& sheet = shownSheet();
    for (Page* page : views_.pages) {
        page->showSheet(sheet);
    }
    showChangedFields();
    showingState_ = false;
}

void PlayerPresenter::readSheet() {
    for (const Page* page : views_.pages) {
        page->readSheet(unshown_.sheet);
    }
}

void PlayerPresenter::showStatisticsFormat(int format) {
    const int leaving = shownSheet().statisticsFormat;
    if (format == leaving) {
        return;
    }
    commitEditors();
    // A figure that cannot be stored keeps the page on its format.
    const auto switchFormat = [&] {
        if (shownSlot_ >= 0) {
            document_->player(shownSlot_).switchStatisticsFormat(format);
        } else {
            switchStatisticsFormat(unshown_.sheet, unshown_.record, format);
        }
    };
    if (!attempt(switchFormat, {.first = [&] { views_.statistics->setFormat(leaving); }})) {
        return;
    }
    views_.statistics->showSheet(shownSheet());
    // The marks follow the format shown: its own changed figures, not the last format's.
    showChangedFields();
    views_.statistics->focusFirstFigure();
}

} // namespace qb
