#pragma once

#include "timelog/record.h"

#include <QString>

namespace fennick {

// What the check-in window shows for the punch state, and what the terminal's
// status and the time-entry dialog take from it.
struct CheckInState {
    bool checkedIn = false;
    QString title;                           // "Now CheckIn..."
    QString message;                         // "Please CheckOut."
    QString lastPunchTitle;                  // "Last CheckIn time:"
    QString lastPunchTime;                   // see lastPunchText; empty before the first punch
    PunchKind expected = PunchKind::CheckIn; // the punch the Return key makes
    bool checkOutEnabled = false;            // false before the first punch
};

CheckInState checkInState(bool onBusiness, const QString& prevTimeStr);

// The last punch time as shown: the display form of a compact timestamp; a
// value edited by hand that is no timestamp is shown as it stands.
QString lastPunchText(const QString& prevTimeStr);

} // namespace fennick
