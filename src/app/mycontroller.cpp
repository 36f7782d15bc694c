#include "app/mycontroller.h"

#include "platform/texts.h"
#include "reports/mydatasource.h"
#include "reports/navigation.h"
#include "reports/reportdata.h"
#include "reports/widgets/dailychart.h"
#include "reports/widgets/reportwindow.h"
#include "windows/activityindicator.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"
#include "windows/timeentrydialog.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QSystemTrayIcon>

namespace fennick {

MyController::MyController(ControllerEnv env, QObject* parent)
    : QObject(parent), env_(std::move(env)) {
    settings_ = std::make_unique<Settings>(openSettingsStore(env_.settingsPath), env_.startup.log);
    // The registered defaults answer while the store holds nothing of its own.
    settings_->registerDefaults(Settings::appDefaults());
    store_ = std::make_unique<TimeLogStore>(std::nullopt, *env_.clock, env_.startup.log);
    createActions();
    createCheckInWindow();
}

MyController::~MyController() {
    // Windows hide as they go; the menu rule must not look at them then.
    for (QMainWindow* window : mainWindows())
        window->removeEventFilter(this);
}

QList<QMainWindow*> MyController::mainWindows() const {
    QList<QMainWindow*> windows{ckinWindow_.get()};
    if (logWindow_)
        windows << logWindow_.get() << sum1Window_.get() << sum2Window_.get();
    return windows;
}

bool MyController::awakeFromNib() {
    if (!versionAllowed(env_.startup.version())) {
        refuseToRun(env_.startup);
        quit();
        return false;
    }
    const bool onBusiness = settings_->boolForKey(kOnBusinessKey);
    const QString prevTime = settings_->stringForKey(kPrevTimeStrKey);
    const std::optional<QString> logsDir = logDirectoryPath(env_.startup.homeDir);
    if (logsDir)
        ensureLogDirectory(*logsDir, env_.startup.log);

    store_ = std::make_unique<TimeLogStore>(logsDir, *env_.clock, env_.startup.log);
    TimeClock::Hooks hooks;
    hooks.enterTimeDialog = [this](const CalDate& now, const QString& prev, bool forCkin) {
        return enterTimeDialog(now, prev, forCkin);
    };
    hooks.beep = env_.startup.beep;
    hooks.saveDefaults = [this] { saveDefaults(); };
    hooks.prepCheckInWindow = [this] { prepCheckInWindow(); };
    timeClock_ = std::make_unique<TimeClock>(*store_, *env_.clock, std::move(hooks));
    timeClock_->setOnBusinessP(onBusiness);
    setPrevTimeStr(prevTime);

    myCurrentPrevMonth_ = 0;
    store_->dropLogFileDic();
    store_->checkLogFileDic();
    prepCheckInWindow();
    createTrayIcon();
    return true;
}

void MyController::saveDefaults() {
    settings_->setBool(kOnBusinessKey, timeClock_->onBusinessP());
    settings_->setString(kPrevTimeStrKey, timeClock_->prevTimeStr());
    settings_->synchronize();
}

void MyController::createActions() {
    struct Spec {
        Command command;
        const char* text;
        QKeySequence keys;
        void (MyController::*slot)();
    };
    const Spec specs[] = {
        {Command::ShowCheckIn, QT_TR_NOOP("Check-In &Window"), QKeySequence(tr("Ctrl+1")),
         &MyController::showCheckInWindow},
        {Command::ShowLog, QT_TR_NOOP("&Log"), QKeySequence(tr("Ctrl+2")),
         &MyController::showLogWindow},
        {Command::ShowSum1, QT_TR_NOOP("&Daily Sums"), QKeySequence(tr("Ctrl+3")),
         &MyController::showSum1Window},
        {Command::ShowSum2, QT_TR_NOOP("&Monthly Sums"), QKeySequence(tr("Ctrl+4")),
         &MyController::showSum2Window},
        {Command::CheckIn, QT_TR_NOOP("Check &In"), QKeySequence(tr("Ctrl+I")),
         &MyController::enterLogIn},
        {Command::CheckOut, QT_TR_NOOP("Check &Out"), QKeySequence(tr("Ctrl+O")),
         &MyController::enterLogOut},
        {Command::Preferences, QT_TR_NOOP("&Preferences…"), QKeySequence(tr("Ctrl+,")),
         &MyController::doPrefOpen},
        {Command::Print, QT_TR_NOOP("&Print…"), QKeySequence::Print, nullptr},
        {Command::PrintPreview, QT_TR_NOOP("Print Pre&view…"), QKeySequence(tr("Ctrl+Shift+P")),
         nullptr},
        {Command::ExportPdf, QT_TR_NOOP("Export P&DF…"), QKeySequence(tr("Ctrl+E")), nullptr},
        {Command::ExportCsv, QT_TR_NOOP("Export &CSV…"), QKeySequence(tr("Ctrl+Shift+E")), nullptr},
        {Command::Quit, QT_TR_NOOP("&Quit"), QKeySequence::Quit, &MyController::quit},
    };
    for (const Spec& spec : specs) {
        auto* action = new QAction(tr(spec.text), this);
        action->setShortcut(spec.keys);
        if (spec.slot)
            connect(action, &QAction::triggered, this, spec.slot);
        actions_[spec.command] = action;
    }
    // The printing and export commands act on the report window in front.
    const std::pair<Command, void (ReportWindow::*)()> onFront[] = {
        {Command::Print, &ReportWindow::print},
        {Command::PrintPreview, &ReportWindow::printPreview},
        {Command::ExportPdf, &ReportWindow::exportPdfAs},
        {Command::ExportCsv, &ReportWindow::exportCsvAs},
    };
    for (const auto& [command, slot] : onFront) {
        connect(actions_[command], &QAction::triggered, this, [this, slot = slot] {
            if (ReportWindow* w = frontReportWindow())
                (w->*slot)();
        });
    }
    actions_[Command::Quit]->setMenuRole(QAction::QuitRole);
    actions_[Command::Preferences]->setMenuRole(QAction::PreferencesRole);
}

QAction* MyController::action(Command command) const {
    return actions_.at(command);
}

std::unique_ptr<ReportWindow> MyController::makeReportWindow(ReportKind kind,
                                                             const QString& objectName) {
    auto window = std::make_unique<ReportWindow>(kind);
    window->setObjectName(objectName);
    return window;
}

void MyController::createCheckInWindow() {
    ckinWindow_ = std::make_unique<CheckInWindow>();
    connect(ckinWindow_->ckInButton(), &QPushButton::clicked, this, &MyController::enterLogIn);
    connect(ckinWindow_->ckOutButton(), &QPushButton::clicked, this, &MyController::enterLogOut);
    adoptMainWindow(ckinWindow_.get());
    revalidateActions();
}

void MyController::adoptMainWindow(QMainWindow* window) {
    installMenus(window);
    window->installEventFilter(this);
}

void MyController::ensureReportWindows() {
    if (logWindow_)
        return;
    logWindow_ = makeReportWindow(ReportKind::Log, QStringLiteral("logWindow"));
    sum1Window_ = makeReportWindow(ReportKind::DailySums, QStringLiteral("sum1Window"));
    sum2Window_ = makeReportWindow(ReportKind::MonthlySums, QStringLiteral("sum2Window"));
    dailyChart_ = new DailyChart;
    sum1Window_->setChart(dailyChart_);
    sum1Window_->resize(480, 760);
    connect(logWindow_.get(), &ReportWindow::nextClicked, this, &MyController::goNextLog);
    connect(logWindow_.get(), &ReportWindow::prevClicked, this, &MyController::goPrevLog);
    connect(sum1Window_.get(), &ReportWindow::nextClicked, this, &MyController::goNextSum1);
    connect(sum1Window_.get(), &ReportWindow::prevClicked, this, &MyController::goPrevSum1);
    connect(sum2Window_.get(), &ReportWindow::nextClicked, this, &MyController::goNextSum2);
    connect(sum2Window_.get(), &ReportWindow::prevClicked, this, &MyController::goPrevSum2);
    for (QMainWindow* window : {logWindow_.get(), sum1Window_.get(), sum2Window_.get()})
        adoptMainWindow(window);
}

PrefWindow* MyController::prefWindow() {
    if (!prefWindow_) {
        prefWindow_ = std::make_unique<PrefWindow>();
        prefWindow_->setLogDirectory(store_->logsDirPathStr().value_or(QString()));
        connect(prefWindow_.get(), &PrefWindow::okPressed, this, &MyController::doPrefOKButton);
        connect(prefWindow_.get(), &PrefWindow::cancelPressed, this,
                &MyController::doPrefCancelButton);
    }
    return prefWindow_.get();
}

TimeEntryDialog* MyController::ckTimeWindow() {
    if (!ckTimeWindow_)
        ckTimeWindow_ =
            std::make_unique<TimeEntryDialog>(env_.startup.beep, [this](const CalDate& date) {
                timeClock_->setMyInputCalDate(date);
            });
    return ckTimeWindow_.get();
}

void MyController::installMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(action(Command::Print));
    file->addAction(action(Command::PrintPreview));
    file->addAction(action(Command::ExportPdf));
    file->addAction(action(Command::ExportCsv));
    file->addSeparator();
    file->addAction(action(Command::Preferences));
    file->addSeparator();
    file->addAction(action(Command::Quit));
    QMenu* punch = bar->addMenu(tr("&Punch"));
    punch->addAction(action(Command::CheckIn));
    punch->addAction(action(Command::CheckOut));
    QMenu* view = bar->addMenu(tr("&View"));
    for (Command c : {Command::ShowCheckIn, Command::ShowLog, Command::ShowSum1, Command::ShowSum2})
        view->addAction(action(c));
    // Shortcuts work whichever main window is in front.
    for (auto& [command, act] : actions_)
        window->addAction(act);
}

