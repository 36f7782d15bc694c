#pragma once

#include "platform/caldate.h"
#include "platform/clock.h"
#include "timelog/record.h"
#include "timelog/store.h"

#include <QString>
#include <functional>
#include <optional>

namespace fennick {

inline constexpr int kModalStopped = -1000; // the time-entry dialog accepted a time
inline constexpr int kModalAborted = -1001; // it was cancelled

// The check-in and check-out rules and the state they keep: whether the user
// is checked in and the punch time of the last punch.
class TimeClock {
public:
    struct Hooks {
        // Runs the time-entry dialog (press time, last punch, true when check
        // in was pressed); answers kModalStopped after setMyInputCalDate.
        std::function<int(const CalDate& now, const QString& prevTime, bool forCkin)>
            enterTimeDialog;
        std::function<void()> beep;
        // A punch was recorded and the state moved on.
        std::function<void()> punchRecorded;
    };

    TimeClock(TimeLogStore& store, const Clock& clock, Hooks hooks);

    bool onBusinessP() const { return onBusiness_; }
    void setOnBusinessP(bool on) { onBusiness_ = on; }
    const QString& prevTimeStr() const { return prevTime_; }
    void setPrevTimeStr(const QString& text) { prevTime_ = text; }
    const std::optional<CalDate>& myInputCalDate() const { return input_; }
    void setMyInputCalDate(const CalDate& date) { input_ = date; }

    void enterLogIn();  // checkLogFile, then checkInLog
    void enterLogOut(); // checkLogFile, then checkOutLog
    void checkInLog();
    void checkOutLog();
    // Records one punch; on success moves the state on and says so.
    void checkLogFile(const CalDate& punch, const CalDate& now, PunchKind kind);

private:
    // Runs the time-entry dialog; true when it confirmed a time.
    bool askForgottenPunch(const CalDate& press, bool forCkin);

    TimeLogStore& store_;
    const Clock& clock_;
    Hooks hooks_;
    bool onBusiness_ = false;
    QString prevTime_;
    std::optional<CalDate> input_;
};

} // namespace fennick
