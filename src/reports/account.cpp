#include "reports/account.h"

#include "platform/texts.h"
#include "timelog/conflicts.h"

#include <QCoreApplication>
#include <algorithm>

namespace fennick {

namespace {

QDate dateOf(const CalDate& date) {
    return QDate(date.year(), date.month(), date.day());
}

QString monthKeyOf(QDate date) {
    return QString::number(date.year()).rightJustified(4, u'0') +
           QString::number(date.month()).rightJustified(2, u'0');
}

void addDays(DayTotals& into, const DayTotals& from, const QString& firstKey,
             const QString& lastKey) {
    for (auto it = from.cbegin(); it != from.cend(); ++it) {
        if (it.key() >= firstKey && it.key() <= lastKey)
            into[it.key()].setSumValue(into.value(it.key()).sumValue() + it.value().sumValue());
    }
}

// A check-in still open at the end of an older month's file: that file counts
// up to its month's end, and no file counts the stretch since, so it is
// booked here from the first instant after that month up to now.
DayTotals openStretchAfterItsMonth(const LogFolder& folder, const CalDate& now) {
    DayTotals days;
    const std::optional<NewestRecord> newest = newestRecord(folder);
    if (!newest || newest->kind != PunchKind::CheckIn || newest->timeToken.size() != 14)
        return days;
    const auto checkIn = CalDate::parse(newest->timeToken, CalFormat::Compact);
    const auto tokenMonth = CalDate::parse(newest->timeToken.left(6), CalFormat::MonthKey);
    if (!checkIn || !tokenMonth)
        return days;
    const CalDate from = tokenMonth->nextMonthStart();
    if (from < now)
        MonthSumHandler::calcDayByDaySums(days, now, from);
    return days;
}

} // namespace

bool WeekTargets::any() const {
    return std::any_of(minutes.begin(), minutes.end(), [](int m) { return m > 0; });
}

std::int64_t WeekTargets::daySeconds(int isoWeekday) const {
    if (isoWeekday < 1 || isoWeekday > 7)
        return 0;
    return std::max(0, minutes[std::size_t(isoWeekday - 1)]) * std::int64_t(60);
}

std::int64_t WeekTargets::weekSeconds() const {
    std::int64_t total = 0;
    for (int day = 1; day <= 7; ++day)
        total += daySeconds(day);
    return total;
}

std::optional<std::int64_t> Account::leftTodaySeconds() const {
    if (!todayTargetSeconds)
        return std::nullopt;
    return std::max<std::int64_t>(0, *todayTargetSeconds - todaySeconds);
}

std::optional<std::int64_t> Account::balanceSeconds() const {
    if (!weekTargetSeconds)
        return std::nullopt;
    return weekSeconds - *weekTargetSeconds;
}

QString dayKeyOf(QDate date) {
    return monthKeyOf(date) + QString::number(date.day()).rightJustified(2, u'0');
}

QDate weekStart(QDate date) {
    return date.addDays(1 - date.dayOfWeek());
}

DayTotals dayTotalsBetween(QDate first, QDate last, const LogFolder& folder, const Clock& clock,
                           QList<FileFailure>& unreadable) {
    DayTotals days;
    const QString firstKey = dayKeyOf(first);
    const QString lastKey = dayKeyOf(last);
    const CalDate now = clock.now();
    const QDate thisMonth(now.year(), now.month(), 1);
    // Time booked from this month's file means it holds the newest record,
    // and its own pairing counts an open check-in up to now.
    bool thisMonthCounted = false;
    for (QDate month(first.year(), first.month(), 1); month <= last; month = month.addMonths(1)) {
        const MonthRead read = readMonth(folder, monthKeyOf(month));
        unreadable += read.unreadable;
        if (!read.text)
            continue;
        const DayTotals monthDays = MonthSumHandler(std::nullopt, clock).sumDayBuff(*read.text);
        addDays(days, monthDays, firstKey, lastKey);
        thisMonthCounted = thisMonthCounted || (month == thisMonth && !monthDays.isEmpty());
    }
    if (last >= thisMonth && !thisMonthCounted)
        addDays(days, openStretchAfterItsMonth(folder, now), firstKey, lastKey);
    return days;
}

Account account(const LogFolder& folder, const Clock& clock, const WeekTargets& targets) {
    Account result;
    const QDate today = dateOf(clock.now());
    const QDate monday = weekStart(today);
    const DayTotals days =
        dayTotalsBetween(monday, monday.addDays(6), folder, clock, result.unreadable);
    result.dayKey = dayKeyOf(today);
    result.todaySeconds = days.value(result.dayKey).sumValue();
    for (const sumobject& day : days)
        result.weekSeconds += day.sumValue();
    if (targets.any()) {
        result.todayTargetSeconds = targets.daySeconds(today.dayOfWeek());
        result.weekTargetSeconds = targets.weekSeconds();
    }
    return result;
}

QString hoursMinutes(std::int64_t seconds) {
    return fillDuration(QStringLiteral("%02d:%02d"), seconds);
}

// The window shows whole minutes, so what is left and the balance are
// worked out from whole minutes too: the lines add up at every tick.
AccountLines accountLines(const Account& account) {
    const auto wholeMinutes = [](std::int64_t seconds) { return seconds / 60 * 60; };
    Account shown = account;
    shown.todaySeconds = wholeMinutes(account.todaySeconds);
    shown.weekSeconds = wholeMinutes(account.weekSeconds);
    AccountLines lines;
    lines.today =
        QCoreApplication::translate("Account", "Today: %1").arg(hoursMinutes(shown.todaySeconds));
    if (const auto left = shown.leftTodaySeconds())
        lines.left =
            QCoreApplication::translate("Account", "Left today: %1").arg(hoursMinutes(*left));
    if (const auto balance = shown.balanceSeconds())
        lines.balance =
            QCoreApplication::translate("Account", "Week balance: %1").arg(hoursMinutes(*balance));
    return lines;
}

int msecsToNextMinute(const CalDate& now) {
    return (60 - now.second()) * 1000;
}

} // namespace fennick
