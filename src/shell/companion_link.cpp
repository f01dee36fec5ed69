#include "shell/companion_link.h"

#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

namespace qb {

QString linkName(const QString& topic) {
    QString name = topic;
    name.replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('|'), QLatin1Char('.'));
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) {
        user = QStringLiteral("user");
    }
    QString result = QStringLiteral("quillbay-") + name + QLatin1Char('-') + user;
    const QString space = qEnvironmentVariable("QUILLBAY_LINK_NAMESPACE");
    if (!space.isEmpty()) {
        result += QLatin1Char('-') + space;
    }
    return result;
}

LinkServer::LinkServer(const QString& name, QObject* parent) : QObject(parent) {
    // Only the same user may connect. A socket left by an editor that died is removed;
    // one that answers belongs to a running editor, which keeps it.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
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
            // The request is accepted first, then carried out.
            socket->write("OK\n");
            socket->flush();
            socket->disconnectFromServer();
            emit commandReceived(command);
        });
    }
}

SendOutcome sendLinkCommand(const QString& name, const QString& command, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
        const bool absent = socket.error() == QLocalSocket::ServerNotFoundError ||
                            socket.error() == QLocalSocket::ConnectionRefusedError;
        return {false, absent, socket.errorString()};
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
