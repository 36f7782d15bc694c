#pragma once

#include "platform/caldate.h"

#include <QString>
#include <optional>

namespace fennick {

// The texts of the time-entry dialog's five entry fields.
struct EntryTexts {
    QString year;
    QString month;
    QString day;
    QString hour;
    QString minute;
};

// The local time the fields name, with the second 0. Each field must be a
// whole number (spaces around it allowed) within its calendar range; month 13,
// hour 24, minute 60, day 0, 30 February, an empty field or text give none,
// so an entry is never carried into another day.
std::optional<CalDate> enteredTime(const EntryTexts& fields);

// The time to record for a forgotten punch, or none when the entry must be
// refused. It must not be earlier than the last punch (`prevTimeStr`, a
// compact timestamp; when that cannot be read there is no lower bound) and
// not later than the moment of the press (`nowFieldText`, as shown in the
// dialog in the display format).
std::optional<CalDate> acceptEntry(const EntryTexts& fields, const QString& prevTimeStr,
                                   const QString& nowFieldText);

} // namespace fennick