void MyController::createTrayIcon() {
    if (!env_.offerTrayIcon || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    trayIcon_ = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
    trayIcon_->setToolTip(tr("fennick"));
    auto* menu = new QMenu(ckinWindow_.get());
    for (Command c : {Command::ShowCheckIn, Command::ShowLog, Command::ShowSum1, Command::ShowSum2})
        menu->addAction(action(c));
    menu->addSeparator();
    menu->addAction(action(Command::CheckIn));
    menu->addAction(action(Command::CheckOut));
    menu->addSeparator();
    menu->addAction(action(Command::Quit));
    trayIcon_->setContextMenu(menu);
    connect(trayIcon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    showCheckInWindow();
            });
    trayIcon_->show();
    // With a tray icon the application lives on when its windows are closed.
    QApplication::setQuitOnLastWindowClosed(false);
}

void MyController::prepCheckInWindow() {
    CheckInWindow& w = *ckinWindow_;
    const bool in = timeClock_->onBusinessP();
    const QString inWord = localized(texts::CheckInWord);
    const QString outWord = localized(texts::CheckOutWord);
    w.ckinMainTitieField()->setText(fillWord(localized(texts::CkinTitle), in ? inWord : outWord));
    w.ckinMainMessField()->setText(fillWord(localized(texts::CkinMessage), in ? outWord : inWord));
    w.ckinPreTitieField()->setText(fillWord(localized(texts::CkinPreTitle), in ? inWord : outWord));

    const QString& prev = timeClock_->prevTimeStr();
    if (prev.isEmpty()) {
        w.ckinPreTimeField()->setText(QString());
        w.ckOutButton()->setEnabled(false);
    } else {
        // A value edited by hand that is no timestamp is shown as it stands.
        const auto date = CalDate::parse(prev, CalFormat::Compact);
        w.ckinPreTimeField()->setText(date ? date->format(CalFormat::Display) : prev);
        w.ckOutButton()->setEnabled(true);
    }
    if (in)
        w.progressInd()->startAnimation();
    else
        w.progressInd()->stopAnimation();
    CheckInWindow::setKeyEquivalent(w.ckInButton(), !in);
    CheckInWindow::setKeyEquivalent(w.ckOutButton(), in);
}

