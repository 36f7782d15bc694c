#include "app/mycontroller.h"

#include "app/windowplaces.h"
#include "cli/output.h"
#include "timelog/checkinstate.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"
#include "windows/reportwindow.h"
#include "windows/timeentrydialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace fennick {

MyController::MyController(ControllerEnv env, QObject* parent)
    : QObject(parent), env_(std::move(env)),
      session_(*env_.clock, SessionEnv{env_.startup.homeDir, env_.settingsPath, env_.startup.log},
               punchHooks()),
      commands_(this), edits_(session_, *env_.clock),
      windows_([this](QMainWindow* window) { adoptMainWindow(window); },
               [this](ReportWindow* window) { adoptReportWindow(window); }),
      reminders_(*env_.clock, this),
      preferences_(session_.settings(), env_.startup.homeDir, env_.startup.log) {
    connectCommands();
    connect(&watcher_, &LogWatcher::settled, this, &MyController::followLog);
    connect(ckinWindow(), &CheckInWindow::checkInClicked, this, &MyController::enterLogIn);
    connect(ckinWindow(), &CheckInWindow::checkOutClicked, this, &MyController::enterLogOut);
    connect(ckinWindow(), &CheckInWindow::minuteTick, this, &MyController::prepAccount);
    connect(&reminders_, &Reminders::due, this, &MyController::remind);
    connect(&preferences_, &Preferences::remindersChanged, this, &MyController::remind);
    connect(&preferences_, &Preferences::targetsChanged, this, &MyController::targetsChanged);
    connect(&preferences_, &Preferences::chooseFolderRequested, this,
            &MyController::chooseLogFolder);
    connect(&reminders_, &Reminders::checkOutRequested, this, &MyController::enterLogOut);
    connect(&reminders_, &Reminders::unavailable, this,
            [this](const QString& title, const QString& body) {
                if (tray_)
                    tray_->showMessage(title, body);
            });
    revalidateActions();
}

MyController::~MyController() {
    // Windows hide as they go; the menu rule must not look at them then. A
    // report window still open at the end keeps its place for the next run.
    for (QMainWindow* window : windows_.all()) {
        if (auto* report = qobject_cast<ReportWindow*>(window); report && report->isVisible())
            saveWindowPlace(session_.settings(), *report);
        window->removeEventFilter(this);
    }
}

TimeClock::Hooks MyController::punchHooks() {
    TimeClock::Hooks hooks;
    hooks.enterTimeDialog = [this](const CalDate& now, const QString& prev, bool forCkin) {
        return timeEntryDialog()->enterTimeDialog(now, prev, forCkin);
    };
    hooks.beep = env_.startup.beep;
    hooks.punchRecorded = [this] { prepCheckInWindow(); };
    hooks.stepRecorded = [this](const LogStep&) { logChanged(); };
    hooks.punchFailed = [this](const FileFailure& failure) {
        PunchEdits::showPunchFailure(windows_.front(), failure);
    };
    return hooks;
}

bool MyController::awakeFromNib() {
    if (!versionAllowed(env_.startup.version())) {
        refuseToRun(env_.startup);
        quit();
        return false;
    }
    cursor_ = 0;
    session_.open();
    watcher_.watch(session_.store().folder());
    commands_.showHistory(session_.history());
    prepCheckInWindow();
    createTrayIcon();
    return true;
}

const std::optional<QString>& MyController::logsDirPathStr() const {
    return session_.store().logsDirPathStr();
}

bool MyController::onBusinessP() const {
    return session_.timeClock().onBusinessP();
}

void MyController::connectCommands() {
    const std::pair<Command, void (MyController::*)()> handlers[] = {
        {Command::ShowCheckIn, &MyController::showCheckInWindow},
        {Command::ShowLog, &MyController::showLogWindow},
        {Command::ShowDailySums, &MyController::showSum1Window},
        {Command::ShowMonthlySums, &MyController::showSum2Window},
        {Command::ShowWeeklySums, &MyController::showWeekWindow},
        {Command::CheckIn, &MyController::enterLogIn},
        {Command::CheckOut, &MyController::enterLogOut},
        {Command::Undo, &MyController::undo},
        {Command::Redo, &MyController::redo},
        {Command::Preferences, &MyController::doPrefOpen},
        {Command::Quit, &MyController::quit},
    };
    for (const auto& [command, handler] : handlers)
        connect(action(command), &QAction::triggered, this, handler);
    for (Command edit : {Command::ChangePunch, Command::DeletePunch, Command::InsertPunch})
        connect(action(edit), &QAction::triggered, this, [this, edit] { editPunch(edit); });
    // The printing and export commands act on the report window in front.
    const std::pair<Command, void (ReportWindow::*)()> onFront[] = {
        {Command::Print, &ReportWindow::print},
        {Command::PrintPreview, &ReportWindow::printPreview},
        {Command::ExportPdf, &ReportWindow::exportPdfAs},
        {Command::ExportCsv, &ReportWindow::exportCsvAs},
    };
    for (const auto& [command, slot] : onFront) {
        connect(action(command), &QAction::triggered, this, [this, slot = slot] {
            if (ReportWindow* w = frontReportWindow())
                (w->*slot)();
        });
    }
}

