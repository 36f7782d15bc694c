#pragma once

#include "timelog/store.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace fennick {

// Notices changes made to the log outside fennick: by hand, by the terminal,
// by a sync tool. It watches the folder and its newest month file through
// inotify, so it costs nothing while nothing changes, and settles a burst of
// events into one signal.
class LogWatcher : public QObject {
    Q_OBJECT

public:
    explicit LogWatcher(QObject* parent = nullptr);

    // Watches the folder and its newest month file (again after a rename
    // replaced it).
    void watch(const LogFolder& folder);
    // Stops watching, as when the log moved to another folder.
    void forget();
    // Asks for a look, as when a window comes to the front.
    void poke() { settle_.start(); }

    // Names, sizes and times of the folder's month files: whether anything a
    // report shows may have changed since the last mark.
    static QString signature(const LogFolder& folder);

signals:
    void settled();

private:
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

} // namespace fennick
