#include "shell/autostart.h"
#include "shell/reminder.h"
#include "support.h"

using namespace fennick;
using namespace fennick::test;

namespace {

// One look at the reminders; empty texts are absent values.
struct Look {
    const char* checkedIn; // since when; "": checked out
    const char* now;
    int afterHours;
    int dailyMinute; // -1: no daily time
    bool longSent;
    const char* dailySentOn;
    bool sendLong, sendDaily;
    const char* next;
};

} // namespace

class TestReminder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    void plan_data() {
        QTest::addColumn<Look>("look");
        const char* in = "20240315081200";
        const int five = 17 * 60;
        const auto row = [](const char* name, const Look& look) { QTest::newRow(name) << look; };
        row("long: not yet, wait for it",
            {in, "20240315120000", 10, -1, false, "", false, false, "20240315181200"});
        row("long: once per check-in", {in, "20240315230000", 10, -1, true, "", false, false, ""});
        row("long: hours, not wall time, across DST", {"20240330220000", "20240331070000", 10, -1,
                                                       false, "", false, false, "20240331090000"});
        row("checked out: nothing, no timer",
            {"", "20240315230000", 10, five, false, "", false, false, ""});
        row("daily: before the time, wait for it",
            {in, "20240315120000", 0, five, false, "", false, false, "20240315170000"});
        row("daily: once per day",
            {in, "20240315220000", 0, five, false, "20240315", false, false, "20240316170000"});
        row("daily: again the next day",
            {in, "20240316170000", 0, five, false, "20240315", false, true, "20240317170000"});
        row("daily: checked in after the time", {"20240315190000", "20240315200000", 0, five, false,
                                                 "", false, false, "20240316170000"});
        row("daily: a skipped time moves forward", {"20240330220000", "20240331010000", 0, 150,
                                                    false, "", false, false, "20240331033000"});
        row("both due at once",
            {in, "20240315190000", 10, five, false, "", true, true, "20240316170000"});
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
        QCOMPARE(plan.sendLong, look.sendLong);
        QCOMPARE(plan.sendDaily, look.sendDaily);
        QCOMPARE(plan.next ? plan.next->format(CalFormat::Compact) : QString(), look.next);
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
};

QTEST_GUILESS_MAIN(TestReminder)
#include "tst_reminder.moc"
