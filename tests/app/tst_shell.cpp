#include "app/shell/display.h"
#include "app/shell/startup.h"
#include "app/singleinstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void display_data();
    void display();
    void tilde_data();
    void tilde();
    void oneInstancePerUser();
};

void TestShell::display_data() {
    QTest::addColumn<QStringList>("env"); // NAME=value pairs
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<bool>("usable");
    QTest::newRow("nothing set") << QStringList{} << QStringList{} << false;
    QTest::newRow("local X server")
        << QStringList{"DISPLAY=:0"} << QStringList{"/tmp/.X11-unix/X0"} << true;
    QTest::newRow("local X socket gone")
        << QStringList{"DISPLAY=:1"} << QStringList{"/tmp/.X11-unix/X0"} << false;
    QTest::newRow("screen number")
        << QStringList{"DISPLAY=:1.0"} << QStringList{"/tmp/.X11-unix/X1"} << true;
    QTest::newRow("remote X trusted") << QStringList{"DISPLAY=host:10.0"} << QStringList{} << true;
    QTest::newRow("wayland") << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_RUNTIME_DIR=/run/u"}
                             << QStringList{"/run/u/wayland-0"} << true;
    QTest::newRow("wayland socket gone")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_RUNTIME_DIR=/run/u"} << QStringList{}
        << false;
    QTest::newRow("offscreen needs none")
        << QStringList{"QT_QPA_PLATFORM=offscreen"} << QStringList{} << true;
    QTest::newRow("xcb platform still needs X")
        << QStringList{"QT_QPA_PLATFORM=xcb"} << QStringList{} << false;
}

void TestShell::display() {
    QFETCH(QStringList, env);
    QFETCH(QStringList, existing);
    QFETCH(bool, usable);
    const auto read = [&](const char* name) {
        for (const QString& pair : env) {
            if (pair.section(u'=', 0, 0) == QLatin1String(name))
                return pair.section(u'=', 1);
        }
        return QString();
    };
    const auto reason =
        missingDisplay(read, [&](const QString& path) { return existing.contains(path); });
    QCOMPARE(!reason.has_value(), usable);
    if (reason)
        QVERIFY(!reason->contains(u'\n'));
}

void TestShell::tilde_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("default") << "~/Library/fennick"
                             << "/home/u/Library/fennick";
    QTest::newRow("home alone") << "~"
                                << "/home/u";
    QTest::newRow("absolute") << "/srv/log"
                              << "/srv/log";
    QTest::newRow("tilde inside") << "/srv/~/log"
                                  << "/srv/~/log";
}

void TestShell::tilde() {
    QFETCH(QString, path);
    QFETCH(QString, expanded);
    QCOMPARE(expandTilde(path, QStringLiteral("/home/u")), expanded);
}

void TestShell::oneInstancePerUser() {
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    QVERIFY(first.claim());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    SingleInstance second(dir.path());
    QVERIFY(!second.claim());
    QVERIFY(activated.wait(2000));
}

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
