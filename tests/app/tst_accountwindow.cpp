#include "app/harness.h"
#include "windows/checkinwindow.h"
#include "windows/prefwindow.h"
#include "windows/reportwindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

using namespace fennick;
using namespace fennick::test;

namespace {

// What the check-in window shows under the last punch, hidden lines left out.
QStringList accountShown(const CheckInWindow* w) {
    QStringList shown;
    for (const char* name : {"ckinTodayField", "ckinLeftField", "ckinBalanceField"}) {
        const auto& label = child<QLabel>(w, name);
        if (label.isVisibleTo(w))
            shown << label.text();
    }
    return shown;
}

// Monday 11 March 2024 from 08:00 to 16:00, and today, Friday the 15th,
// from 08:00 on (to 09:00 when checked out).
Harness& withWeek(Harness& h, bool checkedIn) {
    QDir().mkpath(h.logsDir());
    QStringList times{"20240311080000", "20240311160000", "20240315080000"};
    if (!checkedIn)
        times << "20240315090000";
    put(h.logsDir() + "/TLOG202403.txt", punches(times).toUtf8());
    return h;
}

} // namespace

class TestAccountWindow : public QObject {
    Q_OBJECT

private slots:
    void checkInWindow_data() {
        QTest::addColumn<int>("dailyMinutes"); // Monday to Friday; 0: no target
        QTest::addColumn<bool>("checkedIn");
        QTest::addColumn<QStringList>("lines"); // at 09:30:00
        QTest::addColumn<QStringList>("later"); // a minute later
        QTest::newRow("no target, checked in")
            << 0 << true << QStringList{"Today: 01:30"} << QStringList{"Today: 01:31"};
        QTest::newRow("forty hours, checked in")
            << 480 << true
            << QStringList{"Today: 01:30", "Left today: 06:30", "Week balance: -30:30"}
            << QStringList{"Today: 01:31", "Left today: 06:29", "Week balance: -30:29"};
        QTest::newRow("forty hours, checked out")
            << 480 << false
            << QStringList{"Today: 01:00", "Left today: 07:00", "Week balance: -31:00"}
            << QStringList{"Today: 01:00", "Left today: 07:00", "Week balance: -31:00"};
    }

    // The figures follow the clock at each minute boundary while checked in
    // and the window is shown; hidden or checked out, nothing wakes up.
    void checkInWindow() {
        QFETCH(int, dailyMinutes);
        QFETCH(bool, checkedIn);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, later);
        useTimeZone("Europe/Berlin");
        Harness h;
        for (int day = 1; day <= 5 && dailyMinutes; ++day)
            h.store(QString("targetMinutes/%1").arg(day), dailyMinutes);
        MyController& c = withWeek(h, checkedIn).start();
        c.showCheckInWindow();
        CheckInWindow* w = c.ckinWindow();
        QCOMPARE(accountShown(w), lines);
        QCOMPARE(w->isTicking(), checkedIn);
        if (checkedIn)
            QVERIFY2(w->msecsToTick() > 59000 && w->msecsToTick() <= 60000,
                     qPrintable(QString::number(w->msecsToTick())));
        // Late by 45 seconds: the next refresh comes at the next boundary.
        h.clock.advance(45);
        emit w->minuteTick();
        QCOMPARE(accountShown(w), lines);
        if (checkedIn)
            QVERIFY(w->msecsToTick() > 14000 && w->msecsToTick() <= 15000);
        h.clock.advance(15);
        emit w->minuteTick();
        QCOMPARE(accountShown(w), later);
        c.showLogWindow();
        QVERIFY(!w->isVisible());
        QVERIFY(!w->isTicking());
    }

    // Ctrl+5 shows the weeks of the month; targets set in Preferences show
    // at once in the weeks, the month's balance and the check-in window.
    void weeklySumsAndPreferences() {
        useTimeZone("Europe/Berlin");
        Harness h;
        MyController& c = withWeek(h, true).start();
        QAction* weekly = c.action(Command::ShowWeeklySums);
        QCOMPARE(weekly->shortcut(), QKeySequence("Ctrl+5"));
        weekly->trigger();
        ReportWindow* w = c.reportWindow(ReportKind::WeeklySums);
        QVERIFY(w->isVisible());
        QCOMPARE(w->objectName(), "weekWindow");
        QCOMPARE(child<QLabel>(w, "heading").text(), "Weekly Sums – March 2024");
        const QAbstractItemModel* model = child<QTableView>(w, "reportTable").model();
        const auto row = [model](int r) {
            return model->index(r, 0).data().toString() + ' ' +
                   model->index(r, 1).data().toString();
        };
        QCOMPARE(model->rowCount(), 5);
        QCOMPARE(row(2), "2024-W11 09:30:00");

        c.doPrefOpen();
        PrefWindow* prefs = c.prefWindow();
        child<QDoubleSpinBox>(prefs, "targetHours1").setValue(8);
        child<QDoubleSpinBox>(prefs, "targetHours5").setValue(7.5);
        prefs->okButton()->click();
        QCOMPARE(h.stored("targetMinutes/1").toInt(), 480);
        QCOMPARE(h.stored("targetMinutes/5").toInt(), 450);
        QVERIFY(!h.stored("targetMinutes/2").isValid());
        QCOMPARE(row(2), "2024-W11 09:30:00 / 15:30:00 / -06:00:00");
        // March: 9:30 worked; four Mondays and five Fridays (69 h 30 min).
        QCOMPARE(child<QLabel>(w, "totalField").text(), "Balance of the month: \t-60:00:00");
        QCOMPARE(accountShown(c.ckinWindow()),
                 QStringList({"Today: 01:30", "Left today: 06:00", "Week balance: -06:00"}));
        // Cancel keeps the targets as stored.
        c.doPrefOpen();
        child<QDoubleSpinBox>(prefs, "targetHours1").setValue(0);
        prefs->cancelButton()->click();
        QCOMPARE(h.stored("targetMinutes/1").toInt(), 480);
        QCOMPARE(child<QDoubleSpinBox>(prefs, "targetHours1").value(), 8.0);
    }
};

QTEST_MAIN(TestAccountWindow)
#include "tst_accountwindow.moc"
