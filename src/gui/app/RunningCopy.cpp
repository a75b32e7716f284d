#include "app/RunningCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

namespace paysum {

namespace {

const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kRaised = QByteArrayLiteral("raised\n");

}  // namespace

RunningCopy::RunningCopy(QObject* parent) : QObject(parent) {}

QString RunningCopy::SocketPath(const QString& folder) {
    // Qt makes the runtime folder private to the user, or gives none.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QFileInfo info(runtime);
    if (!info.isDir() || info.ownerId() != ::getuid() ||
        (info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                               QFile::ReadOther | QFile::WriteOther | QFile::ExeOther)))
        return {};
    // One socket per data folder, however the folder was named.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key = QCryptographicHash::hash(
        (canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical).toUtf8(),
        QCryptographicHash::Sha256);
    return QDir(runtime).filePath(QStringLiteral("PAYSUM-") +
                                  QString::fromLatin1(key.toHex().left(32)));
}

bool RunningCopy::Listen(const QString& folder, std::function<void()> raise) {
    const QString path = SocketPath(folder);
    if (path.isEmpty())
        return false;
    raise_ = std::move(raise);
    delete server_;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket there is a killed copy's.
    QLocalServer::removeServer(path);
    if (!server_->listen(path))
        return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    // A request is one short line; anything longer is not ours.
                    if (socket->bytesAvailable() > kRaise.size())
                        socket->abort();
                    return;
                }
                if (socket->readLine(kRaise.size() + 1) != kRaise) {
                    socket->abort();
                    return;
                }
                if (raise_)
                    raise_();
                socket->write(kRaised);
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool RunningCopy::AskToRaise(const QString& folder, int timeoutMs) {
    const QString path = SocketPath(folder);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    QEventLoop loop;
    bool answered = false;
    QByteArray answer;
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&socket] { socket.write(kRaise); });
    const auto take = [&] {
        answer += socket.readAll();
        answered = answer.startsWith(kRaised);
    };
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        take();
        if (answered)
            loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&loop] { loop.quit(); });
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, [&] {
        take();
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    socket.connectToServer(path);
    if (socket.state() != QLocalSocket::UnconnectedState)
        loop.exec();
    return answered;
}

}  // namespace paysum