void MyController::showMainWindow(QMainWindow* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    // The order in which the others close follows the window shown.
    const QList<QMainWindow*> closing =
        window == logWindow_.get()
            ? QList<QMainWindow*>{sum1Window_.get(), sum2Window_.get(), ckinWindow_.get()}
        : window == sum1Window_.get()
            ? QList<QMainWindow*>{logWindow_.get(), ckinWindow_.get(), sum2Window_.get()}
        : window == sum2Window_.get()
            ? QList<QMainWindow*>{logWindow_.get(), ckinWindow_.get(), sum1Window_.get()}
            : QList<QMainWindow*>{logWindow_.get(), sum1Window_.get(), sum2Window_.get()};
    for (QMainWindow* other : closing) {
        if (other)
            other->close();
    }
}

void MyController::showCheckInWindow() {
    prepCheckInWindow();
    showMainWindow(ckinWindow_.get());
}

void MyController::showReportWindow(std::unique_ptr<ReportWindow> MyController::*window,
                                    void (MyController::*check)(), void (MyController::*fill)()) {
    ensureReportWindows();
    store_->checkLogFile();
    store_->checkLogFileDic();
    (this->*check)();
    (this->*fill)();
    showMainWindow((this->*window).get());
}

void MyController::showLogWindow() {
    showReportWindow(&MyController::logWindow_, &MyController::checkMoveLogButton,
                     &MyController::calcLogWinData);
}

