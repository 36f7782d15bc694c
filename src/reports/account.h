#pragma once

#include "platform/clock.h"
#include "summary/monthsumhandler.h"
#include "timelog/store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace fennick {

// Minutes the person means to work on each weekday, Monday first; 0 is no
// target for that day. With every day at 0 there is no target at all, and
// nothing about targets is shown.
struct WeekTargets {
    std::array<int, 7> minutes{};

    bool any() const;
    // The target of a day, by its ISO weekday (1 = Monday ... 7 = Sunday).
    std::int64_t daySeconds(int isoWeekday) const;
    std::int64_t weekSeconds() const;
};

// Today's and this ISO week's (Monday first) time worked, open stretch
// included, booked to days by the same local midnights as the daily sums.
struct Account {
    QString dayKey; // today, "%Y%m%d"
    std::int64_t todaySeconds = 0;
    std::int64_t weekSeconds = 0;
    // Absent when there is no target.
    std::optional<std::int64_t> todayTargetSeconds;
    std::optional<std::int64_t> weekTargetSeconds;
    QList<FileFailure> unreadable; // month files there but unreadable

    // What is still to do today, never below 0; absent without a target.
    std::optional<std::int64_t> leftTodaySeconds() const;
    // Worked this week minus the week's target; absent without a target.
    std::optional<std::int64_t> balanceSeconds() const;
};

Account account(const LogFolder& folder, const Clock& clock, const WeekTargets& targets);

// The lines under the last punch in the check-in window.
struct AccountLines {
    QString today;                  // "Today: 03:12"
    std::optional<QString> left;    // "Left today: 04:48"
    std::optional<QString> balance; // "Week balance: -36:48"
};
AccountLines accountLines(const Account& account);

// Milliseconds from `now` to the start of the next minute (1..60000).
int msecsToNextMinute(const CalDate& now);

// Seconds per day key for every day from `first` to `last`, read from the
// files of the months those days lie in; days without work have no entry.
// Month files that are there but cannot be read count as empty and are
// added to `unreadable`.
DayTotals dayTotalsBetween(QDate first, QDate last, const LogFolder& folder, const Clock& clock,
                           QList<FileFailure>& unreadable);

// The day key "%Y%m%d" of a date.
QString dayKeyOf(QDate date);

// The Monday of the ISO week holding `date`.
QDate weekStart(QDate date);

// Hours and minutes, with a minus sign when negative: "-01:30".
QString hoursMinutes(std::int64_t seconds);

} // namespace fennick
