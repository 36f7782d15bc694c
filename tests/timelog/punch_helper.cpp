// A second writer: presses check-in and check-out in turn through the window's path until
// <count> punches are recorded, the clock moving <step> seconds a press from <start>. Prints
// "open", waits for an input line so that two helpers start together, then prints each record.
//   punch_helper <home> <settings> <count> <start> <step>
#include "support.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace fennick;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    FixedClock clock(test::at(args[4]));
    const int count = args[3].toInt();
    const int step = args[5].toInt();
    QTextStream out(stdout);
    int recorded = 0;
    TimeClock::Hooks hooks;
    // A press the log no longer needs asks for a forgotten punch: cancel, press the other.
    hooks.enterTimeDialog = [](const CalDate&, const QString&, bool) { return kModalAborted; };
    hooks.stepRecorded = [&](const LogStep& done) {
        ++recorded;
        out << done.appendedLines.last() << Qt::endl;
    };
    PunchSession session(clock, SessionEnv{args[1], args[2], [](const QString&) {}},
                         std::move(hooks));
    session.open();
    out << "open" << Qt::endl;
    QTextStream(stdin).readLine();
    for (TimeClock& rules = session.timeClock(); recorded < count; clock.advance(step))
        rules.onBusinessP() ? rules.enterLogOut() : rules.enterLogIn();
    return 0;
}
