// The reminder through the notification service on a private session bus.

#include "app/notifier.h"
#include "harness.h"

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

} // namespace

class TestNotifier : public QObject {
    Q_OBJECT

private slots:
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
