#include "shell/roster_saver.h"

#include "codecs/codec_errors.h"
#include "player/player_save.h"
#include "saving/recovery.h"
#include "shell/app_settings.h"
#include "shell/pages/personal_page.h"
#include "shell/player_name_box.h"
#include "shell/player_presenter.h"
#include "shell/wait_cursor.h"
#include "system/errors.h"

#include <QStringList>
#include <QUndoStack>
#include <utility>

namespace qb {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

SafetyOptions saveSafety(const AppSettings& settings, bool force) {
    SafetyOptions options;
    options.backups = settings.backups();
    options.force = force;
    return options;
}

RosterSaver::RosterSaver(const std::unique_ptr<RosterDocument>& document,
                         const std::unique_ptr<QUndoStack>& history, const AppSettings& settings,
                         Dialogs& dialogs, QWidget* window, PlayerPresenter& presenter,
                         PlayerNameBox& names, PersonalPage& personal)
    : document_(document), history_(history), settings_(settings), dialogs_(dialogs),
      window_(window), presenter_(presenter), names_(names), personal_(personal) {}

bool RosterSaver::attempt(const std::function<void()>& step, const OnError& onError) {
    return qb::attempt(dialogs_, window_, step, onError);
}

void RosterSaver::message(QMessageBox::Icon icon, const QString& text) {
    dialogs_.message(window_, icon, text);
}

QString RosterSaver::slotName(int slot) const {
    return qText(presenter_.rosterIndex().slotEntries[static_cast<std::size_t>(slot)].name());
}

void RosterSaver::reportRecoveredSaves(const QString& file) {
    // Each journal under its roster's lock. Journals set aside earlier are reported again.
    std::vector<std::string> texts;
    try {
        texts = recoverOnOpening(file.toStdString());
    } catch (const QuillbayError& error) {
        texts.push_back(error.description());
    }
    for (const std::string& text : texts) {
        message(QMessageBox::Warning, qText(text));
    }
}

void RosterSaver::saveShownPlayer() {
    int remembered = -1;
    bool force = false;
    while (true) {
        std::optional<std::string> conflict;
        std::optional<std::string> figuresOutOfRange;
        const bool stored = attempt(
            [&] {
                const WaitCursor wait;
                personal_.trimName();
                remembered = names_.current();
                presenter_.commitEditors();
                try {
                    presenter_.requireShownPlayer();
                    document_->save(presenter_.shownSlot(), saveSafety(settings_, force));
                    history_->setClean();
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
            if (!dialogs_.question(window_,
                                   qText(*figuresOutOfRange) +
                                       QStringLiteral("\n\nSet the player's figures that "
                                                      "cannot be saved to the nearest values "
                                                      "that can, and save?"),
                                   QStringLiteral("Quillbay"))) {
                return;
            }
            attempt(
                [&] { presenter_.showRepairs(document_->repairFigures(presenter_.shownSlot())); });
            continue;
        }
        if (!conflict) {
            break;
        }
        const auto answer = dialogs_.conflict(
            window_,
            qText(*conflict) +
                QStringLiteral(".\n\nOverwrite it with what the editor shows, reload it "
                               "from the file, or cancel?"),
            nullptr);
        if (answer != Dialogs::Conflict::Overwrite) {
            // Reload was the answer about these edits: they are dropped without asking again.
            if (answer == Dialogs::Conflict::Reload && remembered >= 0) {
                presenter_.reloadPlayerDroppingEdits(remembered);
            }
            return;
        }
        force = true;
    }
    reportSaved(QStringLiteral("Successfully Saved"), [&] {
        presenter_.reloadRoster();
        if (remembered > 0 && remembered < names_.count()) {
            names_.select(remembered);
        }
    });
}

std::optional<RosterSaver::ChangedPlayerAnswers>
RosterSaver::askAboutChangedPlayers(const std::vector<int>& changed) {
    ChangedPlayerAnswers answers;
    std::optional<Dialogs::Conflict> forAll;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const int slot = changed[i];
        bool applyToAll = false;
        const std::size_t after = changed.size() - i - 1;
        const Dialogs::Conflict answer =
            forAll ? *forAll
                   : dialogs_.conflict(
                         window_,
                         QStringLiteral("Slot %1 (%2) of %3 was changed by another program since "
                                        "it was loaded.\n\nOverwrite it with what the editor "
                                        "shows, reload it from the file (your changes to it are "
                                        "dropped), or cancel Save All (nothing is saved)?")
                                 .arg(slot)
                                 .arg(slotName(slot))
                                 .arg(presenter_.openedFileName()) +
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

void RosterSaver::saveAll() {
    if (!document_) {
        return;
    }
    presenter_.commitEditors();
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
                    reloaded << QStringLiteral("%1 (slot %2)").arg(slotName(slot)).arg(slot);
                }
                const std::vector<int> edited = document_->pendingSlots();
                try {
                    written =
                        document_
                            ->saveSlots(edited, saveSafety(settings_, false), answers->overwrite)
                            .size();
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

void RosterSaver::showSavedSlots(const std::vector<int>& saved) {
    // Building both lists again took most of a Save All of 1,600 players; only a
    // change to the run of listed players needs it.
    if (std::cmp_not_equal(presenter_.rosterIndex().playerCount, names_.count())) {
        const int entry = names_.current();
        presenter_.listPlayers();
        if (entry > 0 && entry < names_.count()) {
            names_.select(entry);
        }
        return;
    }
    for (const int slot : saved) {
        presenter_.showSlotName(slot);
    }
    // What the editors show is saved or dropped: none of it is an edit to commit, even
    // where the saved record shows a value normalised by the save.
    presenter_.showAgain();
}

void RosterSaver::reportSaved(const QString& report, const std::function<void()>& showSaved) {
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

} // namespace qb
