#include "shell/companion_requests.h"

#include "link/link_request.h"
#include "shell/companion_link.h"
#include "shell/player_name_box.h"
#include "shell/player_presenter.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QStatusBar>
#include <utility>

namespace qb {
namespace {

const QString kNonContinuous = QStringLiteral("Non-continous roster");

} // namespace

CompanionRequests::CompanionRequests(Dialogs& dialogs, QMainWindow* window,
                                     PlayerPresenter& presenter, PlayerNameBox& names,
                                     RosterHandover handover)
    : QObject(window), dialogs_(dialogs), window_(window), presenter_(presenter), names_(names),
      handover_(std::move(handover)) {
    auto* server = new LinkServer(
        linkName(kEditorTopic),
        [this](const QString& command) {
            const QString problem = refusal(command);
            if (!problem.isEmpty()) {
                note(problem);
            }
            return problem;
        },
        this);
    connect(server, &LinkServer::commandReceived, this, &CompanionRequests::handle);
}

QString CompanionRequests::refusal(const QString& command) const {
    // A request met while the user is asked something waits for no answer: it would
    // stack a question on the question or change the window under it.
    if (QApplication::activeModalWidget() != nullptr) {
        return QStringLiteral("The editor is busy with a dialog; the companion program's "
                              "request was not carried out");
    }
    try {
        const LinkRequest request = parseLinkRequest(command.toStdString());
        if (QString::fromStdString(request.path) == presenter_.openedFileName() &&
            request.entry >= names_.count()) {
            return kNonContinuous;
        }
    } catch (const QuillbayError& error) {
        return QString::fromStdString(error.description());
    }
    return {};
}

void CompanionRequests::note(const QString& problem) {
    window_->statusBar()->showMessage(problem);
}

bool CompanionRequests::attempt(const std::function<void()>& step, const QString& context) {
    try {
        step();
        return true;
    } catch (const QuillbayError& error) {
        note(context + QString::fromStdString(error.description()));
        return false;
    }
}

void CompanionRequests::handle(const QString& command) {
    if (const QString problem = refusal(command); !problem.isEmpty()) {
        note(problem);
        return;
    }
    attempt([&] {
        const LinkRequest request = parseLinkRequest(command.toStdString());
        const QString path = QString::fromStdString(request.path);
        if (path == presenter_.openedFileName()) {
            selectRequestedPlayer(request.entry);
        } else if (dialogs_.question(window_, QStringLiteral("Do you want to open ") + path,
                                     QStringLiteral("Quillbay")) &&
                   handover_.settleUnsaved()) {
            openRequestedRoster(path, request.entry);
        }
    });
    // After a request the window comes to the front.
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void CompanionRequests::openRequestedRoster(const QString& path, int entry) {
    attempt(
        [&] {
            // The file is checked before it replaces the open one, so a bad path never
            // leaves a half-opened roster.
            handover_.adopt(
                std::make_unique<RosterDocument>(QDir::toNativeSeparators(path).toStdString()));
            selectRequestedPlayer(entry);
        },
        QStringLiteral("The roster the companion program asked for cannot be opened: "));
}

void CompanionRequests::selectRequestedPlayer(int index) {
    if (index >= names_.count()) {
        note(kNonContinuous);
        return;
    }
    names_.select(index);
}

} // namespace qb
