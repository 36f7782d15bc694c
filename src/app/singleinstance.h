#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace fennick {

// Keeps one fennick per user: the first process holds a lock file and listens
// on a local socket beside it; a later one asks it to come to the front and
// leaves, so two processes never write the same files and settings.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `directory` holds the lock file and the socket (the user's runtime dir).
    explicit SingleInstance(const QString& directory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the one that runs; otherwise the running one
    // has been asked to show itself.
    bool claim();

    static QString defaultDirectory();

signals:
    void activationRequested();

private:
    void acceptConnection();

    QString directory_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace fennick