void MyController::showSum1Window() {
    showReportWindow(&MyController::sum1Window_, &MyController::checkMoveSum1Button,
                     &MyController::calcSum1WinData);
}

void MyController::showSum2Window() {
    showReportWindow(&MyController::sum2Window_, &MyController::checkMoveSum2Button,
                     &MyController::calcSum2WinData);
}

std::optional<QString> MyController::getDateString(int n) const {
    return fennick::getDateString(n, env_.clock->now());
}

void MyController::calcLogWinData() {
    const QString key = getDateString(myCurrentPrevMonth_).value_or(QString());
    logWindow_->setHeading(logHeading(key));
    logWindow_->dataSource()->setDataArray(logRows(store_->logsDirPathStr(), store_->myLogFileDic(),
                                                   myCurrentPrevMonth_, *env_.clock));
}

void MyController::calcSum1WinData() {
    const QString key = getDateString(myCurrentPrevMonth_).value_or(QString());
    sum1Window_->setHeading(dailyHeading(key));
    SumsTable table = dailySums(store_->logsDirPathStr(), store_->myLogFileDic(),
                                myCurrentPrevMonth_, *env_.clock);
    sum1Window_->totalField()->setText(table.totalLine);
    dailyChart_->setMonth(key, table.days);
    sum1Window_->dataSource()->setDataArray(std::move(table.rows));
}

void MyController::calcSum2WinData() {
    const int start = blockStart(myCurrentPrevMonth_);
    sum2Window_->setHeading(monthlyHeading(blockMonthKeys(start, env_.clock->now())));
    SumsTable table =
        monthlySums(store_->logsDirPathStr(), store_->getLogFileDic(), start, *env_.clock);
    sum2Window_->totalField()->setText(table.totalLine);
    sum2Window_->dataSource()->setDataArray(std::move(table.rows));
}

