#pragma once

#include "app/commands.h"
#include "app/folderchoice.h"
#include "app/logwatcher.h"
#include "app/mainwindows.h"
#include "app/preferences.h"
#include "app/punchedits.h"
#include "app/reminders.h"
#include "app/tray.h"
#include "platform/clock.h"
#include "reports/report.h"
#include "shell/reminder.h"
#include "shell/session.h"
#include "shell/startup.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QMainWindow;
class QSystemTrayIcon;

namespace fennick {

class CheckInWindow;
class PrefWindow;
class ReportWindow;
class TimeEntryDialog;

// What the controller needs of the outside world. Tests replace every part.
struct ControllerEnv {
    const Clock* clock = nullptr;
    StartupEnv startup;        // version query, beep, sleep, log, home
    QString settingsPath;      // empty: the per-user settings file
    bool offerTrayIcon = true; // only where the desktop has a tray
    FolderDialogs folderDialogs = FolderDialogs::standard();
};

// The glue between the windows and the punch session: it owns the windows,
// routes commands, and shows what the core computes.
class MyController : public QObject {
    Q_OBJECT

public:
    explicit MyController(ControllerEnv env, QObject* parent = nullptr);
    ~MyController() override;

    // Start-up. False when the version gate refused to run; the caller quits.
    bool awakeFromNib();

    PunchSession& session() { return session_; }
    const std::optional<QString>& logsDirPathStr() const;
    bool onBusinessP() const;
    int myCurrentPrevMonth() const { return cursor_; }

    QAction* action(Command command) const { return commands_.action(command); }
    bool validateMenuItem(const QAction* item) const;

    CheckInWindow* ckinWindow() const { return windows_.checkIn(); }
    // The report windows, the preferences window and the time-entry dialog
    // are made when first needed, so start-up only builds the check-in window.
    ReportWindow* reportWindow(ReportKind kind) { return windows_.report(kind); }
    // The report window in front, if one is.
    ReportWindow* frontReportWindow() const { return windows_.frontReport(); }
    PrefWindow* prefWindow();
    TimeEntryDialog* timeEntryDialog();

    // Shows the punch state in the check-in window.
    void prepCheckInWindow();
    // Refills a report window for the cursor and rechecks its buttons.
    void fill(ReportKind kind);
    // Moves the shared cursor from a report window, then refills it.
    void move(ReportKind kind, MoveDirection direction);
    // Takes the state from the log after a change made outside (by hand, the
    // terminal, a sync tool) and refreshes what is shown.
    void followLog();
    // True where the desktop has a tray and fennick put its icon there.
    bool hasTray() const { return tray_ != nullptr; }

public slots:
    void showCheckInWindow();
    void showReportWindow(ReportKind kind);
    void showLogWindow() { showReportWindow(ReportKind::Log); }
    void showSum1Window() { showReportWindow(ReportKind::DailySums); }
    void showSum2Window() { showReportWindow(ReportKind::MonthlySums); }
    void showWeekWindow() { showReportWindow(ReportKind::WeeklySums); }
    void enterLogIn();
    void enterLogOut();
    void undo();
    void redo();
    // Merges the conflict copies of every month into the month files.
    void mergeConflicts();
    void doPrefOpen();
    void doPrefOKButton();
    void doPrefCancelButton();
    // Preferences' "Choose…": another log folder, the files moved there or
    // not; the running session follows at once.
    void chooseLogFolder();
    void quit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TimeClock::Hooks punchHooks();
    WeekTargets targets() const;
    // Today's time and the week's balance in the check-in window.
    void prepAccount();
    // After any change of the log: the state, the window in front, the menu.
    void logChanged();

    void editPunch(Command command);
    std::optional<QString> shownMonthFile() const;

    void connectCommands();
    void adoptMainWindow(QMainWindow* window);
    void adoptReportWindow(ReportWindow* window);
    void createTrayIcon();
    // Sends what reminders are due and arms the one timer for the next.
    void remind();
    // The weekday targets changed: the check-in window and the report.
    void targetsChanged();
    void revalidateActions();
    // The settings name another log folder: the session, the watcher and
    // every window follow.
    void logFolderChanged();

    ControllerEnv env_;
    PunchSession session_;
    Commands commands_;
    int cursor_ = 0; // the report windows' shared month offset
    PunchEdits edits_;
    LogWatcher watcher_;
    QString filledSignature_; // of the folder when the front window was filled

    MainWindows windows_;
    std::unique_ptr<TimeEntryDialog> timeEntryDialog_;
    std::unique_ptr<Tray> tray_;
    Reminders reminders_;
    Preferences preferences_;
};

} // namespace fennick
