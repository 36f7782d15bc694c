#include "app/singleinstance.h"

#include "platform/privatefs.h"
#include "platform/unixsocket.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <optional>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fennick {

namespace {
constexpr QByteArrayView kShowMessage = "show\n";
constexpr QByteArrayView kShownAnswer = "shown\n";
constexpr int kAnswerWaitMs = 2000;

// Closes the descriptor it holds when it goes.
struct Descriptor {
    int fd;
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

// One accepted connection; its socket closes with it.
class SingleInstance::Connection : public QSocketNotifier {
public:
    Connection(int socket, QObject* parent) : QSocketNotifier(socket, Read, parent) {}
    ~Connection() override {
        setEnabled(false);
        ::close(int(socket()));
    }
    QByteArray received;
};

SingleInstance::SingleInstance(const QString& directory, QObject* parent)
    : QObject(parent), directory_(directory) {}

SingleInstance::~SingleInstance() {
    if (listening_ < 0)
        return;
    incoming_.reset();
    ::close(listening_);
    ::unlink(socketFile_.constData()); // still under the lock, so it is ours
}

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
    // Without a socket this instance still runs; a later start then fails
    // to reach it and says so.
    const auto address = unixSocketAddress(socketPath);
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!address || socket.fd < 0)
        return Claim::Owned;
    ::unlink(address->address.sun_path);
    if (::bind(socket.fd, address->get(), address->length) != 0 ||
        ::chmod(address->address.sun_path, 0600) != 0 || ::listen(socket.fd, 8) != 0)
        return Claim::Owned;
    listening_ = std::exchange(socket.fd, -1);
    socketFile_ = address->address.sun_path;
    incoming_ = std::make_unique<QSocketNotifier>(listening_, QSocketNotifier::Read);
    connect(incoming_.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptConnection);
    return Claim::Owned;
}

bool SingleInstance::askRunningInstance(const QString& socketPath) {
    const auto address = unixSocketAddress(socketPath);
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!address || socket.fd < 0 || ::connect(socket.fd, address->get(), address->length) != 0 ||
        ::send(socket.fd, kShowMessage.data(), kShowMessage.size(), MSG_NOSIGNAL) !=
            kShowMessage.size())
        return false;
    QByteArray answer;
    const QDeadlineTimer deadline(kAnswerWaitMs);
    while (!answer.contains('\n')) {
        pollfd ready{socket.fd, POLLIN, 0};
        if (::poll(&ready, 1, int(deadline.remainingTime())) <= 0)
            break;
        char chunk[64];
        const ssize_t got = ::read(socket.fd, chunk, sizeof chunk);
        if (got <= 0)
            break;
        answer.append(chunk, got);
    }
    return answer.startsWith(kShownAnswer);
}

void SingleInstance::acceptConnection() {
    int connection;
    while ((connection = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >=
           0)
        answer(connection);
}

// Reads one line from a later start; "show" brings this instance to the front.
void SingleInstance::answer(int connection) {
    auto* notifier = new Connection(connection, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
        char chunk[64];
        const ssize_t got = ::read(notifier->socket(), chunk, sizeof chunk);
        if (got < 0 && errno == EAGAIN)
            return;
        if (got > 0)
            notifier->received.append(chunk, got);
        if (got > 0 && !notifier->received.contains('\n') && notifier->received.size() < 64)
            return;
        if (notifier->received.contains("show")) {
            emit activationRequested();
            ::send(notifier->socket(), kShownAnswer.data(), kShownAnswer.size(), MSG_NOSIGNAL);
        }
        notifier->setEnabled(false);
        notifier->deleteLater();
    });
}

} // namespace fennick
