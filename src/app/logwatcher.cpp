#include "app/logwatcher.h"

#include <QDateTime>
#include <QFileInfo>

namespace fennick {

LogWatcher::LogWatcher(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(200);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&settle_, &QTimer::timeout, this, &LogWatcher::settled);
}

void LogWatcher::watch(const LogFolder& folder) {
    if (!folder.path || !QFileInfo(*folder.path).isDir())
        return;
    QStringList paths{*folder.path};
    if (folder.index && !folder.index->isEmpty())
        paths << *folder.monthFile(folder.index->lastKey());
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString& path : paths) {
        if (!watched.contains(path))
            watcher_.addPath(path);
    }
}

void LogWatcher::forget() {
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
}

QString LogWatcher::signature(const LogFolder& folder) {
    QStringList paths;
    for (const QString& key : folder.index.value_or(MonthIndex{}).keys())
        paths << *folder.monthFile(key);
    // A conflict copy changes what a month counts.
    for (const QString& key : folder.conflicts.keys())
        paths += folder.conflictCopies(key);
    QString signature;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        signature += QStringLiteral("%1:%2:%3;")
                         .arg(file.fileName())
                         .arg(file.size())
                         .arg(file.lastModified().toMSecsSinceEpoch());
    }
    return signature;
}

} // namespace fennick
