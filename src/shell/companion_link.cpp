#include "shell/companion_link.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {

namespace {

// A folder that only the real user can enter: owned by them, not a link, no access for
// group or others.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString privateFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && isPrivateFolder(runtime)) {
        return QString::fromLocal8Bit(runtime);
    }
    const QByteArray own =
        QFile::encodeName(QDir::tempPath() + QStringLiteral("/quillbay-%1").arg(::getuid()));
    ::mkdir(own.constData(), 0700);
    return isPrivateFolder(own) ? QString::fromLocal8Bit(own) : QString();
}

QString realUserName() {
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr ? QString::fromLocal8Bit(user->pw_name) : QString::number(::getuid());
}

} // namespace

QString linkName(const QString& topic) {
    const QString folder = privateFolder();
    if (folder.isEmpty()) {
        return {};
    }
    QString name = topic;
    name.replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('|'), QLatin1Char('.'));
    QString result =
        folder + QStringLiteral("/quillbay-") + name + QLatin1Char('-') + realUserName();
    const QString space = qEnvironmentVariable("QUILLBAY_LINK_NAMESPACE");
    if (!space.isEmpty()) {
        result += QLatin1Char('-') + space;
    }
    return result;
}

QString linkPathProblem(const QString& path) {
    if (path.isEmpty()) {
        return QStringLiteral("no private folder for the link's socket");
    }
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    if (info.st_uid != ::getuid() || !S_ISSOCK(info.st_mode)) {
        return path + QStringLiteral(" belongs to another user or is no socket; it is not used");
    }
    return {};
}

LinkServer::LinkServer(const QString& name, QObject* parent) : QObject(parent) {
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
