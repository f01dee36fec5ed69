#include "shell/companion_link.h"

#include "link/local_link.h"

#include <QLocalSocket>
#include <QTimer>
#include <utility>

namespace qb {

QString linkName(const QString& topic) {
    return QString::fromStdString(localLinkName(topic.toStdString()));
}

QString linkPathProblem(const QString& path) {
    return QString::fromStdString(localLinkProblem(path.toStdString()));
}

LinkServer::LinkServer(const QString& name, LinkCheck check, QObject* parent)
    : QObject(parent), check_(std::move(check)) {
    // Only the same user may connect. A socket left by an editor that died is removed;
    // one that answers belongs to a running editor, which keeps it.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!linkPathProblem(name).isEmpty()) {
        return; // never listen under, or remove, a name another user holds
    }
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(200)) {
        probe.abort();
        return;
    }
    QLocalServer::removeServer(name);
    if (server_.listen(name)) {
        connect(&server_, &QLocalServer::newConnection, this, &LinkServer::accept);
    }
}

void LinkServer::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (!localLinkPeerIsSameUser(socket->socketDescriptor())) {
            socket->abort(); // another user's program: not heard
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A sender that never finishes its line is dropped.
        QTimer::singleShot(5000, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLongestCommand) {
                    socket->write("ERR message too long\n");
                    socket->disconnectFromServer();
                }
                return;
            }
            const QByteArray line = socket->readLine(kLongestCommand + 2);
            if (!line.endsWith('\n')) {
                socket->write("ERR message too long\n");
                socket->disconnectFromServer();
                return;
            }
            QString command = QString::fromUtf8(line);
            command.chop(1);
            if (command.endsWith(QLatin1Char('\r'))) {
                command.chop(1);
            }
            // The request is answered first, then an accepted one is carried out.
            QString refusal = check_ ? check_(command) : QString();
            refusal.replace(QLatin1Char('\n'), QLatin1Char(' '));
            socket->write(refusal.isEmpty() ? QByteArray("OK\n")
                                            : "ERR " + refusal.toUtf8() + '\n');
            socket->flush();
            socket->disconnectFromServer();
            if (refusal.isEmpty()) {
                emit commandReceived(command);
            }
        });
    }
}

SendOutcome sendLinkCommand(const QString& name, const QString& command, int timeoutMs) {
    if (const QString problem = linkPathProblem(name); !problem.isEmpty()) {
        return {false, false, problem};
    }
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
        const bool absent = socket.error() == QLocalSocket::ServerNotFoundError ||
                            socket.error() == QLocalSocket::ConnectionRefusedError;
        return {false, absent, socket.errorString()};
    }
    // A name another user's program took first is not written to.
    if (!localLinkPeerIsSameUser(socket.socketDescriptor())) {
        return {false, false, name + QStringLiteral(" is held by another user; nothing was sent")};
    }
    socket.write(command.toUtf8() + '\n');
    socket.flush();
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            return {false, false, QStringLiteral("no answer: ") + socket.errorString()};
        }
    }
    const QByteArray answer = socket.readLine().trimmed();
    if (answer != "OK") {
        return {false, false, QString::fromUtf8(answer)};
    }
    return {true, false, {}};
}

} // namespace qb
