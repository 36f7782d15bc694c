#include "reports/mydatasource.h"
#include "reports/report.h"
#include "support.h"
#include "timelog/store.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

// Writes a month file of punches at compact times, alternating from a check-in.
bool writeLog(const QString& path, const QStringList& times) {
    return put(path, punches(times).toUtf8());
}

class TestReportData : public QObject {
    Q_OBJECT

private slots:
    void fills_data() {
        QTest::addColumn<QString>("fill"); // "daily", "monthly", or "monthly" without a directory
        QTest::addColumn<int>("cursor");   // the block start for the monthly sums
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("note"); // the line over an empty table
        const auto row = [](const char* name, const char* fill, int cursor, const QStringList& rows,
                            const char* total, const char* note = "") {
            QTest::newRow(name) << fill << cursor << rows << total << note;
        };
        row("days sorted, across midnight, negative, open up to now", "daily", 0,
            {"20240303=01:01:01", "20240310=-00:01:30", "20240312=02:00:00", "20240313=01:00:00",
             "20240315=03:00:00"},
            "Monthly sum: \t006:59:31");
        row("no month file", "daily", 1, {}, "Monthly sum: \t000:00:00",
            "No punches in February 2024");
        row("no month file, log", "log", 2, {}, "", "No punches in January 2024");
        row("unreadable month file", "daily", 3, {}, "Monthly sum: \t000:00:00",
            "No punches in December 2023");
        row("a month file without punches", "log", 4, {}, "", "No punches in November 2023");
        // 100 hours fill more than the three digits' minimum width.
        row("cursor 0: the current month and the eleven before", "monthly", 0,
            {"202304=100:00:00", "202305=000:00:00", "202306=000:00:00", "202307=000:00:00",
             "202308=000:00:00", "202309=000:00:00", "202310=000:00:00", "202311=000:00:00",
             "202312=000:00:00", "202401=000:00:00", "202402=000:00:00", "202403=006:59:31"},
            "Yearly sum: \t106:59:31");
        row("block start 12: offsets 23 down to 12", "monthly", 12,
            {"202204=000:00:00", "202205=000:00:00", "202206=000:00:00", "202207=000:00:00",
             "202208=000:00:00", "202209=000:00:00", "202210=000:00:00", "202211=000:00:00",
             "202212=000:00:00", "202301=000:00:00", "202302=000:00:00", "202303=001:00:00"},
            "Yearly sum: \t001:00:00");
        // Not the table of an earlier fill.
        row("no directory: an empty table", "no directory", 0, {}, "Yearly sum: \t000:00:00");
    }

    // In a log directory at noon on 15 March 2024.
    void fills() {
        QFETCH(QString, fill);
        QFETCH(int, cursor);
        QFETCH(QStringList, rows);
        QFETCH(QString, total);
        QFETCH(QString, note);
        useTimeZone("Europe/Berlin"); // no daylight saving change in the data
        const FixedClock clock(at("20240315120000"));
        const QTemporaryDir dir;
        QVERIFY(writeLog(dir.filePath("TLOG202303.txt"), {"20230310080000", "20230310090000"}));
        QVERIFY(writeLog(dir.filePath("TLOG202304.txt"), {"20230401000000", "20230405040000"}));
        // A month file that cannot be read: no days, and 0 for its month.
        QVERIFY(QDir().mkpath(dir.filePath("TLOG202312.txt")));
        QVERIFY(put(dir.filePath("TLOG202311.txt"), "# nothing yet\n"));
        // Out of order, across midnight, a check-out before its check-in, and
        // a check-in still open.
        QVERIFY(writeLog(dir.filePath("TLOG202403.txt"),
                         {"20240312220000", "20240313010000", "20240310080130", "20240310080000",
                          "20240303090000", "20240303100101", "20240315090000"}));
        const QString logs = fill == "no directory" ? dir.filePath("missing") : dir.path();
        const auto index = TimeLogStore(logs, clock, [](const QString&) {}).getLogFileDic();
        const ReportKind kind = reportKindNamed(fill).value_or(ReportKind::MonthlySums);
        const ReportContent table = reportContent(kind, cursor, LogFolder{logs, index}, clock);
        QStringList got;
        for (const myDspData& row : table.rows.value_or(DspRows{}))
            got << row.keyDateStr + '=' + row.dataStr;
        QCOMPARE(got, rows);
        // The monthly sums always have a (maybe empty) table; days only with work.
        if (kind != ReportKind::Log)
            QCOMPARE(table.rows.has_value(), kind == ReportKind::MonthlySums || !rows.isEmpty());
        QCOMPARE(table.totalLine.value_or(QString()), total);
        QCOMPARE(noPunchesNote(table), note);
        QCOMPARE(table.todayKey, QString("20240315"));
    }

    // Rows keyed by a day are marked and carry their full date; other keys
    // (a punch time, a month) carry nothing.
    void dayMarks_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("weekend");
        QTest::addColumn<QVariant>("today");
        QTest::addColumn<QVariant>("toolTip");
        QTest::newRow("Saturday") << "20240316" << QVariant(true) << QVariant(false)
                                  << QVariant("Saturday, March 16, 2024");
        QTest::newRow("Sunday") << "20240317" << QVariant(true) << QVariant(false)
                                << QVariant("Sunday, March 17, 2024");
        QTest::newRow("today, a Friday") << "20240315" << QVariant(false) << QVariant(true)
                                         << QVariant("Friday, March 15, 2024");
        QTest::newRow("a Monday") << "20240311" << QVariant(false) << QVariant(false)
                                  << QVariant("Monday, March 11, 2024");
        QTest::newRow("a punch time")
            << "2024/03/16 09:00:00" << QVariant() << QVariant() << QVariant();
        QTest::newRow("a month") << "202403" << QVariant() << QVariant() << QVariant();
        QTest::newRow("no date") << "20240231" << QVariant() << QVariant() << QVariant();
    }

    void dayMarks() {
        QFETCH(QString, key);
        QFETCH(QVariant, weekend);
        QFETCH(QVariant, today);
        QFETCH(QVariant, toolTip);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        MyDataSource source(reportColumns(ReportKind::DailySums));
        source.setTodayKey("20240315");
        source.setDataArray(DspRows{{key, "08:00:00"}});
        for (int column : {0, 1}) {
            const QModelIndex cell = source.index(0, column);
            QCOMPARE(cell.data(MyDataSource::WeekendRole), weekend);
            QCOMPARE(cell.data(MyDataSource::TodayRole), today);
            QCOMPARE(cell.data(Qt::ToolTipRole), toolTip);
            QCOMPARE(cell.data().toString(), column == 0 ? key : QString("08:00:00"));
        }
    }
};

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_reportdata.moc"
