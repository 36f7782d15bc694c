#pragma once

#include "platform/caldate.h"
#include "platform/clock.h"
#include "timelog/loghistory.h"
#include "timelog/record.h"
#include "timelog/store.h"

#include <QString>
#include <functional>
#include <optional>

namespace fennick {

inline constexpr int kModalStopped = -1000; // the time-entry dialog accepted a time
inline constexpr int kModalAborted = -1001; // it was cancelled

// The check-in and check-out rules and the state they keep: whether the user
// is checked in and the punch time of the last punch. The state is a cache of
// the log's newest record: before each press it is read again from the log,
// under the folder's writers' lock.
class TimeClock {
public:
    struct Hooks {
        // Runs the time-entry dialog (press time, last punch, true when check
        // in was pressed); answers kModalStopped after setMyInputCalDate.
        std::function<int(const CalDate& now, const QString& prevTime, bool forCkin)>
            enterTimeDialog;
        std::function<void()> beep;
        // The state moved on: a punch was recorded, or the log said otherwise.
        std::function<void()> punchRecorded;
        // A press recorded its punches: one undo step.
        std::function<void(const LogStep&)> stepRecorded;
        // A punch could not be written; nothing changed.
        std::function<void(const FileFailure&)> punchFailed;
    };

    TimeClock(TimeLogStore& store, const Clock& clock, Hooks hooks);

    bool onBusinessP() const { return onBusiness_; }
    void setOnBusinessP(bool on) { onBusiness_ = on; }
    const QString& prevTimeStr() const { return prevTime_; }
    void setPrevTimeStr(const QString& text) { prevTime_ = text; }
    const std::optional<CalDate>& myInputCalDate() const { return input_; }
    void setMyInputCalDate(const CalDate& date) { input_ = date; }

    // Takes the writers' lock for every press in place of the store's own
    // lock, as a session does that follows the log to another folder.
    void setLocker(std::function<FolderLock()> locker) { locker_ = std::move(locker); }
    // Makes sure this month's file exists, under the lock: the lock's holder
    // may have moved the log to another folder meanwhile.
    void checkMonthFile();
    void enterLogIn();  // checkMonthFile, then checkInLog
    void enterLogOut(); // checkMonthFile, then checkOutLog
    void checkInLog();
    void checkOutLog();
    // Checks out when checked in, else checks in: never a forgotten punch.
    void toggleLog();
    // Records one punch; on success moves the state on and says so.
    bool checkLogFile(const CalDate& punch, const CalDate& now, PunchKind kind);

    // Takes the state from the log's newest record where the two disagree;
    // true when it changed. A folder with no record changes nothing. The
    // caller holds the folder's lock.
    bool followLog();

private:
    FolderLock takeLock() const;
    // Runs the time-entry dialog; true when it confirmed a time.
    bool askForgottenPunch(const CalDate& press, bool forCkin);
    // A press after followLog, with the lock held.
    void punchIn(const CalDate& press, FolderLock lock);
    void punchOut(const CalDate& press, FolderLock lock);
    // One press: the forgotten punch (if any) and the pressed one, recorded
    // under the lock as one step, unless the log moved on meanwhile.
    void record(const std::optional<CalDate>& forgotten, const CalDate& press, PunchKind kind,
                const FolderLock& lock);
    struct State {
        bool onBusiness = false;
        QString prevTime;
        friend bool operator==(const State&, const State&) = default;
    };
    State state() const { return {onBusiness_, prevTime_}; }

    TimeLogStore& store_;
    const Clock& clock_;
    Hooks hooks_;
    std::function<FolderLock()> locker_;
    bool onBusiness_ = false;
    QString prevTime_;
    std::optional<CalDate> input_;
};

// "Check In at 09:12": the menu's name for undoing or redoing a punch.
QString punchStepName(PunchKind kind, const CalDate& punch);

} // namespace fennick
