#include "app/display.h"
#include "app/mycontroller.h"
#include "app/singleinstance.h"
#include "cli/args.h"
#include "cli/cli.h"
#include "platform/syslog.h"
#include "platform/translations.h"
#include "windows/appicon.h"
#include "windows/checkinwindow.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

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

} // namespace

int main(int argc, char* argv[]) {
    // Terminal commands need neither a display nor the single-instance lock
    // and run beside an open window (punches under the log folder's lock).
    if (argc > 1 && isCliInvocation(QString::fromLocal8Bit(argv[1]))) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("fennick"));
        installTranslators(app);
        return runCliMain(QCoreApplication::arguments().mid(1));
    }

    // Anything but Qt's own options is refused before a display is looked for.
    QStringList windowArgs;
    for (int i = 1; i < argc; ++i)
        windowArgs << QString::fromLocal8Bit(argv[i]);
    if (const auto error = windowArgsError(windowArgs)) {
        std::fprintf(stderr, "fennick: %s\n", qPrintable(error->message));
        return kCliUsage;
    }

    const auto reason = missingDisplay([](const char* name) { return qEnvironmentVariable(name); },
                                       socketListening);
    if (reason) {
        std::fprintf(stderr, "fennick: %s\n", qPrintable(*reason));
        return 1;
    }

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
    if (!windowArgs.contains(kBackgroundOption) || !controller.hasTray())
        controller.showCheckInWindow();
    return QApplication::exec();
}
