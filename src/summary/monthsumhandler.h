#pragma once

#include "platform/caldate.h"
#include "platform/clock.h"
#include "timelog/logfile.h"
#include "timelog/record.h"

#include <QList>

#include <QMap>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace fennick {

// A total: seconds and, optionally, a key naming what was summed.
class sumobject {
public:
    std::int32_t sumValue() const { return value_; }
    void setSumValue(std::int32_t value) { value_ = value; }
    const std::optional<QString>& keyDateStr() const { return key_; }
    void setKeyDateStr(std::optional<QString> key) { key_ = std::move(key); }

private:
    std::optional<QString> key_;
    std::int32_t value_ = 0;
};

// One record line of a month file as read: its kind and its punch time,
// absent when the time token is no compact timestamp.
struct LoggedPunch {
    std::optional<CalDate> time;
    PunchKind kind = PunchKind::CheckIn;
};

// Day key ("%Y%m%d") -> seconds booked to that day.
using DayTotals = QMap<QString, sumobject>;

// Reads one month's time log file for one report refresh. Every call reads
// the file again; the *Buff operations work on a text and need no file.
class MonthSumHandler {
public:
    // `clock` gives "now" for a check-in still open at the end of the file.
    MonthSumHandler(std::optional<QString> monthFilePath, const Clock& clock);

    const std::optional<QString>& monthFilePath() const { return path_; }
    void setMonthFilePath(std::optional<QString> path) { path_ = std::move(path); }

    // Why the last read of the file failed; absent after a successful one.
    const std::optional<ReadFailure>& readFailure() const { return failure_; }

    // Absent when there is no path or the file cannot be read.
    std::optional<QList<LoggedPunch>> getLogArray() const;
    std::optional<sumobject> calcMonthSum() const;
    std::optional<DayTotals> calcDaySum() const;

    // One entry per record line, in file order.
    QList<LoggedPunch> getLogArrayBuff(QStringView text) const;
    // Seconds worked; an interval with an unreadable start or end counts 0,
    // each interval and the total are clamped to the int32 range.
    sumobject sumMonthBuff(QStringView text) const;
    // The same intervals booked by day; for the same text and "now" the
    // entries add up to sumMonthBuff's total unless a day had to be clamped.
    DayTotals sumDayBuff(QStringView text) const;

    // Books the interval from `from` to `to` into `days`, cut at every local
    // midnight; each piece goes to the day on which it starts, and a piece
    // ending exactly at midnight stays with the day before. An interval that
    // ends before it starts, or is longer than 366 days, goes whole to its
    // start day. Entries saturate at the int32 limits.
    static DayTotals& calcDayByDaySums(DayTotals& days, const CalDate& to, const CalDate& from);

private:
    std::optional<QString> path_;
    const Clock& clock_;
    mutable std::optional<ReadFailure> failure_;
};

} // namespace fennick
