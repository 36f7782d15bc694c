// What reminders are due, and the reminder through the notification service on a private
// session bus; the autostart entry.

#include "app/harness.h"
#include "app/notifier.h"
#include "shell/autostart.h"
#include "shell/reminder.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>

using namespace fennick;
using namespace fennick::test;

namespace {

const QString kService = "org.freedesktop.Notifications";
const QString kPath = "/org/freedesktop/Notifications";

// The service as a desktop offers it; it keeps what Notify was given.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList capabilities, bodies;
    QList<QStringList> actions;

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString&, uint, const QString&, const QString&, const QString& body,
                const QStringList& given, const QVariantMap&, int) {
        bodies << body;
        actions << given;
        return uint(bodies.size());
    }
};

// One look at the reminders; empty texts are absent values. `due` names what is sent now
// ("long", "daily") and the next look.
struct Look {
    const char* checkedIn; // since when; "": checked out
    const char* now;
    int afterHours;
    int dailyMinute; // -1: no daily time
    bool longSent;
    const char* dailySentOn;
    const char* due;
};

} // namespace

class TestNotifier : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    void plan_data() {
        QTest::addColumn<Look>("look");
        const char* in = "20240315081200";
        const int five = 17 * 60;
        const auto row = [](const char* name, const Look& look) { QTest::newRow(name) << look; };
        row("long: not yet, wait for it",
            {in, "20240315120000", 10, -1, false, "", "20240315181200"});
        row("long: once per check-in", {in, "20240315230000", 10, -1, true, "", ""});
        row("long: hours, not wall time, across DST",
            {"20240330220000", "20240331070000", 10, -1, false, "", "20240331090000"});
        row("checked out: nothing, no timer", {"", "20240315230000", 10, five, false, "", ""});
        row("daily: before the time, wait for it",
            {in, "20240315120000", 0, five, false, "", "20240315170000"});
        row("daily: once per day",
            {in, "20240315220000", 0, five, false, "20240315", "20240316170000"});
        row("daily: again the next day",
            {in, "20240316170000", 0, five, false, "20240315", "daily 20240317170000"});
        row("daily: checked in after the time",
            {"20240315190000", "20240315200000", 0, five, false, "", "20240316170000"});
        row("daily: a skipped time moves forward",
            {"20240330220000", "20240331010000", 0, 150, false, "", "20240331033000"});
        row("both due at once",
            {in, "20240315190000", 10, five, false, "", "long daily 20240316170000"});
    }
    // What is due now and when to look again; what went out is not due again.
    void plan() {
        QFETCH(Look, look);
        const std::optional<CalDate> since =
            *look.checkedIn ? std::optional(at(look.checkedIn)) : std::nullopt;
        ReminderSettings settings{look.afterHours, std::nullopt};
        if (look.dailyMinute >= 0)
            settings.dailyMinute = look.dailyMinute;
        RemindersSent sent;
        if (look.longSent)
            sent.longForCheckIn = since->instant();
        if (*look.dailySentOn)
            sent.dailyOn = look.dailySentOn;
        const ReminderPlan plan = planReminders(at(look.now), since, settings, sent);
        const QString due = QString(plan.sendLong ? "long " : "") +
                            (plan.sendDaily ? "daily " : "") +
                            (plan.next ? plan.next->format(CalFormat::Compact) : QString());
        QCOMPARE(due.trimmed(), look.due);
        if (since) {
            markSent(sent, plan, at(look.now), *since);
            const ReminderPlan again = planReminders(at(look.now), since, settings, sent);
            QVERIFY(!again.sendLong && !again.sendDaily);
        }
        QCOMPARE(dailyReminderText(at("20240315081200")),
                 "Still checked in since 08:12 — check out?");
    }

    // A private entry starting fennick in the tray, removable; a blocked folder fails.
    void autostart() {
        QTemporaryDir temp;
        const QString home = temp.filePath("home"), dir = home + "/.config/autostart";
        const QString file = dir + "/io.github.fennick.fennick.desktop";
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(autostartFilePath(home), file);
        QVERIFY(setAutostart(home, true) && autostartEnabled(home));
        QVERIFY(modeOf(dir) == 0700 && bytesOf(file).contains("\nExec=fennick --background\n"));
        QVERIFY(setAutostart(home, false) && !autostartEnabled(home));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(QDir(dir).removeRecursively() && put(dir, "not a folder"));
        QVERIFY(!setAutostart(home, true) && !autostartEnabled(home));
    }

    void reminder_data() {
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<QStringList>("expectedActions");
        QTest::newRow("service with actions")
            << true << QStringList{"body", "actions"} << QStringList{"check-out", "Check Out"};
        QTest::newRow("service without actions") << true << QStringList{"body"} << QStringList{};
        QTest::newRow("no service") << false << QStringList{} << QStringList{};
    }
    // After 10 hours: one notification whose action checks out, or the tray's.
    void reminder() {
        QFETCH(bool, registered);
        QFETCH(QStringList, capabilities);
        QFETCH(QStringList, expectedActions);
        const QString name = QTest::currentDataTag();
        QDBusConnection bus =
            QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), name);
        const auto cleanup = qScopeGuard([&] {
            bus.unregisterService(kService);
            bus.unregisterObject(kPath);
            QDBusConnection::disconnectFromBus(name);
        });
        FakeNotifications fake;
        fake.capabilities = capabilities;
        QVERIFY(!registered || (bus.registerObject(kPath, &fake, QDBusConnection::ExportAllSlots) &&
                                bus.registerService(kService)));
        Harness h;
        MyController& c = h.start();
        QSignalSpy unavailable(c.findChild<Notifier*>(), &Notifier::unavailable);
        c.enterLogIn();
        h.clock.advance(10 * 3600);
        c.prepCheckInWindow();
        const QString text = "Checked in for more than 10 hours — check out?";
        if (!registered) {
            QTRY_COMPARE(unavailable.size(), 1);
            QCOMPARE(unavailable.first().at(1).toString(), text);
            return;
        }
        QTRY_COMPARE(fake.bodies, QStringList{text});
        QCOMPARE(fake.actions.first(), expectedActions);
        c.prepCheckInWindow();
        QTest::qWait(200);
        QCOMPARE(fake.bodies.size(), 1);
        QDBusMessage invoked = QDBusMessage::createSignal(kPath, kService, "ActionInvoked");
        invoked << uint(1) << QStringLiteral("check-out");
        QVERIFY(bus.send(invoked));
        QTRY_COMPARE(c.onBusinessP(), expectedActions.isEmpty());
    }
};

int main(int argc, char* argv[]) {
    // The bus must be there before anything in Qt opens the session bus.
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!daemon.waitForReadyRead())
        qFatal("cannot start a private session bus (apt-get install dbus)");
    qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    const auto stopBus = qScopeGuard([&daemon] {
        daemon.kill();
        daemon.waitForFinished();
    });
    QApplication app(argc, argv);
    TestNotifier test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_notifier.moc"
