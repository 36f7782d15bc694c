// A second writer for the race and kill tests: a punch session on <home>
// that presses check-in and check-out in turn, through the window's path
// (lock, state from the log, append, settings saved), until <count> punches
// are recorded. Its clock starts at <start> and moves <step> seconds a press.
// Prints "open" once the session is open, then each record line it wrote.
//   punch_helper <home> <count> <start> <step>
#include "support.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace fennick;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    FixedClock clock(test::at(args[3]));
    const int count = args[2].toInt();
    const int step = args[4].toInt();
    QTextStream out(stdout);
    int recorded = 0;
    TimeClock::Hooks hooks;
    // A press of the kind the log no longer needs asks for a forgotten
    // punch; it is cancelled and pressed again the other way.
    hooks.enterTimeDialog = [](const CalDate&, const QString&, bool) { return kModalAborted; };
    hooks.stepRecorded = [&](const LogStep& done) {
        ++recorded;
        out << done.appendedLines.last() << Qt::endl;
    };
    PunchSession session(clock,
                         SessionEnv{args[1], args[1] + "/settings.ini", [](const QString&) {}},
                         std::move(hooks));
    session.open();
    out << "open" << Qt::endl;
    for (TimeClock& rules = session.timeClock(); recorded < count; clock.advance(step))
        rules.onBusinessP() ? rules.enterLogOut() : rules.enterLogIn();
    return 0;
}
