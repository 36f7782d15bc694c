#include "shell/reminder.h"

#include "shell/settings.h"

#include <QTime>

namespace fennick {

namespace {

QString dayKey(const CalDate& date) {
    return date.format(CalFormat::Compact).left(8);
}

// The daily time on the day of `day`; a time the clocks skip moves forward.
std::optional<CalDate> dailyTimeOn(const CalDate& day, int minute) {
    CalFields fields = day.fields();
    fields.hour = minute / 60;
    fields.minute = minute % 60;
    fields.second = 0;
    return CalDate::fromFields(fields);
}

void takeEarlier(std::optional<CalDate>& next, const std::optional<CalDate>& candidate) {
    if (candidate && (!next || *candidate < *next))
        next = candidate;
}

} // namespace

ReminderSettings reminderSettings(const Settings& settings) {
    ReminderSettings reminders;
    const QString hours = settings.stringForKey(kRemindAfterHoursKey).trimmed();
    bool isNumber = false;
    const int value = hours.toInt(&isNumber);
    if (isNumber && value >= 0 && value <= kMaxRemindAfterHours)
        reminders.afterHours = value;
    const QTime daily = QTime::fromString(settings.stringForKey(kRemindDailyAtKey).trimmed(),
                                          QStringLiteral("HH:mm"));
    if (daily.isValid())
        reminders.dailyMinute = daily.hour() * 60 + daily.minute();
    return reminders;
}

void setReminderSettings(Settings& settings, const ReminderSettings& reminders) {
    settings.setString(kRemindAfterHoursKey, QString::number(reminders.afterHours));
    const int minute = reminders.dailyMinute.value_or(0);
    settings.setString(kRemindDailyAtKey, reminders.dailyMinute
                                              ? QTime(minute / 60, minute % 60).toString(u"HH:mm")
                                              : QString());
}

ReminderPlan planReminders(const CalDate& now, const std::optional<CalDate>& checkedInAt,
                           const ReminderSettings& settings, const RemindersSent& sent) {
    ReminderPlan plan;
    if (!checkedInAt)
        return plan;
    if (settings.afterHours > 0 && sent.longForCheckIn != checkedInAt->instant()) {
        const CalDate due =
            CalDate::fromInstant(checkedInAt->instant() + settings.afterHours * 3600LL);
        if (now >= due)
            plan.sendLong = true;
        else
            plan.next = due;
    }
    if (settings.dailyMinute) {
        const std::optional<CalDate> today = dailyTimeOn(now, *settings.dailyMinute);
        const bool sentToday = sent.dailyOn == dayKey(now);
        if (today && now < *today)
            takeEarlier(plan.next, today);
        else if (today && !sentToday && *checkedInAt < *today)
            plan.sendDaily = true;
        if (!today || now >= *today)
            takeEarlier(plan.next, dailyTimeOn(now.nextDayStart(), *settings.dailyMinute));
    }
    return plan;
}

void markSent(RemindersSent& sent, const ReminderPlan& plan, const CalDate& now,
              const CalDate& checkedInAt) {
    if (plan.sendLong)
        sent.longForCheckIn = checkedInAt.instant();
    if (plan.sendDaily)
        sent.dailyOn = dayKey(now);
}

QString longReminderText(int afterHours) {
    return afterHours == 1
               ? ReminderText::tr("Checked in for more than an hour — check out?")
               : ReminderText::tr("Checked in for more than %1 hours — check out?").arg(afterHours);
}

QString dailyReminderText(const CalDate& checkedInAt) {
    return ReminderText::tr("Still checked in since %1 — check out?")
        .arg(checkedInAt.format(CalFormat::Display).mid(11, 5));
}

} // namespace fennick
