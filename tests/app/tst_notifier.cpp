#include "app/notifier.h"
#include "harness.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>

#include <csignal>

using namespace fennick;
using namespace fennick::test;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// A private session bus for the whole run, so the desktop's own
// notification service never sees the test.
struct PrivateBus {
    QString address;
    qint64 pid = 0;

    bool start() {
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {"--session", "--print-address=1", "--print-pid=1", "--fork"});
        if (!daemon.waitForFinished() || daemon.exitCode() != 0)
            return false;
        const QList<QByteArray> lines = daemon.readAllStandardOutput().trimmed().split('\n');
        if (lines.size() != 2)
            return false;
        address = QString::fromUtf8(lines[0].trimmed());
        pid = lines[1].trimmed().toLongLong();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        return pid > 0;
    }
    ~PrivateBus() {
        if (pid > 0)
            ::kill(pid_t(pid), SIGTERM);
    }
};

// The notification service as a desktop offers it, on a connection of its
// own; it keeps what Notify was given.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList capabilities;
    QStringList bodies;
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

public:
    QString busAddress;

private slots:
    // Checked in at 09:30 with the default of 10 hours: at 19:31 the
    // reminder goes to the service, and its action checks out.
    void reminder_data() {
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<QStringList>("expectedActions");

        QTest::newRow("service with actions")
            << true << QStringList{"body", "actions"} << QStringList{"check-out", "Check Out"};
        QTest::newRow("service without actions") << true << QStringList{"body"} << QStringList{};
        QTest::newRow("no service") << false << QStringList{} << QStringList{};
    }

    void reminder() {
        QFETCH(bool, registered);
        QFETCH(QStringList, capabilities);
        QFETCH(QStringList, expectedActions);

        const QString name = QTest::currentDataTag();
        QDBusConnection bus = QDBusConnection::connectToBus(busAddress, name);
        const auto cleanup = qScopeGuard([&] {
            bus.unregisterService(kService);
            bus.unregisterObject(kPath);
            QDBusConnection::disconnectFromBus(name);
        });
        FakeNotifications fake;
        fake.capabilities = capabilities;
        if (registered) {
            QVERIFY(bus.registerObject(kPath, &fake, QDBusConnection::ExportAllSlots));
            QVERIFY(bus.registerService(kService));
        }

        Harness h;
        MyController& c = h.start();
        auto* notifier = c.findChild<Notifier*>();
        QVERIFY(notifier);
        QSignalSpy unavailable(notifier, &Notifier::unavailable);
        c.enterLogIn();
        QVERIFY(c.onBusinessP());
        h.clock.advance(10 * 3600 - 60);
        c.prepCheckInWindow();
        QTest::qWait(200);
        QVERIFY(fake.bodies.isEmpty());

        h.clock.advance(60);
        c.prepCheckInWindow();
        const QString text = QStringLiteral("Checked in for more than 10 hours — check out?");
        if (!registered) {
            QTRY_COMPARE(unavailable.size(), 1);
            QCOMPARE(unavailable.first().at(1).toString(), text);
        } else {
            QTRY_COMPARE(fake.bodies, QStringList{text});
            QCOMPARE(fake.actions.first(), expectedActions);
            // Once per check-in.
            c.prepCheckInWindow();
            QTest::qWait(200);
            QCOMPARE(fake.bodies.size(), 1);
            QDBusMessage invoked = QDBusMessage::createSignal(kPath, kService, "ActionInvoked");
            invoked << uint(1) << QStringLiteral("check-out");
            QVERIFY(bus.send(invoked));
            QTRY_COMPARE(c.onBusinessP(), expectedActions.isEmpty());
        }
    }
};

int main(int argc, char* argv[]) {
    // The bus must be there before anything in Qt opens the session bus.
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        std::puts("SKIP: dbus-daemon missing (apt-get install dbus)");
        return 0;
    }
    PrivateBus bus;
    if (!bus.start())
        qFatal("cannot start a private session bus");
    QApplication app(argc, argv);
    TestNotifier test;
    test.busAddress = bus.address;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_notifier.moc"
