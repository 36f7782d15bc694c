#include "app/mycontroller.h"

#include "platform/texts.h"
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

namespace {

std::unique_ptr<QSettings> openSettings(const QString& path) {
    if (!path.isEmpty())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("fennick"), QStringLiteral("fennick"));
}

} // namespace

MyController::MyController(ControllerEnv env, QObject* parent)
    : QObject(parent), env_(std::move(env)) {
    settings_ = std::make_unique<Settings>(openSettings(env_.settingsPath), env_.startup.log);
    // The registered defaults answer while the store holds nothing of its own.
    settings_->registerDefaults(Settings::appDefaults());
    store_ = std::make_unique<TimeLogStore>(std::nullopt, *env_.clock, env_.startup.log);
    createActions();
    createWindows();
}

MyController::~MyController() {
    // Windows hide as they go; the menu rule must not look at them then.
    for (QMainWindow* window : {static_cast<QMainWindow*>(ckinWindow_.get()), logWindow_.get(),
                                sum1Window_.get(), sum2Window_.get()})
        window->removeEventFilter(this);
}

bool MyController::awakeFromNib() {
    if (!versionAllowed(env_.startup.version())) {
        refuseToRun(env_.startup);
        quit();
        return false;
    }
    const bool onBusiness = settings_->boolForKey(kOnBusinessKey);
    const QString prevTime = settings_->stringForKey(kPrevTimeStrKey);
    const QString dirText = localized(texts::LogDirPath);
    std::optional<QString> logsDir;
    if (!dirText.isEmpty())
        logsDir = expandTilde(dirText, env_.startup.homeDir);
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
    prefWindow_->setLogDirectory(logsDir.value_or(QString()));
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
        {Command::Quit, QT_TR_NOOP("&Quit"), QKeySequence::Quit, &MyController::quit},
    };
    for (const Spec& spec : specs) {
        auto* action = new QAction(tr(spec.text), this);
        action->setShortcut(spec.keys);
        if (spec.slot)
            connect(action, &QAction::triggered, this, spec.slot);
        actions_[spec.command] = action;
    }
    actions_[Command::Quit]->setMenuRole(QAction::QuitRole);
    actions_[Command::Preferences]->setMenuRole(QAction::PreferencesRole);
}

QAction* MyController::action(Command command) const {
    return actions_.at(command);
}

std::unique_ptr<QMainWindow> MyController::makeReportWindow(const QString& objectName,
                                                            const QString& title) {
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setCentralWidget(new QLabel(title));
    window->resize(420, 480);
    return window;
}

void MyController::createWindows() {
    ckinWindow_ = std::make_unique<CheckInWindow>();
    connect(ckinWindow_->ckInButton(), &QPushButton::clicked, this, &MyController::enterLogIn);
    connect(ckinWindow_->ckOutButton(), &QPushButton::clicked, this, &MyController::enterLogOut);
    logWindow_ = makeReportWindow(QStringLiteral("logWindow"), tr("Log"));
    sum1Window_ = makeReportWindow(QStringLiteral("sum1Window"), tr("Daily Sums"));
    sum2Window_ = makeReportWindow(QStringLiteral("sum2Window"), tr("Monthly Sums"));
    for (QMainWindow* window : {static_cast<QMainWindow*>(ckinWindow_.get()), logWindow_.get(),
                                sum1Window_.get(), sum2Window_.get()}) {
        installMenus(window);
        window->installEventFilter(this);
    }

    prefWindow_ = std::make_unique<PrefWindow>();
    connect(prefWindow_.get(), &PrefWindow::okPressed, this, &MyController::doPrefOKButton);
    connect(prefWindow_.get(), &PrefWindow::cancelPressed, this, &MyController::doPrefCancelButton);

    ckTimeWindow_ = std::make_unique<TimeEntryDialog>(
        env_.startup.beep, [this](const CalDate& date) { timeClock_->setMyInputCalDate(date); });
    revalidateActions();
}

void MyController::installMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(action(Command::Print));
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
    window->show();
    window->raise();
    window->activateWindow();
    for (QMainWindow* other : {logWindow_.get(), sum1Window_.get(), sum2Window_.get(),
                               static_cast<QMainWindow*>(ckinWindow_.get())}) {
        if (other != window)
            other->close();
    }
}

void MyController::showCheckInWindow() {
    prepCheckInWindow();
    showMainWindow(ckinWindow_.get());
}

void MyController::showLogWindow() {
    store_->checkLogFile();
    store_->checkLogFileDic();
    showMainWindow(logWindow_.get());
}

void MyController::showSum1Window() {
    store_->checkLogFile();
    store_->checkLogFileDic();
    showMainWindow(sum1Window_.get());
}

void MyController::showSum2Window() {
    store_->checkLogFile();
    store_->checkLogFileDic();
    showMainWindow(sum2Window_.get());
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
            return !window->isVisible();
    }
    return true;
}

void MyController::revalidateActions() {
    for (auto& [command, act] : actions_) {
        if (command == Command::Print)
            act->setEnabled(false); // no printable table yet
        else
            act->setEnabled(validateMenuItem(act));
    }
}

bool MyController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
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
    return ckTimeWindow_->enterTimeDialog(now, prevTime, forCkin);
}

void MyController::doPrefOpen() {
    prefWindow_->show();
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
