#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace fennick {

// Keeps one fennick per user: the first process holds a lock file and listens
// on a local socket beside it; a later one asks it to come to the front and
// leaves, so two processes never write the same files and settings. The
// socket is a plain Unix socket rather than QLocalServer, which would load
// Qt Network and its Kerberos and proxy libraries into every window start.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Claim {
        Owned,    // this process holds the lock and runs
        Answered, // another instance answered and shows itself; leave
        Failed,   // no lock could be taken; see failure()
    };
    Q_ENUM(Claim)

    // `directory` holds the lock file and the socket (the user's runtime dir);
    // empty when there is no private folder to put them in.
    explicit SingleInstance(const QString& directory, QObject* parent = nullptr);
    ~SingleInstance() override;

    Claim claim();
    // Why the last claim failed, in one line.
    const QString& failure() const { return failure_; }

    // $XDG_RUNTIME_DIR when it is 0700 and the user's, or else a folder of this user's in `tempDir`
    // that is 0700 and owned by the user; empty when neither can be had.
    static QString defaultDirectory(const QString& runtimeDir, const QString& tempDir);
    static QString defaultDirectory();

signals:
    void activationRequested();

private:
    Claim fail(const QString& why);
    Claim own(const QString& lockPath, const QString& socketPath);
    bool askRunningInstance(const QString& socketPath);
    void acceptConnection();
    void answer(int connection);

    class Connection;

    QString directory_;
    QString failure_;
    std::unique_ptr<QLockFile> lock_;
    int listening_ = -1;
    QByteArray socketFile_;
    std::unique_ptr<QSocketNotifier> incoming_;
};

} // namespace fennick
