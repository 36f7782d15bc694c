#pragma once

// Helpers shared by the tests.

#include "cli/cli.h"
#include "platform/caldate.h"
#include "shell/session.h"
#include "timelog/fileops.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fennick::test {

// Runs the test in a fixed local time zone.
inline void useTimeZone(const char* zone) {
    qputenv("TZ", zone);
    timeZoneChanged();
}

// A local time from its compact form; a typo stops the run.
inline CalDate at(const QString& compact) {
    const auto date = CalDate::parse(compact, CalFormat::Compact);
    if (!date)
        qFatal("bad test timestamp %s", qPrintable(compact));
    return *date;
}

// A file's bytes; never opens a FIFO, which would block.
inline QByteArray bytesOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return "<not a regular file>";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A path's permission bits, -1 when there is nothing.
inline int modeOf(const QString& path, bool follow = true) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    const int got = follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st);
    return got == 0 ? int(st.st_mode & 07777) : -1;
}

// Every name in a directory, hidden ones and FIFOs included.
inline QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// The descendant with this object name; a missing one stops the run.
template <typename T> T& child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return *found;
}

// Record lines of punches, alternating from a check-in (check-out when `checkedIn`).
inline QString punches(const QStringList& times, bool checkedIn = false) {
    QString text;
    for (const QString& t : times)
        text += at(t).format(CalFormat::Display) +
                ((checkedIn = !checkedIn) ? "\tCheckIn:\t" : "\tCheckOut:\t") + t + '\n';
    return text;
}

// Alternating punches, each in its month's file; a bare month ("202404") makes an empty file.
inline bool writeMonths(const QString& dir, const QStringList& times) {
    QMap<QString, QString> files;
    int count = 0;
    for (const QString& t : times)
        files[dir + "/TLOG" + t.left(6) + ".txt"] += t.size() > 6 ? punches({t}, count++ % 2) : "";
    bool written = QDir().mkpath(dir);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        written = written && put(it.key(), it.value().toUtf8());
    return written;
}

// The files in a folder whose names match `names`, with their bytes; hidden files count, the
// writers' lock does not.
inline QMap<QString, QByteArray> filesIn(const QString& dir, const QString& names = "*") {
    QMap<QString, QByteArray> files;
    for (const QString& name :
         QDir(dir).entryList({names}, QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, bytesOf(dir + '/' + name));
    files.remove(".fennick.lock");
    return files;
}

// A log folder ("logs") in a fresh temporary directory.
struct TempLogFolder {
    QTemporaryDir tmp;
    QString dir = tmp.path() + "/logs";
    TempLogFolder() { QDir().mkpath(dir); }
    QString path(const QString& name) const { return dir + '/' + name; }
};

// While it lives, every durable write meets one disk fault; the calls are recorded in
// order ("write", "fsync", "rename", "dirsync").
struct FailingDisk {
    enum Fault {
        None,
        ReadOnly,
        NoSpace,
        ShortThenNoSpace,
        ShortThenRest,
        Interrupted,
        FailedSync,
        FailedRename
    };
    static inline Fault fault = None;
    static inline QStringList calls;
    const WriteCalls previous;

    explicit FailingDisk(Fault f) : previous(setWriteCalls({&open, &write, &fsync, &rename})) {
        fault = f;
        calls.clear();
    }
    ~FailingDisk() { setWriteCalls(previous); }
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

    // The write path opens only new private files, with mode 0600.
    static int open(const char* path, int flags, ...) {
        return fault == ReadOnly ? (errno = EROFS, -1) : ::open(path, flags, 0600);
    }
    static ssize_t write(int fd, const void* data, size_t size) {
        const bool first = !calls.contains("write");
        calls << "write";
        if (fault == NoSpace || (!first && fault == ShortThenNoSpace))
            return errno = ENOSPC, -1;
        if (first && fault == Interrupted)
            return errno = EINTR, -1;
        const bool half = first && (fault == ShortThenNoSpace || fault == ShortThenRest);
        return ::write(fd, data, half ? size / 2 : size);
    }
    static int fsync(int fd) {
        struct stat st {};
        const bool dir = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
        calls << (dir ? "dirsync" : "fsync");
        return !dir && fault == FailedSync ? (errno = EIO, -1) : ::fsync(fd);
    }
    static int rename(const char* from, const char* to) {
        calls << "rename";
        return fault == FailedRename ? (errno = EXDEV, -1) : ::rename(from, to);
    }
};

// A punch session in a temporary home with its own settings; the time-entry dialog
// answers `answer`, or cancels while it is empty.
struct SessionHome {
    QTemporaryDir temp;
    QString home = temp.filePath("home");
    QString logs = home + "/Library/fennick";
    QString settingsPath = home + "/settings.ini";
    FixedClock clock{at("20040220120000")};
    std::optional<CalDate> answer;
    std::unique_ptr<PunchSession> session;

    SessionHome() { QDir().mkpath(logs); }
    QString file(const QString& month) const { return logs + "/TLOG" + month + ".txt"; }
    PunchSession& open() {
        TimeClock::Hooks hooks;
        hooks.enterTimeDialog = [this](const CalDate&, const QString&, bool) {
            if (!answer)
                return kModalAborted;
            session->timeClock().setMyInputCalDate(*answer);
            return kModalStopped;
        };
        session = std::make_unique<PunchSession>(
            clock, SessionEnv{home, settingsPath, [](const QString&) {}}, std::move(hooks));
        session->open();
        return *session;
    }
    // A terminal command run in process: status, stdout, stderr.
    std::tuple<int, QString, QString> run(const QStringList& words) const {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const CliEnv env{clock, home, settingsPath, [](const QString&) {}};
        return {runCli(words, outStream, errStream, env), out, err};
    }
    // The state as "In <time>" or "Out <time>", held and saved.
    QString state() const {
        const TimeClock& rules = session->timeClock();
        return (rules.onBusinessP() ? "In " : "Out ") + rules.prevTimeStr();
    }
    QString savedState() const {
        const QSettings saved(settingsPath, QSettings::IniFormat);
        return (saved.value(kOnBusinessKey).toBool() ? "In " : "Out ") +
               saved.value(kPrevTimeStrKey).toString();
    }
};

} // namespace fennick::test
