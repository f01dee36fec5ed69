#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace qb {

// The link with the companion program Tonewell, over local sockets. See
// docs/companion-protocol.md: one UTF-8 command a line, answered by "OK" or "ERR ...".
inline const QString kEditorTopic = QStringLiteral("Quillbay");
inline const QString kCompanionTopic = QStringLiteral("Cricket 2004 Tonewell|Tonelink");
inline constexpr int COMMENTARY_SOUND_BASE = 3528;
inline constexpr int kLongestCommand = 4096;

// The local socket name for a topic, per user (see roster/local_link.h). Empty when
// the user has no private place for it.
QString linkName(const QString& topic);

// Why a link name cannot be used, or empty when it can: no private folder, or a file
// at the name that belongs to another user or is no socket.
QString linkPathProblem(const QString& path);

// Decides the answer to a request before it is carried out: empty accepts it ("OK"),
// any other text refuses it ("ERR " and the text).
using LinkCheck = std::function<QString(const QString& command)>;

// Listens for requests under a name; each complete line is answered, and an accepted one
// handed on.
class LinkServer : public QObject {
    Q_OBJECT

public:
    explicit LinkServer(const QString& name, LinkCheck check = {}, QObject* parent = nullptr);
    bool isListening() const { return server_.isListening(); }

signals:
    void commandReceived(const QString& command);

private:
    void accept();
    QLocalServer server_;
    LinkCheck check_;
};

struct SendOutcome {
    bool sent = false;
    bool noListener = false; // nobody listens under the name
    QString error;           // what went wrong otherwise
};

// Sends one command and waits for its acknowledgement.
SendOutcome sendLinkCommand(const QString& name, const QString& command, int timeoutMs = 3000);

} // namespace qb
