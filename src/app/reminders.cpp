#include "app/reminders.h"

#include <algorithm>
#include <chrono>

namespace fennick {

Reminders::Reminders(const Clock& clock, QObject* parent)
    : QObject(parent), clock_(clock), notifier_(this) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Reminders::due);
    connect(&notifier_, &Notifier::checkOutRequested, this, &Reminders::checkOutRequested);
    connect(&notifier_, &Notifier::unavailable, this, &Reminders::unavailable);
}

void Reminders::check(const std::optional<CalDate>& since, const ReminderSettings& settings) {
    const CalDate now = clock_.now();
    const ReminderPlan plan = planReminders(now, since, settings, sent_);
    if (plan.sendLong)
        notifier_.notify(QStringLiteral("fennick"), longReminderText(settings.afterHours));
    if (plan.sendDaily)
        notifier_.notify(QStringLiteral("fennick"), dailyReminderText(*since));
    if (since)
        markSent(sent_, plan, now, *since);
    timer_.stop();
    if (plan.next) {
        // At most an hour at a time: the timer's clock stops while the
        // machine sleeps, the wall clock does not.
        const std::int64_t secs =
            std::clamp<std::int64_t>(plan.next->instant() - now.instant(), 1, 3600);
        timer_.start(std::chrono::seconds(secs));
    }
}

} // namespace fennick
