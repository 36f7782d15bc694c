#include "app/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace fennick {

namespace {
constexpr QByteArrayView kShowMessage = "show\n";
}

SingleInstance::SingleInstance(const QString& directory, QObject* parent)
    : QObject(parent), directory_(directory) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/fennick-%1").arg(::getuid());
    return dir;
}

bool SingleInstance::claim() {
    QDir().mkpath(directory_);
    const QString socketPath = directory_ + QStringLiteral("/fennick.socket");
    lock_ = std::make_unique<QLockFile>(directory_ + QStringLiteral("/fennick.lock"));
    lock_->setStaleLockTime(0); // a lock whose process is gone is stale at once
    if (lock_->tryLock(200)) {
        server_ = std::make_unique<QLocalServer>();
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        QLocalServer::removeServer(socketPath);
        if (server_->listen(socketPath))
            connect(server_.get(), &QLocalServer::newConnection, this,
                    &SingleInstance::acceptConnection);
        return true;
    }
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (socket.waitForConnected(1000)) {
        socket.write(kShowMessage.data(), kShowMessage.size());
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
    return false;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("show"))
                emit activationRequested();
        });
    }
}

} // namespace fennick
