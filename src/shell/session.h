#pragma once

#include "platform/clock.h"
#include "platform/syslog.h"
#include "shell/settings.h"
#include "timelog/store.h"
#include "timelog/timeclock.h"

#include <QString>
#include <functional>

namespace fennick {

// Where a session finds its settings and its log folder.
struct SessionEnv {
    QString homeDir;      // where "~" in the log folder's path points
    QString settingsPath; // empty: the per-user settings file
    LogSink log;
};

// The punch state and everything that keeps it: the settings, the store of
// the log folder and the check-in/out rules, built in one step with the state
// loaded from the settings. Creating it touches no file; open() does.
class PunchSession {
public:
    // `hooks.punchRecorded` runs after the state has been saved.
    PunchSession(const Clock& clock, SessionEnv env, TimeClock::Hooks hooks);

    // Creates the log folder when it is missing and builds the month index.
    void open();
    // Writes the punch state to the settings.
    void saveDefaults();

    Settings& settings() { return settings_; }
    TimeLogStore& store() { return store_; }
    const TimeLogStore& store() const { return store_; }
    TimeClock& timeClock() { return timeClock_; }
    const TimeClock& timeClock() const { return timeClock_; }

private:
    TimeClock::Hooks savingFirst(TimeClock::Hooks hooks);

    LogSink log_;
    Settings settings_;
    TimeLogStore store_;
    TimeClock timeClock_;
};

} // namespace fennick
