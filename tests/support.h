#pragma once

// Helpers shared by the tests.

#include "platform/caldate.h"
#include "shell/session.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>
#include <memory>

#include <sys/stat.h>

namespace fennick::test {

// Runs the test in a fixed local time zone, whatever the machine's.
inline void useTimeZone(const char* zone) {
    qputenv("TZ", zone);
    timeZoneChanged();
}

// A local time from its compact form; a typo in a test stops the test run.
inline CalDate at(const QString& compact) {
    const auto date = CalDate::parse(compact, CalFormat::Compact);
    if (!date)
        qFatal("bad test timestamp %s", qPrintable(compact));
    return *date;
}

// Record lines for punches at compact times, alternating from a check-in,
// each written at its own punch time.
inline QByteArray alternatingPunches(const QStringList& compactTimes) {
    QByteArray text;
    for (qsizetype i = 0; i < compactTimes.size(); ++i)
        text += (at(compactTimes[i]).format(CalFormat::Display) +
                 (i % 2 ? "\tCheckOut:\t" : "\tCheckIn:\t") + compactTimes[i] + '\n')
                    .toLatin1();
    return text;
}

// A file's bytes; never opens a FIFO, which would block.
inline QByteArray bytesOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return "<not a regular file>";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every name in a directory, hidden ones and those of FIFOs included.
inline QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// The descendant of `parent` with this object name; a missing one stops the
// test run, since every later check would be meaningless.
template <typename T> T& child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return *found;
}

inline bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A punch session in a temporary home whose log folder exists, with a
// settings file of its own and a time-entry dialog that answers `answer`
// (or cancels while it is empty).
struct SessionHome {
    QTemporaryDir temp;
    QString home = temp.filePath(QStringLiteral("home"));
    QString logs = home + QStringLiteral("/Library/fennick");
    QString settingsPath = home + QStringLiteral("/settings.ini");
    FixedClock clock{at(QStringLiteral("20040220120000"))};
    std::optional<CalDate> answer;
    std::unique_ptr<PunchSession> session;

    SessionHome() { QDir().mkpath(logs); }
    QString file(const QString& month) const {
        return logs + QStringLiteral("/TLOG") + month + QStringLiteral(".txt");
    }
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
    // The state as "In <time>" or "Out <time>".
    static QString stateOf(bool onBusiness, const QString& prevTime) {
        return (onBusiness ? QStringLiteral("In ") : QStringLiteral("Out ")) + prevTime;
    }
    QString state() const {
        const TimeClock& rules = session->timeClock();
        return stateOf(rules.onBusinessP(), rules.prevTimeStr());
    }
    QString savedState() const {
        const QSettings saved(settingsPath, QSettings::IniFormat);
        return stateOf(saved.value(kOnBusinessKey).toBool(),
                       saved.value(kPrevTimeStrKey).toString());
    }
    void saveState(bool onBusiness, const QString& prevTime) const {
        QSettings saved(settingsPath, QSettings::IniFormat);
        saved.setValue(kOnBusinessKey, onBusiness);
        saved.setValue(kPrevTimeStrKey, prevTime);
    }
};

} // namespace fennick::test
