#include "app/preferences.h"

#include "shell/autostart.h"
#include "shell/reminder.h"
#include "windows/prefwindow.h"

namespace fennick {

Preferences::Preferences(Settings& settings, QString homeDir, LogSink log, QObject* parent)
    : QObject(parent), settings_(settings), homeDir_(std::move(homeDir)), log_(std::move(log)) {}

Preferences::~Preferences() = default;

PrefWindow* Preferences::window(const QString& logFolder) {
    if (!window_) {
        window_ = std::make_unique<PrefWindow>();
        window_->setLogDirectory(logFolder);
        showStored();
        connect(window_.get(), &PrefWindow::okPressed, this, &Preferences::accept);
        connect(window_.get(), &PrefWindow::cancelPressed, this, &Preferences::cancel);
        connect(window_.get(), &PrefWindow::chooseFolderPressed, this,
                &Preferences::chooseFolderRequested);
    }
    return window_.get();
}

void Preferences::open(const QString& logFolder) {
    window(logFolder)->show();
    window_->raise();
    window_->activateWindow();
}

void Preferences::showFolder(const QString& logFolder) {
    if (window_)
        window_->setLogDirectory(logFolder);
}

void Preferences::showStored() {
    window_->setTargetMinutes(settings_.targetMinutes());
    const ReminderSettings reminders = reminderSettings(settings_);
    window_->setReminders(reminders.afterHours, reminders.dailyMinute);
    window_->setStartAtLogin(autostartEnabled(homeDir_));
}

void Preferences::accept() {
    window_->hide();
    applyStartAtLogin();
    const ReminderSettings old = reminderSettings(settings_);
    const ReminderSettings wanted{window_->remindAfterHours(), window_->remindDailyMinute()};
    if (old.afterHours != wanted.afterHours || old.dailyMinute != wanted.dailyMinute) {
        setReminderSettings(settings_, wanted);
        settings_.synchronize();
        emit remindersChanged();
    }
    if (window_->targetMinutes() != settings_.targetMinutes()) {
        settings_.setTargetMinutes(window_->targetMinutes());
        settings_.synchronize();
        emit targetsChanged();
    }
}

void Preferences::applyStartAtLogin() {
    const bool wanted = window_->startAtLogin();
    if (wanted != autostartEnabled(homeDir_) && !setAutostart(homeDir_, wanted) && log_)
        log_(logLine("Autostart:%@ write error!", autostartFilePath(homeDir_)));
    // The box shows what is on disk, also after a failed write.
    window_->setStartAtLogin(autostartEnabled(homeDir_));
}

void Preferences::cancel() {
    window_->hide();
    showStored();
}

} // namespace fennick
