#pragma once

#include "platform/caldate.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <optional>

namespace fennick {

class Settings;

// "remindAfterHours": whole hours checked in before the long reminder; 0 is
// off, absent is the default of 10. "remindDailyAt": "HH:MM" of the daily
// reminder; absent or empty is none.
inline const QString kRemindAfterHoursKey = QStringLiteral("remindAfterHours");
inline const QString kRemindDailyAtKey = QStringLiteral("remindDailyAt");
inline constexpr int kDefaultRemindAfterHours = 10;
inline constexpr int kMaxRemindAfterHours = 24;

struct ReminderSettings {
    int afterHours = kDefaultRemindAfterHours; // 0: no long reminder
    std::optional<int> dailyMinute;            // minutes after local midnight
};

ReminderSettings reminderSettings(const Settings& settings);
void setReminderSettings(Settings& settings, const ReminderSettings& reminders);

// What was already sent, so each kind goes out once per interval.
struct RemindersSent {
    std::optional<std::int64_t> longForCheckIn; // the check-in's instant
    std::optional<QString> dailyOn;             // the day key "%Y%m%d"
};

struct ReminderPlan {
    bool sendLong = false;
    bool sendDaily = false;
    std::optional<CalDate> next; // when to look again; absent: not until a punch
};

// Checked out (`checkedInAt` absent) nothing is due and nothing to wait for.
// The long reminder is due once `afterHours` have passed since the check-in;
// the daily one once today's daily time has passed, if the check-in came
// before it.
ReminderPlan planReminders(const CalDate& now, const std::optional<CalDate>& checkedInAt,
                           const ReminderSettings& settings, const RemindersSent& sent);

// Marks what the plan sent as sent.
void markSent(RemindersSent& sent, const ReminderPlan& plan, const CalDate& now,
              const CalDate& checkedInAt);

struct ReminderText {
    Q_DECLARE_TR_FUNCTIONS(fennick::ReminderText)
};

// "Checked in for more than 10 hours — check out?" ("an hour" for 1)
QString longReminderText(int afterHours);
// "Still checked in since 08:12 — check out?"
QString dailyReminderText(const CalDate& checkedInAt);

} // namespace fennick