void MyController::checkMoveSomeButton(ReportWindow& window, bool yearP) {
    const MoveButtons buttons = fennick::checkMoveSomeButton(
        myCurrentPrevMonth_, yearP, monthHasFileIn(store_->myLogFileDic(), *env_.clock));
    window.nextButton()->setEnabled(buttons.nextEnabled);
    window.prevButton()->setEnabled(buttons.prevEnabled);
}

void MyController::checkMoveLogButton() {
    checkMoveSomeButton(*logWindow(), false);
}
void MyController::checkMoveSum1Button() {
    checkMoveSomeButton(*sum1Window(), false);
}
void MyController::checkMoveSum2Button() {
    checkMoveSomeButton(*sum2Window(), true);
}

void MyController::moveCursor(CursorMove move, void (MyController::*fill)(),
                              void (MyController::*check)()) {
    myCurrentPrevMonth_ =
        move(myCurrentPrevMonth_, monthHasFileIn(store_->myLogFileDic(), *env_.clock));
    (this->*fill)();
    (this->*check)();
}

void MyController::goNextLog() {
    moveCursor(goNextMonthCursor, &MyController::calcLogWinData, &MyController::checkMoveLogButton);
}

void MyController::goPrevLog() {
    moveCursor(goPrevMonthCursor, &MyController::calcLogWinData, &MyController::checkMoveLogButton);
}

void MyController::goNextSum1() {
    moveCursor(goNextMonthCursor, &MyController::calcSum1WinData,
               &MyController::checkMoveSum1Button);
}

void MyController::goPrevSum1() {
    moveCursor(goPrevMonthCursor, &MyController::calcSum1WinData,
               &MyController::checkMoveSum1Button);
}

void MyController::goNextSum2() {
    moveCursor(goNextSum2Cursor, &MyController::calcSum2WinData,
               &MyController::checkMoveSum2Button);
}

void MyController::goPrevSum2() {
    moveCursor(goPrevSum2Cursor, &MyController::calcSum2WinData,
               &MyController::checkMoveSum2Button);
}

bool MyController::validateMenuItem(const QAction* item) const {
    const std::pair<Command, const QWidget*> rules[] = {
        {Command::ShowCheckIn, ckinWindow_.get()},
        {Command::ShowLog, logWindow_.get()},
        {Command::ShowSum1, sum1Window_.get()},
        {Command::ShowSum2, sum2Window_.get()},
    };
    for (const auto& [command, window] : rules) {
        if (item == actions_.at(command))
            return !window || !window->isVisible() || window->isMinimized();
    }
    return true;
}

ReportWindow* MyController::frontReportWindow() const {
    for (ReportWindow* w : {logWindow_.get(), sum1Window_.get(), sum2Window_.get()}) {
        if (w && w->isVisible())
            return w;
    }
    return nullptr;
}

void MyController::revalidateActions() {
    const bool printable = frontReportWindow() != nullptr;
    for (auto& [command, act] : actions_) {
        const bool printing = command == Command::Print || command == Command::PrintPreview ||
                              command == Command::ExportPdf || command == Command::ExportCsv;
        act->setEnabled(printing ? printable : validateMenuItem(act));
    }
}

bool MyController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
        event->type() == QEvent::WindowStateChange)
        revalidateActions();
    return QObject::eventFilter(watched, event);
}

void MyController::enterLogIn() {
    timeClock_->enterLogIn();
}

void MyController::enterLogOut() {
    timeClock_->enterLogOut();
}

int MyController::enterTimeDialog(const CalDate& now, const QString& prevTime, bool forCkin) {
    return ckTimeWindow()->enterTimeDialog(now, prevTime, forCkin);
}

void MyController::doPrefOpen() {
    prefWindow()->show();
    prefWindow_->raise();
    prefWindow_->activateWindow();
}

void MyController::doPrefOKButton() {
    prefWindow_->hide();
}

void MyController::doPrefCancelButton() {
    prefWindow_->hide();
}

void MyController::quit() {
    QCoreApplication::quit();
}

} // namespace fennick
