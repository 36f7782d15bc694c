#include "app/display.h"
#include "app/singleinstance.h"
#include "shell/startup.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void display_data() {
        // NAME=value pairs and paths that exist, space separated.
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("usable");
        const auto row = [](const char* name, const char* setup, bool usable) {
            QTest::newRow(name) << QString(setup) << usable;
        };
        row("nothing set", "", false);
        row("local X server", "DISPLAY=:0 /tmp/.X11-unix/X0", true);
        row("local X socket gone", "DISPLAY=:1 /tmp/.X11-unix/X0", false);
        row("screen number, socket gone", "DISPLAY=:1.0 /tmp/.X11-unix/X0", false);
        row("remote X trusted", "DISPLAY=host:10.0", true);
        row("wayland", "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=/run/u /run/u/wayland-0", true);
        row("wayland socket gone", "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=/run/u", false);
        row("offscreen needs none", "QT_QPA_PLATFORM=offscreen", true);
        row("xcb platform still needs X", "QT_QPA_PLATFORM=xcb", false);
    }

    // A missing display is one line of explanation.
    void display() {
        QFETCH(QString, setup);
        QFETCH(bool, usable);
        QMap<QString, QString> known; // a path maps to ""
        for (const QString& word : setup.split(u' ', Qt::SkipEmptyParts))
            known[word.section(u'=', 0, 0)] = word.section(u'=', 1);
        const auto reason =
            missingDisplay([&](const char* name) { return known.value(name); },
                           [&](const QString& path) { return known.contains(path); });
        QCOMPARE(!reason, usable);
        QVERIFY(!reason || (reason->contains("display") && !reason->contains(u'\n')));
    }

    void tilde() {
        QCOMPARE(expandTilde("~", "/home/u"), QString("/home/u"));
        QCOMPARE(expandTilde("~/Library/fennick", "/home/u"), QString("/home/u/Library/fennick"));
        // Another user's home is not ours.
        QCOMPARE(expandTilde("~other/x", "/home/u"), QString("~other/x"));
    }

    // A second start hands over to the first, which is asked to show itself.
    void oneInstancePerUser() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        SingleInstance second(dir.path());
        QVERIFY(!second.claim());
        QVERIFY(activated.wait(2000));
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
