#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace fennick {

// The four calendar formats the system uses. Each stands for a fixed pattern:
//   MonthKey     "%Y%m"
//   Compact      "%Y%m%d%H%M%S"
//   Display      "%Y/%m/%d %H:%M:%S"
//   LogFileName  "TLOG%Y%m.txt"
enum class CalFormat { MonthKey, Compact, Display, LogFileName };

// Wall-clock fields of a local time.
struct CalFields {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
    friend bool operator==(const CalFields&, const CalFields&) = default;
};

// An instant (whole seconds since the epoch) seen in the local time zone.
//
// Local wall times that the clocks skip are moved forward by the size of the
// gap (02:30 on a day that jumps from 02:00 to 03:00 reads as 03:30), so the
// first instant of every day and month exists. A wall time that occurs twice
// reads as its first occurrence.
class CalDate {
public:
    static CalDate fromInstant(std::int64_t secsSinceEpoch);

    // Strict parse: the whole text must match the format with ASCII digits and
    // real calendar values (month 1-12, a day that exists, hour 0-23, minute
    // and second 0-59). Anything else is absent, never a "nearby" date.
    static std::optional<CalDate> parse(QStringView text, CalFormat format);

    // Builds a local time from fields in their calendar ranges; absent when a
    // field is out of range (month 13, hour 24, day 31 in April ...).
    static std::optional<CalDate> fromFields(const CalFields& fields);

    QString format(CalFormat format) const;

    std::int64_t instant() const { return t_; }
    const CalFields& fields() const { return f_; }
    int year() const { return f_.year; }
    int month() const { return f_.month; }
    int day() const { return f_.day; }
    int hour() const { return f_.hour; }
    int minute() const { return f_.minute; }
    int second() const { return f_.second; }

    // Calendar arithmetic keeping the local clock time; a day that does not
    // exist in the target month carries into the next month.
    CalDate addMonths(int months) const;
    CalDate addDays(int days) const;

    // The first instant of the next calendar day / month. Where the clocks
    // jump at midnight a day starts at 01:00, so adding a day to the 01:00
    // start would miss the following midnight; these never do.
    CalDate nextDayStart() const;
    CalDate nextMonthStart() const;

    // Receiver minus other, in seconds; positive when the receiver is later.
    double intervalSince(const CalDate& other) const { return double(t_ - other.t_); }

    friend bool operator==(const CalDate& a, const CalDate& b) { return a.t_ == b.t_; }
    friend auto operator<=>(const CalDate& a, const CalDate& b) { return a.t_ <=> b.t_; }

private:
    CalDate(std::int64_t t, const CalFields& f) : t_(t), f_(f) {}
    static CalDate fromWall(const CalFields& wall);

    std::int64_t t_ = 0;
    CalFields f_;
};

// Re-reads the TZ environment variable; call after changing it at run time.
void timeZoneChanged();

// The month key "%Y%m" of the month `monthsBack` months before the given
// date's month, computed from year and month alone.
QString monthKeyBefore(const CalDate& date, int monthsBack);

// An interval in seconds, truncated toward zero and clamped to the int32 range.
std::int32_t clampSeconds(double seconds);

} // namespace fennick
