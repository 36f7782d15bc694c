#pragma once

#include "app/notifier.h"
#include "platform/clock.h"
#include "shell/reminder.h"

#include <QObject>
#include <QTimer>

namespace fennick {

// Reminds of a forgotten check-out: sends what is due through the desktop's
// notifications and arms one timer for the next moment to look again.
class Reminders : public QObject {
    Q_OBJECT

public:
    explicit Reminders(const Clock& clock, QObject* parent = nullptr);

    // Looks again, for a person checked in since `since` (absent: checked out).
    void check(const std::optional<CalDate>& since, const ReminderSettings& settings);

signals:
    // The notification's Check Out action.
    void checkOutRequested();
    // No notification service: say it another way (the tray's message).
    void unavailable(const QString& title, const QString& body);
    // The timer ran out: the owner calls check() with the state of now.
    void due();

private:
    const Clock& clock_;
    Notifier notifier_;
    QTimer timer_;
    RemindersSent sent_;
};

} // namespace fennick
