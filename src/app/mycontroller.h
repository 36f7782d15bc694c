#pragma once

#include "app/shell/settings.h"
#include "app/shell/startup.h"
#include "platform/clock.h"
#include "timelog/store.h"
#include "timelog/timeclock.h"

#include <QObject>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMainWindow;
class QMenuBar;
class QPushButton;
class QSystemTrayIcon;

namespace fennick {

class ActivityIndicator;
class CheckInWindow;
class DailyChart;
class PrefWindow;
class ReportWindow;
enum class ReportKind;
class TimeEntryDialog;

// What the controller needs of the outside world. Tests replace every part.
struct ControllerEnv {
    const Clock* clock = nullptr;
    StartupEnv startup;        // version query, beep, sleep, log, home
    QString settingsPath;      // empty: the per-user settings file
    bool offerTrayIcon = true; // only where the desktop has a tray
};

// Owns all windows, controls and state; the glue between the windows and the
// time log. Logic that needs no window lives in the core and is called here.
class MyController : public QObject {
    Q_OBJECT

public:
    enum class Command {
        ShowCheckIn,
        ShowLog,
        ShowSum1,
        ShowSum2,
        CheckIn,
        CheckOut,
        Preferences,
        Print,
        PrintPreview,
        ExportPdf,
        ExportCsv,
        Quit,
    };

    explicit MyController(ControllerEnv env, QObject* parent = nullptr);
    ~MyController() override;

    // Start-up. False when the version gate refused to run; the caller quits.
    bool awakeFromNib();

    void saveDefaults();
    void setPrevTimeStr(const QString& text) { timeClock_->setPrevTimeStr(text); }
    const QString& prevTimeStr() const { return timeClock_->prevTimeStr(); }
    bool onBusinessP() const { return timeClock_->onBusinessP(); }
    const std::optional<QString>& logsDirPathStr() const { return store_->logsDirPathStr(); }
    TimeLogStore& store() { return *store_; }
    TimeClock& timeClock() { return *timeClock_; }
    int myCurrentPrevMonth() const { return myCurrentPrevMonth_; }

    void prepCheckInWindow();
    bool validateMenuItem(const QAction* item) const;
    QAction* action(Command command) const;

    CheckInWindow* ckinWindow() const { return ckinWindow_.get(); }
    // The report windows, the preferences window and the time-entry dialog
    // are made when first needed, so start-up only builds the check-in window.
    ReportWindow* logWindow() { return ensureReportWindows(), logWindow_.get(); }
    ReportWindow* sum1Window() { return ensureReportWindows(), sum1Window_.get(); }
    ReportWindow* sum2Window() { return ensureReportWindows(), sum2Window_.get(); }
    DailyChart* dailyChart() { return ensureReportWindows(), dailyChart_; }
    // The report window in front, if one is.
    ReportWindow* frontReportWindow() const;
    PrefWindow* prefWindow();
    TimeEntryDialog* ckTimeWindow();

    int enterTimeDialog(const CalDate& now, const QString& prevTime, bool forCkin);

    // Report windows: the month key of a cursor, the fills and the buttons.
    std::optional<QString> getDateString(int n) const;
    void calcLogWinData();
    void calcSum1WinData();
    void calcSum2WinData();
    void checkMoveLogButton();
    void checkMoveSum1Button();
    void checkMoveSum2Button();

public slots:
    void showCheckInWindow();
    void showLogWindow();
    void showSum1Window();
    void showSum2Window();
    void enterLogIn();
    void enterLogOut();
    void doPrefOpen();
    void doPrefOKButton();
    void doPrefCancelButton();
    void goNextLog();
    void goPrevLog();
    void goNextSum1();
    void goPrevSum1();
    void goNextSum2();
    void goPrevSum2();
    void quit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createCheckInWindow();
    void ensureReportWindows();
    void adoptMainWindow(QMainWindow* window);
    void createTrayIcon();
    void installMenus(QMainWindow* window);
    void revalidateActions();
    void showMainWindow(QMainWindow* window);
    std::unique_ptr<ReportWindow> makeReportWindow(ReportKind kind, const QString& objectName);
    // Refreshes the current file and the index, sets the buttons, fills and shows.
    void showReportWindow(std::unique_ptr<ReportWindow> MyController::*window,
                          void (MyController::*check)(), void (MyController::*fill)());
    void checkMoveSomeButton(ReportWindow& window, bool yearP);
    using CursorMove = int (*)(int, const std::function<bool(int)>&);
    // Moves the cursor, then refills the window and checks its buttons.
    void moveCursor(CursorMove move, void (MyController::*fill)(), void (MyController::*check)());
    QList<QMainWindow*> mainWindows() const;

    ControllerEnv env_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<TimeLogStore> store_;
    std::unique_ptr<TimeClock> timeClock_;
    int myCurrentPrevMonth_ = 0;

    std::unique_ptr<CheckInWindow> ckinWindow_;
    std::unique_ptr<ReportWindow> logWindow_;
    std::unique_ptr<ReportWindow> sum1Window_;
    std::unique_ptr<ReportWindow> sum2Window_;
    DailyChart* dailyChart_ = nullptr; // owned by sum1Window_
    std::unique_ptr<PrefWindow> prefWindow_;
    std::unique_ptr<TimeEntryDialog> ckTimeWindow_;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    std::map<Command, QAction*> actions_; // owned by this object (Qt parent)
};

} // namespace fennick
