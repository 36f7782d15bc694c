// A working day through the real controller: punches at fixed clock times,
// then the three report windows, their buttons and a CSV export. Printing a
// log on pages is tst_reportwindow's.

#include "app/harness.h"
#include "reports/mydatasource.h"
#include "windows/checkinwindow.h"
#include "windows/dailychart.h"
#include "windows/pagedtableview.h"
#include "windows/reportwindow.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

using namespace fennick;
using namespace fennick::test;

namespace {

QStringList rowsOf(const ReportWindow& window) {
    const QAbstractItemModel* model = child<PagedTableView>(&window, "reportTable").model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + u'=' +
                    model->index(row, 1).data().toString();
    return rows;
}

QPushButton& earlier(const ReportWindow& window) {
    return child<QPushButton>(&window, "prevButton");
}

QPushButton& later(const ReportWindow& window) {
    return child<QPushButton>(&window, "nextButton");
}

const QList<qint64>& chartOf(const ReportWindow& window) {
    return child<DailyChart>(&window, "dailyChart").seconds();
}

QByteArray februaryWithManyPunches() {
    QStringList times;
    for (int day = 1; day <= 25; ++day) {
        for (const char* time : {"080000", "120000", "130000", "170000"})
            times << QString("202402%1%2").arg(day, 2, 10, QChar('0')).arg(time);
    }
    return "# imported by hand\n" + punches(times).toUtf8();
}

} // namespace

Q_DECLARE_METATYPE(fennick::ReportKind)

class TestStory : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }
    void aWorkingDay();
    void backToThisMonth_data();
    void backToThisMonth();
};

void TestStory::aWorkingDay() {
    Harness h;
    QVERIFY(QDir().mkpath(h.logsDir()));
    QVERIFY(put(h.logsDir() + "/TLOG202402.txt", februaryWithManyPunches()));
    h.clock.set(at("20240315085500"));
    MyController& c = h.start();
    c.showCheckInWindow();
    CheckInWindow& w = *c.ckinWindow();
    auto& checkIn = child<QPushButton>(&w, "ckInButton");
    auto& checkOut = child<QPushButton>(&w, "ckOutButton");

    h.clock.set(at("20240315090000"));
    QTest::mouseClick(&checkIn, Qt::LeftButton);
    QVERIFY(c.onBusinessP());
    h.clock.set(at("20240315123000"));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_Return); // Return now belongs to Check Out
    QVERIFY(!c.onBusinessP());
    h.clock.set(at("20240315131500"));
    c.action(Command::CheckIn)->trigger();
    h.clock.set(at("20240315174530"));
    QTest::mouseClick(&checkOut, Qt::LeftButton);

    QCOMPARE(bytesOf(h.logsDir() + "/TLOG202403.txt"),
             QByteArray("2024/03/15 09:00:00\tCheckIn:\t20240315090000\n"
                        "2024/03/15 12:30:00\tCheckOut:\t20240315123000\n"
                        "2024/03/15 13:15:00\tCheckIn:\t20240315131500\n"
                        "2024/03/15 17:45:30\tCheckOut:\t20240315174530\n"));
    QCOMPARE(child<QLabel>(&w, "ckinMainTitieField").text(), QString("Now CheckOut..."));
    QCOMPARE(child<QLabel>(&w, "ckinPreTimeField").text(), QString("2024/03/15 17:45:30"));

    // Which window shows and which commands are enabled is menuEnabling's.

    c.action(Command::ShowLog)->trigger();
    ReportWindow& log = *c.reportWindow(ReportKind::Log);
    // The model obeys Qt's rules through every refill and move below.
    const QAbstractItemModelTester modelRules(
        child<PagedTableView>(&log, "reportTable").model(),
        QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(rowsOf(log),
             QStringList({"2024/03/15 09:00:00=CheckIn", "2024/03/15 12:30:00=CheckOut",
                          "2024/03/15 13:15:00=CheckIn", "2024/03/15 17:45:30=CheckOut"}));
    QVERIFY(!later(log).isEnabled() && earlier(log).isEnabled());

    // Back to February and forth again, through the buttons.
    QTest::mouseClick(&earlier(log), Qt::LeftButton);
    QCOMPARE(c.myCurrentPrevMonth(), 1);
    QCOMPARE(rowsOf(log).size(), 100);
    QVERIFY(later(log).isEnabled() && !earlier(log).isEnabled());

    // The daily sums open on the month the cursor shows, February.
    c.action(Command::ShowDailySums)->trigger();
    ReportWindow& daily = *c.reportWindow(ReportKind::DailySums);
    QCOMPARE(rowsOf(daily).size(), 25);
    // The chart follows the month: 29 February days, 8 hours on the 1st to
    // the 25th, nothing after.
    QCOMPARE(chartOf(daily).size(), 29);
    QCOMPARE(chartOf(daily).value(24), qint64(8 * 3600));
    QCOMPARE(chartOf(daily).value(25), qint64(0));
    QCOMPARE(daily.totalLine(), QString("Monthly sum: \t200:00:00"));
    QTest::mouseClick(&later(daily), Qt::LeftButton);
    QCOMPARE(c.myCurrentPrevMonth(), 0);
    QCOMPARE(rowsOf(daily), QStringList{"20240315=08:00:30"});
    QCOMPARE(chartOf(daily).size(), 31);
    QCOMPARE(chartOf(daily).value(14), qint64(28830));
    QCOMPARE(daily.totalLine(), QString("Monthly sum: \t008:00:30"));

    c.action(Command::ShowMonthlySums)->trigger();
    ReportWindow& monthly = *c.reportWindow(ReportKind::MonthlySums);
    const QStringList months = rowsOf(monthly);
    QCOMPARE(months.size(), 12);
    QCOMPARE(months.first(), QString("202304=000:00:00"));
    QCOMPARE(months.mid(10), QStringList({"202402=200:00:00", "202403=008:00:30"}));
    QCOMPARE(monthly.totalLine(), QString("Yearly sum: \t208:00:30"));
    QVERIFY(!later(monthly).isEnabled() && !earlier(monthly).isEnabled());

    // The same rows and total line as CSV; a folder in the way fails cleanly.
    const QString csv = h.temp.path() + "/months.csv";
    QVERIFY(monthly.exportCsv(csv));
    const QList<QByteArray> lines = bytesOf(csv).split('\n');
    QCOMPARE(lines.size(), 15); // heading, twelve months, total, and the end
    QCOMPARE(lines.first(), QByteArray("Month,Worked\r"));
    QCOMPARE(lines.at(12), QByteArray("202403,008:00:30\r"));
    QCOMPARE(lines.at(13), QByteArray("Yearly sum:,208:00:30\r"));
    QVERIFY(QDir().mkpath(h.temp.path() + "/taken.csv"));
    QVERIFY(!monthly.exportCsv(h.temp.path() + "/taken.csv"));
}

