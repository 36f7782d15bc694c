#include "app/windowmain.h"

#include "app/mycontroller.h"
#include "app/singleinstance.h"
#include "cli/args.h"
#include "platform/syslog.h"
#include "platform/translations.h"
#include "windows/appicon.h"
#include "windows/checkinwindow.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace fennick;

namespace {

// For bench/startup.sh: quit once the check-in window has painted.
class QuitOnFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

bool startsInBackground(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (QString::fromLocal8Bit(argv[i]) == kBackgroundOption)
            return true;
    }
    return false;
}

} // namespace

Q_DECL_EXPORT int fennick_window_main(int argc, char* argv[]) {
    const bool background = startsInBackground(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fennick"));
    QApplication::setOrganizationName(QStringLiteral("fennick"));
    QApplication::setApplicationVersion(QStringLiteral(FENNICK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(FENNICK_APP_ID));
    QApplication::setWindowIcon(appIcon());
    installTranslators(app);

    SingleInstance instance(SingleInstance::defaultDirectory());
    const SingleInstance::Claim claim = instance.claim();
    if (claim == SingleInstance::Claim::Answered)
        return 0;
    // Without the lock fennick still starts: a missing window would be worse
    // than the small chance of a second instance.
    if (claim == SingleInstance::Claim::Failed)
        std::fprintf(stderr, "fennick: %s; starting anyway\n", qPrintable(instance.failure()));

    SystemClock clock;
    ControllerEnv env;
    env.clock = &clock;
    env.startup.version = [] { return queryVersion(); };
    env.startup.beep = [] { QApplication::beep(); };
    env.startup.sleep = [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); };
    env.startup.log = writeSystemLog;
    env.startup.homeDir = QDir::homePath();

    MyController controller(std::move(env));
    if (!controller.awakeFromNib())
        return 1;
    QObject::connect(&instance, &SingleInstance::activationRequested, &controller,
                     &MyController::showCheckInWindow);
    QuitOnFirstPaint quitOnPaint;
    if (qEnvironmentVariableIsSet("FENNICK_BENCH_QUIT_WHEN_SHOWN"))
        controller.ckinWindow()->installEventFilter(&quitOnPaint);
    // From the session's autostart fennick waits in the tray; without a
    // tray the window is the only way in.
    if (!background || !controller.hasTray())
        controller.showCheckInWindow();
    return QApplication::exec();
}