void MyController::adoptMainWindow(QMainWindow* window) {
    commands_.installMenus(window);
    window->installEventFilter(this);
}

void MyController::adoptReportWindow(ReportWindow* window) {
    const ReportKind kind = window->kind();
    connect(window, &ReportWindow::nextClicked, this,
            [this, kind] { move(kind, MoveDirection::Later); });
    connect(window, &ReportWindow::prevClicked, this,
            [this, kind] { move(kind, MoveDirection::Earlier); });
    connect(window, &ReportWindow::thisMonthClicked, this,
            [this, kind] { move(kind, MoveDirection::ThisMonth); });
    connect(window, &ReportWindow::selectionChanged, this, &MyController::revalidateActions);
    connect(window, &ReportWindow::mergeClicked, this, &MyController::mergeConflicts);
    adoptMainWindow(window);
    restoreWindowPlace(session_.settings(), *window);
}

PrefWindow* MyController::prefWindow() {
    return preferences_.window(logsDirPathStr().value_or(QString()));
}

TimeEntryDialog* MyController::timeEntryDialog() {
    if (!timeEntryDialog_)
        timeEntryDialog_ =
            std::make_unique<TimeEntryDialog>(env_.startup.beep, [this](const CalDate& date) {
                session_.timeClock().setMyInputCalDate(date);
            });
    return timeEntryDialog_.get();
}

