#include "timelog/timeclock.h"

namespace fennick {

TimeClock::TimeClock(TimeLogStore& store, const Clock& clock, Hooks hooks)
    : store_(store), clock_(clock), hooks_(std::move(hooks)) {}

void TimeClock::enterLogIn() {
    store_.checkLogFile();
    checkInLog();
}

void TimeClock::enterLogOut() {
    store_.checkLogFile();
    checkOutLog();
}

bool TimeClock::askForgottenPunch(const CalDate& press, bool forCkin) {
    if (!hooks_.enterTimeDialog ||
        hooks_.enterTimeDialog(press, prevTime_, forCkin) != kModalStopped)
        return false;
    // A dialog that reports success without a time gives nothing to record.
    return input_.has_value();
}

void TimeClock::checkInLog() {
    const CalDate press = clock_.now();
    if (onBusiness_ && !prevTime_.isEmpty()) {
        if (!askForgottenPunch(press, true))
            return;
        checkLogFile(*input_, clock_.now(), PunchKind::CheckOut);
    }
    checkLogFile(press, clock_.now(), PunchKind::CheckIn);
}

void TimeClock::checkOutLog() {
    const CalDate press = clock_.now();
    if (!onBusiness_) {
        if (prevTime_.isEmpty()) {
            if (hooks_.beep)
                hooks_.beep();
            return;
        }
        if (!askForgottenPunch(press, false))
            return;
        checkLogFile(*input_, clock_.now(), PunchKind::CheckIn);
    }
    checkLogFile(press, clock_.now(), PunchKind::CheckOut);
}

void TimeClock::checkLogFile(const CalDate& punch, const CalDate& now, PunchKind kind) {
    if (!store_.appendPunch(punch, now, kind))
        return;
    onBusiness_ = kind == PunchKind::CheckIn;
    prevTime_ = punch.format(CalFormat::Compact);
    if (hooks_.punchRecorded)
        hooks_.punchRecorded();
}

} // namespace fennick
