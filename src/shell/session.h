#pragma once

#include "platform/clock.h"
#include "platform/syslog.h"
#include "shell/settings.h"
#include "timelog/logeditor.h"
#include "timelog/loghistory.h"
#include "timelog/store.h"
#include "timelog/timeclock.h"

#include <QString>
#include <functional>
#include <optional>
#include <variant>

namespace fennick {

// Where a session finds its settings and its log folder.
struct SessionEnv {
    QString homeDir;      // where "~" in the log folder's path points
    QString settingsPath; // empty: the per-user settings file
    LogSink log;
};

// The punch state and everything that keeps it: the settings, the store of
// the log folder, the check-in/out rules and the steps that can be undone,
// built in one step with the state loaded from the settings. The settings
// are a cache of the log: where they disagree, the log wins. Creating a
// session touches no file; open() does.
class PunchSession {
public:
    // `hooks.punchRecorded` runs after the state has been saved.
    PunchSession(const Clock& clock, SessionEnv env, TimeClock::Hooks hooks);

    // Creates the log folder when it is missing, builds the month index and
    // takes the state from the log.
    void open();
    // The writers' lock of the folder the settings name now. A move of the
    // log may have switched the folder while this session waited for the old
    // one's lock; the session then follows to the new one.
    FolderLock lockFolder();
    // Follows the settings to another log folder: the store, the month index
    // and the state. The undo steps, which name the old folder's files, are
    // dropped. True when the folder changed.
    bool followFolderSetting();
    // Writes the punch state to the settings.
    void saveDefaults();
    // Reads the log's newest record under the writers' lock; true when the
    // state changed (and was saved).
    bool followLog();

    // Undo and redo of this session's punches and edits, under the lock; the
    // state then follows the log. Answers why nothing changed, if so.
    std::optional<QString> undo();
    std::optional<QString> redo();
    const LogHistory& history() const { return history_; }

    // Edits of the log window, each one undo step.
    std::optional<QString> changeTime(const RecordAt& record, const CalDate& time);
    std::optional<QString> remove(const RecordAt& record);
    std::optional<QString> insert(PunchKind kind, const CalDate& time);

    // Merges the conflict copies of every month into the month files under
    // the lock, as one undo step; the state then follows the log. Answers
    // the step (without edits when there was nothing to merge) or why
    // nothing changed.
    std::variant<LogStep, QString> mergeConflicts();

    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    TimeLogStore& store() { return store_; }
    const TimeLogStore& store() const { return store_; }
    TimeClock& timeClock() { return timeClock_; }
    const TimeClock& timeClock() const { return timeClock_; }

private:
    TimeClock::Hooks withSession(TimeClock::Hooks hooks);
    void openStore();
    // The log folder as a new start would find it.
    QString settingsFolder() const;
    void useFolder(const QString& folder);
    std::optional<QString> edited(LogEditor::Result result);

    LogSink log_;
    QString homeDir_;
    Settings settings_;
    TimeLogStore store_;
    TimeClock timeClock_;
    LogEditor editor_;
    LogHistory history_;
};

} // namespace fennick
