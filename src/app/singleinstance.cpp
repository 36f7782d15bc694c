#include "app/singleinstance.h"

#include "platform/privatefs.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace fennick {

namespace {
constexpr QByteArrayView kShowMessage = "show\n";
constexpr QByteArrayView kShownAnswer = "shown\n";
constexpr int kAnswerWaitMs = 2000;
} // namespace

SingleInstance::SingleInstance(const QString& directory, QObject* parent)
    : QObject(parent), directory_(directory) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultDirectory(const QString& runtimeDir, const QString& tempDir) {
    if (!runtimeDir.isEmpty() && isOwnPrivateDir(runtimeDir))
        return runtimeDir;
    // A shared temporary folder: only a folder that is ours alone will do,
    // or another user could hold our lock or answer in our place.
    const QString dir = tempDir + QStringLiteral("/fennick-%1").arg(::geteuid());
    makePrivateDirs(dir);
    return isOwnPrivateDir(dir) ? dir : QString();
}

QString SingleInstance::defaultDirectory() {
    return defaultDirectory(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
}

SingleInstance::Claim SingleInstance::fail(const QString& why) {
    failure_ = why;
    lock_.reset();
    return Claim::Failed;
}

SingleInstance::Claim SingleInstance::claim() {
    if (directory_.isEmpty())
        return fail(QStringLiteral("no private runtime folder for the instance lock"));
    if (!makePrivateDirs(directory_))
        return fail(QStringLiteral("cannot make the folder %1").arg(directory_));
    const QString lockPath = directory_ + QStringLiteral("/fennick.lock");
    const QString socketPath = directory_ + QStringLiteral("/fennick.socket");
    lock_ = std::make_unique<QLockFile>(lockPath);
    lock_->setStaleLockTime(0); // a lock whose process is gone is stale at once
    bool locked = lock_->tryLock(200);
    qint64 pid = 0;
    QString host;
    QString app;
    const auto heldBySomeone = [&] {
        return lock_->error() == QLockFile::LockFailedError &&
               lock_->getLockInfo(&pid, &host, &app);
    };
    if (!locked && lock_->error() == QLockFile::LockFailedError && !heldBySomeone()) {
        // Empty or garbage: no process can be holding it.
        lock_->removeStaleLockFile();
        locked = lock_->tryLock(200);
    }
    if (locked)
        return own(lockPath, socketPath);
    if (!heldBySomeone())
        return fail(QStringLiteral("cannot take the instance lock %1").arg(lockPath));
    if (askRunningInstance(socketPath))
        return Claim::Answered;
    // A live process holds it, perhaps one that got the PID of an instance
    // long gone, but no instance answers.
    return fail(QStringLiteral("the instance lock %1 is held by process %2, which does not answer")
                    .arg(lockPath)
                    .arg(pid));
}

SingleInstance::Claim SingleInstance::own(const QString& lockPath, const QString& socketPath) {
    QFile::setPermissions(lockPath, QFile::ReadOwner | QFile::WriteOwner);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath);
    if (server_->listen(socketPath))
        connect(server_.get(), &QLocalServer::newConnection, this,
                &SingleInstance::acceptConnection);
    return Claim::Owned;
}

bool SingleInstance::askRunningInstance(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kAnswerWaitMs))
        return false;
    socket.write(kShowMessage.data(), kShowMessage.size());
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(kAnswerWaitMs))
        answer += socket.readAll();
    socket.disconnectFromServer();
    return answer.startsWith(kShownAnswer);
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->readAll().contains("show"))
                return;
            emit activationRequested();
            socket->write(kShownAnswer.data(), kShownAnswer.size());
            socket->flush();
        });
    }
}

} // namespace fennick