void TestStory::backToThisMonth_data() {
    QTest::addColumn<ReportKind>("kind");
    QTest::addColumn<int>("farthest");
    // Over the table of March, whose file the window makes, empty.
    QTest::addColumn<QString>("note");
    QTest::newRow("log") << ReportKind::Log << 16 << "No punches in March 2024";
    QTest::newRow("daily sums") << ReportKind::DailySums << 16 << "No punches in March 2024";
    QTest::newRow("monthly sums") << ReportKind::MonthlySums << 12 << "";
}

// Far back through Earlier, then This Month returns at once; the Go menu's
// moves are enabled as the buttons are.
void TestStory::backToThisMonth() {
    QFETCH(ReportKind, kind);
    QFETCH(int, farthest);
    QFETCH(QString, note);
    Harness h;
    QVERIFY(QDir().mkpath(h.logsDir()));
    for (const char* month : {"202211", "202303", "202307", "202311"}) {
        const QString time = QString(month) + "02090000";
        QVERIFY(put(h.logsDir() + "/TLOG" + month + ".txt", punches({time}).toUtf8()));
    }
    h.clock.set(at("20240315120000"));
    MyController& c = h.start();
    c.showReportWindow(kind);
    ReportWindow& window = *c.reportWindow(kind);
    auto& earlierAction = child<QAction>(&window, "earlierAction");
    auto& laterAction = child<QAction>(&window, "laterAction");
    auto& thisMonth = child<QAction>(&window, "thisMonthAction");
    QCOMPARE(thisMonth.shortcut(), QKeySequence(Qt::ALT | Qt::Key_Home));
    const QString heading = window.heading();
    QCOMPARE(window.note(), note);
    QVERIFY(!thisMonth.isEnabled());
    for (int moves = 0; earlier(window).isEnabled() && moves < 10; ++moves) {
        QCOMPARE(earlierAction.isEnabled(), earlier(window).isEnabled());
        QTest::mouseClick(&earlier(window), Qt::LeftButton);
        QCOMPARE(laterAction.isEnabled(), later(window).isEnabled());
    }
    QCOMPARE(c.myCurrentPrevMonth(), farthest);
    QVERIFY(!earlierAction.isEnabled() && laterAction.isEnabled() && thisMonth.isEnabled());
    QCOMPARE(window.note(), QString());

    thisMonth.trigger();
    QCOMPARE(c.myCurrentPrevMonth(), 0);
    QCOMPARE(window.heading(), heading);
    QVERIFY(!later(window).isEnabled() && !laterAction.isEnabled() && !thisMonth.isEnabled());
    QCOMPARE(window.note(), note);
}

QTEST_MAIN(TestStory)
#include "tst_story.moc"