void MyController::createTrayIcon() {
    if (!env_.offerTrayIcon || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    const auto toolTip = [this] {
        const TimeClock& clock = session_.timeClock();
        return trayToolTip(collectStatus(clock.onBusinessP(), clock.prevTimeStr(),
                                         LogFolder::scanned(logsDirPathStr()), *env_.clock));
    };
    tray_ = std::make_unique<Tray>(commands_.trayMenu(ckinWindow()), toolTip,
                                   [this] { showCheckInWindow(); });
}

void MyController::prepCheckInWindow() {
    const TimeClock& clock = session_.timeClock();
    ckinWindow()->showState(checkInState(clock.onBusinessP(), clock.prevTimeStr()));
    if (tray_)
        tray_->refresh();
    prepAccount();
    remind();
}

void MyController::remind() {
    const TimeClock& clock = session_.timeClock();
    reminders_.check(clock.onBusinessP() ? CalDate::parse(clock.prevTimeStr(), CalFormat::Compact)
                                         : std::nullopt,
                     reminderSettings(session_.settings()));
}

WeekTargets MyController::targets() const {
    return WeekTargets{session_.settings().targetMinutes()};
}

void MyController::prepAccount() {
    const Account today = account(session_.store().folder(), *env_.clock, targets());
    const std::optional<int> tick =
        onBusinessP() ? std::optional(msecsToNextMinute(env_.clock->now())) : std::nullopt;
    ckinWindow()->showAccount(accountLines(today), tick);
}

void MyController::showCheckInWindow() {
    prepCheckInWindow();
    windows_.show(ckinWindow());
}

void MyController::showReportWindow(ReportKind kind) {
    ReportWindow* window = reportWindow(kind);
    TimeLogStore& store = session_.store();
    store.checkLogFile();
    store.checkLogFileDic();
    fill(kind);
    windows_.show(window);
}

void MyController::fill(ReportKind kind) {
    ReportWindow* window = reportWindow(kind);
    const LogFolder folder = session_.store().folder();
    const Clock& clock = *env_.clock;
    window->setMoveButtons(moveButtons(kind, cursor_, folder, clock));
    window->setContent(reportContent(kind, shownOffset(kind, cursor_), folder, clock, targets()));
    filledSignature_ = LogWatcher::signature(folder);
}

void MyController::move(ReportKind kind, MoveDirection direction) {
    cursor_ = movedCursor(kind, cursor_, direction, session_.store().folder(), *env_.clock);
    fill(kind);
}

void MyController::followLog() {
    TimeLogStore& store = session_.store();
    store.dropLogFileDic();
    store.checkLogFileDic();
    session_.followLog();
    ReportWindow* front = frontReportWindow();
    if (front && LogWatcher::signature(store.folder()) != filledSignature_)
        fill(front->kind());
    // A month file replaced by a rename is a new file to watch.
    watcher_.watch(store.folder());
    // A punch from the terminal starts or ends what the reminders wait for.
    remind();
}

void MyController::logChanged() {
    // A merge and its undo make and remove files: the index is read again.
    TimeLogStore& store = session_.store();
    store.dropLogFileDic();
    store.checkLogFileDic();
    prepCheckInWindow();
    if (ReportWindow* front = frontReportWindow())
        fill(front->kind());
    commands_.showHistory(session_.history());
}

void MyController::undo() {
    edits_.undo(windows_.front());
    logChanged();
}

void MyController::redo() {
    edits_.redo(windows_.front());
    logChanged();
}

void MyController::mergeConflicts() {
    edits_.mergeConflicts(windows_.front());
    logChanged();
}

std::optional<QString> MyController::shownMonthFile() const {
    const auto key = getDateString(cursor_, env_.clock->now());
    return key ? session_.store().folder().monthFile(*key) : std::nullopt;
}

void MyController::editPunch(Command command) {
    ReportWindow* log = windows_.made(ReportKind::Log);
    if (!log || !log->isVisible())
        return;
    const std::optional<int> row = log->selectedRow();
    const auto shownKey = getDateString(cursor_, env_.clock->now());
    // The rows then come from the month file and its copies together.
    if (command != Command::InsertPunch && row && shownKey &&
        session_.store().folder().conflicts.contains(*shownKey)) {
        PunchEdits::showRefusal(log, tr("The log was not changed"),
                                tr("This month has conflict copies; merge them first."));
        return;
    }
    bool changed = false;
    if (command == Command::InsertPunch)
        changed = edits_.insert(log);
    else if (row && command == Command::ChangePunch)
        changed = edits_.changeTime(log, shownMonthFile(), *row);
    else if (row)
        changed = edits_.remove(log, shownMonthFile(), *row);
    if (changed)
        logChanged();
}

bool MyController::validateMenuItem(const QAction* item) const {
    const std::pair<Command, const QWidget*> rules[] = {
        {Command::ShowCheckIn, ckinWindow()},
        {Command::ShowLog, windows_.made(ReportKind::Log)},
        {Command::ShowDailySums, windows_.made(ReportKind::DailySums)},
        {Command::ShowMonthlySums, windows_.made(ReportKind::MonthlySums)},
        {Command::ShowWeeklySums, windows_.made(ReportKind::WeeklySums)},
    };
    for (const auto& [command, window] : rules) {
        if (item == action(command))
            return !window || !window->isVisible() || window->isMinimized();
    }
    const ReportWindow* log = windows_.made(ReportKind::Log);
    const bool logInFront = log && log->isVisible();
    if (item == action(Command::InsertPunch))
        return logInFront;
    if (item == action(Command::ChangePunch) || item == action(Command::DeletePunch))
        return logInFront && log->selectedRow();
    if (item == action(Command::Undo) || item == action(Command::Redo))
        return item->isEnabled();
    return true;
}

void MyController::revalidateActions() {
    const bool printable = frontReportWindow() != nullptr;
    for (const auto& [command, act] : commands_.all())
        act->setEnabled(Commands::isPrinting(command) ? printable : validateMenuItem(act));
}

bool MyController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
        event->type() == QEvent::WindowStateChange)
        revalidateActions();
    // Whatever changed the log while fennick was in the background shows
    // as soon as one of its windows comes to the front.
    if (event->type() == QEvent::WindowActivate)
        watcher_.poke();
    if (event->type() == QEvent::Hide) {
        if (auto* report = qobject_cast<ReportWindow*>(watched))
            saveWindowPlace(session_.settings(), *report);
    }
    return QObject::eventFilter(watched, event);
}

void MyController::enterLogIn() {
    session_.timeClock().enterLogIn();
}

void MyController::enterLogOut() {
    session_.timeClock().enterLogOut();
}

void MyController::doPrefOpen() {
    preferences_.open(logsDirPathStr().value_or(QString()));
}

void MyController::doPrefOKButton() {
    preferences_.accept();
}

void MyController::doPrefCancelButton() {
    preferences_.cancel();
}

void MyController::chooseLogFolder() {
    const FolderChoice choice = fennick::chooseLogFolder(prefWindow(), session_.settings(),
                                                         logsDirPathStr().value_or(QString()),
                                                         *env_.clock, env_.folderDialogs);
    if (choice == FolderChoice::Unchanged)
        return;
    logFolderChanged();
    // A month that was in both folders is never overwritten: the moved file
    // became a conflict copy, merged here as one step that can be undone.
    if (choice == FolderChoice::SwitchedWithConflictCopies)
        mergeConflicts();
}

void MyController::logFolderChanged() {
    session_.followFolderSetting();
    watcher_.forget();
    watcher_.watch(session_.store().folder());
    preferences_.showFolder(logsDirPathStr().value_or(QString()));
    commands_.showHistory(session_.history());
    prepCheckInWindow();
    for (ReportKind kind : kReportKinds) {
        if (ReportWindow* window = windows_.made(kind); window && window->isVisible())
            fill(kind);
    }
}

void MyController::targetsChanged() {
    prepAccount();
    if (ReportWindow* front = frontReportWindow())
        fill(front->kind());
}

void MyController::quit() {
    QCoreApplication::quit();
}

} // namespace fennick
