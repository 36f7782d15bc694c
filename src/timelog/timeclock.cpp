#include "timelog/timeclock.h"

#include "timelog/logedit.h"

#include <QCoreApplication>

namespace fennick {

TimeClock::TimeClock(TimeLogStore& store, const Clock& clock, Hooks hooks)
    : store_(store), clock_(clock), hooks_(std::move(hooks)) {}

QString punchStepName(PunchKind kind, const CalDate& punch) {
    const QString time = punch.format(CalFormat::Display).mid(11, 5);
    return kind == PunchKind::CheckIn
               ? QCoreApplication::translate("fennick::TimeClock", "Check In at %1").arg(time)
               : QCoreApplication::translate("fennick::TimeClock", "Check Out at %1").arg(time);
}

bool TimeClock::followLog() {
    const std::optional<NewestRecord> newest =
        newestRecord(LogFolder::scanned(store_.logsDirPathStr()));
    if (!newest)
        return false;
    const State logged{newest->kind == PunchKind::CheckIn, newest->timeToken};
    if (logged == state())
        return false;
    onBusiness_ = logged.onBusiness;
    prevTime_ = logged.prevTime;
    if (hooks_.punchRecorded)
        hooks_.punchRecorded();
    return true;
}

FolderLock TimeClock::takeLock() const {
    return locker_ ? locker_() : store_.lockFolder();
}

void TimeClock::checkMonthFile() {
    const FolderLock lock = takeLock();
    store_.checkLogFile();
}

void TimeClock::enterLogIn() {
    checkMonthFile();
    checkInLog();
}

void TimeClock::enterLogOut() {
    checkMonthFile();
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
    FolderLock lock = takeLock();
    followLog();
    punchIn(press, std::move(lock));
}

void TimeClock::checkOutLog() {
    const CalDate press = clock_.now();
    FolderLock lock = takeLock();
    followLog();
    punchOut(press, std::move(lock));
}

void TimeClock::toggleLog() {
    const CalDate press = clock_.now();
    FolderLock lock = takeLock();
    // Decided under the same lock as the punch, so two toggles never both
    // check in.
    followLog();
    if (onBusiness_)
        punchOut(press, std::move(lock));
    else
        punchIn(press, std::move(lock));
}

void TimeClock::punchIn(const CalDate& press, FolderLock lock) {
    std::optional<CalDate> forgotten;
    if (onBusiness_ && !prevTime_.isEmpty()) {
        // No writer waits on a dialog: the lock is let go while it is open.
        lock.release();
        if (!askForgottenPunch(press, true))
            return;
        forgotten = input_;
        lock = takeLock();
    }
    record(forgotten, press, PunchKind::CheckIn, lock);
}

void TimeClock::punchOut(const CalDate& press, FolderLock lock) {
    std::optional<CalDate> forgotten;
    if (!onBusiness_) {
        if (prevTime_.isEmpty()) {
            if (hooks_.beep)
                hooks_.beep();
            return;
        }
        lock.release();
        if (!askForgottenPunch(press, false))
            return;
        forgotten = input_;
        lock = takeLock();
    }
    record(forgotten, press, PunchKind::CheckOut, lock);
}

void TimeClock::record(const std::optional<CalDate>& forgotten, const CalDate& press,
                       PunchKind kind, const FolderLock&) {
    // Another writer may have punched while the dialog was open: the
    // forgotten punch it asked for may be one no longer missing.
    if (forgotten && followLog()) {
        if (hooks_.beep)
            hooks_.beep();
        return;
    }
    LogStep step{punchStepName(kind, press), {}, {}};
    const PunchKind forgottenKind =
        kind == PunchKind::CheckIn ? PunchKind::CheckOut : PunchKind::CheckIn;
    for (const auto& [time, what] :
         {std::pair{forgotten, forgottenKind}, std::pair{std::optional(press), kind}}) {
        if (!time)
            continue;
        // A forgotten punch that cannot be written does not stop the
        // pressed one.
        if (!checkLogFile(*time, clock_.now(), what))
            continue;
        const FileEdit& edit = *store_.lastAppend();
        const QList<RecordLine> lines = recordLines(edit.after);
        step.edits.append(edit);
        step.appendedLines.append(lineOf(edit.after, lines.last()));
    }
    if (!step.edits.isEmpty() && hooks_.stepRecorded)
        hooks_.stepRecorded(step);
}

bool TimeClock::checkLogFile(const CalDate& punch, const CalDate& now, PunchKind kind) {
    if (!store_.appendPunch(punch, now, kind)) {
        if (hooks_.punchFailed && store_.lastFailure())
            hooks_.punchFailed(*store_.lastFailure());
        return false;
    }
    onBusiness_ = kind == PunchKind::CheckIn;
    prevTime_ = punch.format(CalFormat::Compact);
    if (hooks_.punchRecorded)
        hooks_.punchRecorded();
    return true;
}

} // namespace fennick
