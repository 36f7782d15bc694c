#include "shell/autostart.h"
#include "shell/reminder.h"
#include "support.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

class TestReminder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Empty texts are absent values: checked out, no daily time, nothing sent.
    void plan_data() {
        QTest::addColumn<QString>("checkedIn");
        QTest::addColumn<QString>("now");
        QTest::addColumn<int>("afterHours");
        QTest::addColumn<QString>("dailyAt");
        QTest::addColumn<bool>("longSent");
        QTest::addColumn<QString>("dailySentOn");
        QTest::addColumn<bool>("sendLong");
        QTest::addColumn<bool>("sendDaily");
        QTest::addColumn<QString>("next");

        const QString in = QStringLiteral("20240315081200");
        QTest::newRow("long: not yet, wait for it") << in << "20240315120000" << 10 << "" << false
                                                    << "" << false << false << "20240315181200";
        QTest::newRow("long: due after the hours")
            << in << "20240315181200" << 10 << "" << false << "" << true << false << "";
        QTest::newRow("long: once per check-in")
            << in << "20240315230000" << 10 << "" << true << "" << false << false << "";
        QTest::newRow("long: switched off")
            << in << "20240315230000" << 0 << "" << false << "" << false << false << "";
        QTest::newRow("long: hours, not wall time, across DST")
            << "20240330220000"
            << "20240331070000" << 10 << "" << false << "" << false << false << "20240331090000";
        QTest::newRow("checked out: nothing, no timer")
            << ""
            << "20240315230000" << 10 << "17:00" << false << "" << false << false << "";
        QTest::newRow("daily: before the time, wait for it")
            << in << "20240315120000" << 0 << "17:00" << false << "" << false << false
            << "20240315170000";
        QTest::newRow("daily: due, then tomorrow")
            << in << "20240315170500" << 0 << "17:00" << false << "" << false << true
            << "20240316170000";
        QTest::newRow("daily: once per day") << in << "20240315220000" << 0 << "17:00" << false
                                             << "20240315" << false << false << "20240316170000";
        QTest::newRow("daily: again the next day")
            << in << "20240316170000" << 0 << "17:00" << false << "20240315" << false << true
            << "20240317170000";
        QTest::newRow("daily: checked in after the time")
            << "20240315190000"
            << "20240315200000" << 0 << "17:00" << false << "" << false << false
            << "20240316170000";
        QTest::newRow("daily: a skipped time moves forward")
            << "20240330220000"
            << "20240331010000" << 0 << "02:30" << false << "" << false << false
            << "20240331033000";
        QTest::newRow("both: the earlier is next")
            << in << "20240315120000" << 10 << "17:00" << false << "" << false << false
            << "20240315170000";
        QTest::newRow("both due at once") << in << "20240315190000" << 10 << "17:00" << false << ""
                                          << true << true << "20240316170000";
    }

    void plan() {
        QFETCH(QString, checkedIn);
        QFETCH(QString, now);
        QFETCH(int, afterHours);
        QFETCH(QString, dailyAt);
        QFETCH(bool, longSent);
        QFETCH(QString, dailySentOn);
        QFETCH(bool, sendLong);
        QFETCH(bool, sendDaily);
        QFETCH(QString, next);

        const std::optional<CalDate> since =
            checkedIn.isEmpty() ? std::nullopt : std::optional(at(checkedIn));
        ReminderSettings settings{afterHours, std::nullopt};
        if (!dailyAt.isEmpty())
            settings.dailyMinute = dailyAt.left(2).toInt() * 60 + dailyAt.right(2).toInt();
        RemindersSent sent;
        if (longSent)
            sent.longForCheckIn = since->instant();
        if (!dailySentOn.isEmpty())
            sent.dailyOn = dailySentOn;

        const ReminderPlan plan = planReminders(at(now), since, settings, sent);
        QCOMPARE(plan.sendLong, sendLong);
        QCOMPARE(plan.sendDaily, sendDaily);
        QCOMPARE(plan.next ? plan.next->format(CalFormat::Compact) : QString(), next);
        if (since) {
            // What went out is not due again at the same moment.
            markSent(sent, plan, at(now), *since);
            const ReminderPlan again = planReminders(at(now), since, settings, sent);
            QVERIFY(!again.sendLong && !again.sendDaily);
        }
    }

    void dailyText() {
        QCOMPARE(dailyReminderText(at("20240315081200")),
                 QStringLiteral("Still checked in since 08:12 — check out?"));
    }

    // configHome: "" unset, "rel" a relative path (ignored), "abs" a folder
    // of its own. blocked: a file stands where the autostart folder goes.
    void autostart_data() {
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QString>("expectedDir");

        QTest::newRow("default ~/.config") << "" << false << "home/.config/autostart";
        QTest::newRow("XDG_CONFIG_HOME") << "abs" << false << "xdg/autostart";
        QTest::newRow("relative XDG_CONFIG_HOME ignored")
            << "rel" << false << "home/.config/autostart";
        QTest::newRow("folder blocked: refused") << "" << true << "home/.config/autostart";
    }

    void autostart() {
        QFETCH(QString, configHome);
        QFETCH(bool, blocked);
        QFETCH(QString, expectedDir);

        QTemporaryDir temp;
        const QString home = temp.filePath("home");
        QDir().mkpath(home);
        if (configHome.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME",
                    configHome == u"rel" ? QByteArray("xdg") : temp.filePath("xdg").toUtf8());
        const QString dir = temp.filePath(expectedDir);
        const QString file = dir + "/io.github.fennick.fennick.desktop";
        QCOMPARE(autostartFilePath(home), file);
        if (blocked) {
            QVERIFY(QDir().mkpath(QFileInfo(dir).path()));
            QVERIFY(put(dir, "not a folder"));
        }

        QCOMPARE(setAutostart(home, true), !blocked);
        QCOMPARE(autostartEnabled(home), !blocked);
        if (!blocked) {
            QCOMPARE(modeOf(dir), 0700);
            QVERIFY(bytesOf(file).contains("\nExec=fennick --background\n"));
            const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
            if (!validator.isEmpty()) {
                QProcess check;
                check.start(validator, {file});
                QVERIFY(check.waitForFinished());
                QCOMPARE(check.readAll() + check.readAllStandardError(), QByteArray());
                QCOMPARE(check.exitCode(), 0);
            }
        }
        QVERIFY(setAutostart(home, false));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!autostartEnabled(home));
        qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_GUILESS_MAIN(TestReminder)
#include "tst_reminder.moc"
