// A working day through the real controller: punches at fixed clock times,
// then the three report windows, their buttons and a PDF export.

#include "app/harness.h"
#include "reports/mydatasource.h"
#include "reports/widgets/dailychart.h"
#include "reports/widgets/mybasetableview.h"
#include "reports/widgets/reportwindow.h"
#include "windows/checkinwindow.h"

#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

using namespace fennick;
using namespace fennick::test;
using Command = MyController::Command;

namespace {

QStringList rowsOf(const ReportWindow& window) {
    QStringList rows;
    for (const myDspData& row : window.dataSource()->dataArray().value_or(DspRows{}))
        rows << row.keyDateStr + u'=' + row.dataStr;
    return rows;
}

int pdfPageCount(const QString& path) {
    static const QRegularExpression page("/Type\\s*/Page(?![A-Za-z])");
    return int(QString::fromLatin1(bytesOf(path)).count(page));
}

QByteArray februaryWithManyPunches() {
    QByteArray text("# imported by hand\n");
    for (int day = 1; day <= 25; ++day) {
        for (const char* time : {"080000", "120000", "130000", "170000"}) {
            const QString compact = QString("202402%1%2").arg(day, 2, 10, QChar('0')).arg(time);
            const bool in = QByteArray(time) == "080000" || QByteArray(time) == "130000";
            text += (at(compact).format(CalFormat::Display) +
                     (in ? "\tCheckIn:\t" : "\tCheckOut:\t") + compact + "\n")
                        .toLatin1();
        }
    }
    return text;
}

} // namespace

class TestStory : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("TZ", "Europe/Berlin");
        timeZoneChanged();
    }
    void aWorkingDay();
};

void TestStory::aWorkingDay() {
    Harness h;
    QVERIFY(QDir().mkpath(h.logsDir()));
    QVERIFY(put(h.logsDir() + "/TLOG202402.txt", februaryWithManyPunches()));
    h.clock.set(at("20240315085500"));
    MyController& c = h.start();
    c.showCheckInWindow();
    CheckInWindow& w = *c.ckinWindow();

    h.clock.set(at("20240315090000"));
    QTest::mouseClick(w.ckInButton(), Qt::LeftButton);
    QVERIFY(c.onBusinessP());
    h.clock.set(at("20240315123000"));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_Return); // Return now belongs to Check Out
    QVERIFY(!c.onBusinessP());
    h.clock.set(at("20240315131500"));
    c.action(Command::CheckIn)->trigger();
    h.clock.set(at("20240315174530"));
    QTest::mouseClick(w.ckOutButton(), Qt::LeftButton);

    QCOMPARE(bytesOf(h.logsDir() + "/TLOG202403.txt"),
             QByteArray("2024/03/15 09:00:00\tCheckIn:\t20240315090000\n"
                        "2024/03/15 12:30:00\tCheckOut:\t20240315123000\n"
                        "2024/03/15 13:15:00\tCheckIn:\t20240315131500\n"
                        "2024/03/15 17:45:30\tCheckOut:\t20240315174530\n"));
    QCOMPARE(w.ckinMainTitieField()->text(), QString("Now CheckOut..."));
    QCOMPARE(w.ckinPreTimeField()->text(), QString("2024/03/15 17:45:30"));
    QVERIFY(!c.action(Command::Print)->isEnabled());

    c.action(Command::ShowLog)->trigger();
    ReportWindow& log = *c.logWindow();
    QVERIFY(log.isVisible() && !w.isVisible());
    QCOMPARE(rowsOf(log),
             QStringList({"2024/03/15 09:00:00=CheckIn", "2024/03/15 12:30:00=CheckOut",
                          "2024/03/15 13:15:00=CheckIn", "2024/03/15 17:45:30=CheckOut"}));
    QVERIFY(c.action(Command::Print)->isEnabled());
    QVERIFY(!c.action(Command::ShowLog)->isEnabled());
    QVERIFY(!log.nextButton()->isEnabled());
    QVERIFY(log.prevButton()->isEnabled());

    // Back to February and forth again, through the buttons.
    QTest::mouseClick(log.prevButton(), Qt::LeftButton);
    QCOMPARE(c.myCurrentPrevMonth(), 1);
    QCOMPARE(log.dataSource()->rowCount(), 100);
    QVERIFY(log.nextButton()->isEnabled() && !log.prevButton()->isEnabled());

    // The February log prints on several pages of whole rows, none blank.
    const QString pdf = h.temp.path() + "/february.pdf";
    QVERIFY(log.exportPdf(pdf));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(MyBaseTableView::defaultPageLayout());
    const int pages = log.table()->knowsPageRange(printer);
    QVERIFY(pages > 1);
    QCOMPARE(pdfPageCount(pdf), pages);
    int printedRows = 0;
    for (int page = 1; page <= pages; ++page)
        printedRows += log.table()->rowsOnPage(printer, page).second;
    QCOMPARE(printedRows, 100);

    // The daily sums open on the month the cursor shows, February.
    c.action(Command::ShowSum1)->trigger();
    ReportWindow& daily = *c.sum1Window();
    QCOMPARE(daily.dataSource()->rowCount(), 25);
    // The chart follows the month: 29 February days, 8 hours on the 1st to
    // the 25th, nothing after.
    QCOMPARE(c.dailyChart()->seconds().size(), 29);
    QCOMPARE(c.dailyChart()->seconds().value(24), qint64(8 * 3600));
    QCOMPARE(c.dailyChart()->seconds().value(25), qint64(0));
    QCOMPARE(daily.totalField()->text(), QString("Monthly sum: \t200:00:00"));
    QTest::mouseClick(daily.nextButton(), Qt::LeftButton);
    QCOMPARE(c.myCurrentPrevMonth(), 0);
    QCOMPARE(rowsOf(daily), QStringList{"20240315=08:00:30"});
    QCOMPARE(c.dailyChart()->seconds().size(), 31);
    QCOMPARE(c.dailyChart()->seconds().value(14), qint64(28830));
    QCOMPARE(daily.totalField()->text(), QString("Monthly sum: \t008:00:30"));

    c.action(Command::ShowSum2)->trigger();
    ReportWindow& monthly = *c.sum2Window();
    const QStringList months = rowsOf(monthly);
    QCOMPARE(months.size(), 12);
    QCOMPARE(months.first(), QString("202304=000:00:00"));
    QCOMPARE(months.mid(10), QStringList({"202402=200:00:00", "202403=008:00:30"}));
    QCOMPARE(monthly.totalField()->text(), QString("Yearly sum: \t208:00:30"));
    QVERIFY(!monthly.nextButton()->isEnabled() && !monthly.prevButton()->isEnabled());

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
    QVERIFY(!c.action(Command::ShowSum2)->isEnabled());
    QVERIFY(c.action(Command::ShowSum1)->isEnabled());
    QVERIFY(!daily.isVisible() && !log.isVisible());

    c.action(Command::ShowCheckIn)->trigger();
    QVERIFY(w.isVisible() && !monthly.isVisible());
    QVERIFY(!c.action(Command::Print)->isEnabled());
}

QTEST_MAIN(TestStory)
#include "tst_story.moc"
