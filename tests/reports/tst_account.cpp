#include "platform/texts.h"
#include "reports/account.h"
#include "reports/report.h"
#include "support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

// Month file name -> punch times, alternating from a check-in, or from a
// check-out after a first word "out".
using Files = QMap<QString, QStringList>;

namespace {

LogFolder folderWith(const QTemporaryDir& dir, const Files& files) {
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const bool out = it.value().value(0) == "out";
        const QString text = punches(out ? it.value().mid(1) : it.value(), out);
        if (!put(dir.filePath(it.key()), text.toUtf8()))
            qFatal("cannot write %s", qPrintable(it.key()));
    }
    return LogFolder::scanned(dir.path());
}

constexpr qint64 h = 3600;

} // namespace

class TestAccount : public QObject {
    Q_OBJECT

private slots:
    void totals_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("now");
        QTest::addColumn<qint64>("today");
        QTest::addColumn<qint64>("week");
        // Tuesday 5 March 2024; the night's work is cut at midnight.
        QTest::newRow("across midnight, open up to now")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202403.txt",
                      {"20240303100000", "20240303120000", "20240304220000", "20240305020000",
                       "20240305080000"}}}
            << "20240305103000" << 2 * h + 2 * h + h / 2 << 4 * h + 2 * h + h / 2;
        // Week 5 of 2024 runs from Monday 29 January to Sunday 4 February.
        QTest::newRow("month boundary inside the week")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202401.txt",
                      {"20240128080000", "20240128100000", "20240129080000", "20240129160000",
                       "20240131220000"}},
                     {"TLOG202402.txt",
                      {"out", "20240201020000", "20240202080000", "20240202120000",
                       "20240205080000", "20240205090000"}}}
            << "20240202130000" << 4 * h << 16 * h;
        // Week 53 of 2020 ends on Sunday 3 January 2021.
        QTest::newRow("ISO week 53 across the year")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202012.txt",
                      {"20201227100000", "20201227120000", "20201228090000", "20201228170000",
                       "20201231230000"}},
                     {"TLOG202101.txt",
                      {"out", "20210101010000", "20210103100000", "20210103110000"}}}
            << "20210103120000" << 1 * h << 11 * h;
        // Week 1 of 2025 starts on Monday 30 December 2024.
        QTest::newRow("ISO week 1 across the year")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202412.txt",
                      {"20241229090000", "20241229100000", "20241230090000", "20241230100000"}},
                     {"TLOG202501.txt", {"20250102090000", "20250102093000"}}}
            << "20250102120000" << h / 2 << h + h / 2;
        // Sunday 31 March 2024 has 23 hours: 00:00 to 04:00 is three.
        QTest::newRow("Berlin: clocks forward inside the week")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202403.txt", {"20240330220000", "20240331040000"}}} << "20240331120000"
            << 3 * h << 5 * h;
        // Still checked in since Sunday evening, and no April file yet.
        QTest::newRow("Berlin: open since last month, no file of this month")
            << QByteArray("Europe/Berlin") << Files{{"TLOG202403.txt", {"20240331200000"}}}
            << "20240401100000" << 10 * h << 10 * h;
        QTest::newRow("Berlin: open since last month, this month's file empty")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202403.txt", {"20240331200000"}}, {"TLOG202404.txt", {}}}
            << "20240401100000" << 10 * h << 10 * h;
        // Monday 28 October 2024 begins 25 hours after Sunday, not 24.
        QTest::newRow("Berlin: the first midnight after the change")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202410.txt",
                      {"20241026230000", "20241027040000", "20241027200000", "20241028020000"}}}
            << "20241028120000" << 2 * h << 2 * h;
        // Sunday 27 October 2024 has 25 hours.
        QTest::newRow("Berlin: clocks back inside the week")
            << QByteArray("Europe/Berlin")
            << Files{{"TLOG202410.txt", {"20241026230000", "20241027040000"}}} << "20241027120000"
            << 5 * h << 6 * h;
        // 4 November 2018 starts at 01:00: 22:00 to 03:00 is four hours.
        QTest::newRow("Sao Paulo 2018: midnight skipped inside the week")
            << QByteArray("America/Sao_Paulo")
            << Files{{"TLOG201811.txt", {"20181103220000", "20181104030000"}}} << "20181104120000"
            << 2 * h << 4 * h;
        QTest::newRow("Sao Paulo 2018: the first midnight after the change")
            << QByteArray("America/Sao_Paulo")
            << Files{{"TLOG201811.txt",
                      {"20181103220000", "20181104030000", "20181104220000", "20181105020000"}}}
            << "20181105120000" << 2 * h << 2 * h;
    }

    void totals() {
        QFETCH(QByteArray, zone);
        QFETCH(Files, files);
        QFETCH(QString, now);
        QFETCH(qint64, today);
        QFETCH(qint64, week);
        useTimeZone(zone.constData());
        const FixedClock clock(at(now));
        const QTemporaryDir dir;
        const Account got = account(folderWith(dir, files), clock, WeekTargets{});
        QCOMPARE(got.dayKey, now.left(8));
        QCOMPARE(qint64(got.todaySeconds), today);
        QCOMPARE(qint64(got.weekSeconds), week);
        QVERIFY(!got.weekTargetSeconds && !got.balanceSeconds() && !got.leftTodaySeconds());
        QVERIFY(!accountLines(got).left && !accountLines(got).balance);
    }

    void targets_data() {
        QTest::addColumn<QList<int>>("minutes"); // Monday first
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("lines");
        // Worked: Monday 4 h; Tuesday (today) from 08:00 to 12:00 and from
        // 12:30 on.
        const QList<int> fullTime{480, 480, 480, 480, 480, 0, 0};
        QTest::newRow("over today's target, behind for the week")
            << fullTime << "20240305173000"
            << "Today: 09:00|Left today: 00:00|Week balance: -27:00";
        QTest::newRow("under today's target")
            << fullTime << "20240305150000"
            << "Today: 06:30|Left today: 01:30|Week balance: -29:30";
        QTest::newRow("no target on today's weekday")
            << QList<int>{240, 0, 0, 0, 0, 0, 0} << "20240305173000"
            << "Today: 09:00|Left today: 00:00|Week balance: 09:00";
        QTest::newRow("targets in quarters of hours")
            << QList<int>{135, 315, 0, 0, 0, 0, 0} << "20240305130000"
            << "Today: 04:30|Left today: 00:45|Week balance: 01:00";
        QTest::newRow("no target: only today") << QList<int>(7, 0) << "20240305173000"
                                               << "Today: 09:00";
    }

    void targets() {
        QFETCH(QList<int>, minutes);
        QFETCH(QString, now);
        QFETCH(QString, lines);
        useTimeZone("Europe/Berlin");
        WeekTargets week;
        std::copy(minutes.begin(), minutes.end(), week.minutes.begin());
        const QTemporaryDir dir;
        const LogFolder folder =
            folderWith(dir, {{"TLOG202403.txt",
                              {"20240304080000", "20240304120000", "20240305080000",
                               "20240305120000", "20240305123000"}}});
        const Account got = account(folder, FixedClock(at(now)), week);
        const AccountLines shown = accountLines(got);
        QStringList texts{shown.today};
        for (const auto& line : {shown.left, shown.balance}) {
            if (line)
                texts << *line;
        }
        QCOMPARE(texts.join(u'|'), lines);
        // The terminal's figures are the same as the window's.
        if (got.balanceSeconds())
            QCOMPARE(*got.balanceSeconds(), got.weekSeconds - week.weekSeconds());
    }

    void weekReport_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QStringList>("weeks");
        QTest::newRow("February 2024: weeks 5 to 9")
            << QByteArray("Europe/Berlin") << "202402"
            << QStringList{"2024-W05", "2024-W06", "2024-W07", "2024-W08", "2024-W09"};
        QTest::newRow("January 2021 begins in week 53")
            << QByteArray("Europe/Berlin") << "202101"
            << QStringList{"2020-W53", "2021-W01", "2021-W02", "2021-W03", "2021-W04"};
        QTest::newRow("March 2024: clocks forward on the last Sunday")
            << QByteArray("Europe/Berlin") << "202403"
            << QStringList{"2024-W09", "2024-W10", "2024-W11", "2024-W12", "2024-W13"};
        QTest::newRow("Sao Paulo, November 2018")
            << QByteArray("America/Sao_Paulo") << "201811"
            << QStringList{"2018-W44", "2018-W45", "2018-W46", "2018-W47", "2018-W48"};
    }

    // Every week's figures against the daily sums of the same files: a night
    // shift every day from 22:00 to 06:30, across every midnight, month end
    // and clock change.
    void weekReport() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, month);
        QFETCH(QStringList, weeks);
        useTimeZone(zone.constData());
        const QDate first = QDate::fromString(month + "01", "yyyyMMdd");
        Files files;
        for (QDate day = first.addMonths(-1); day < first.addMonths(2); day = day.addDays(1)) {
            // Each punch in the file of its own month.
            const QString in = day.toString("yyyyMMdd") + "220000";
            const QString out = day.addDays(1).toString("yyyyMMdd") + "063000";
            for (const QString& time : {in, out}) {
                QStringList& file = files["TLOG" + time.left(6) + ".txt"];
                if (file.isEmpty() && time == out)
                    file << "out";
                file << time;
            }
        }
        const QTemporaryDir dir;
        const LogFolder folder = folderWith(dir, files);
        const FixedClock clock(at("20300101000000"));
        WeekTargets targets;
        targets.minutes = {480, 480, 480, 480, 480, 60, 0};
        const int offset = int((2030 - first.year()) * 12 + 1 - first.month());
        const ReportContent report =
            reportContent(ReportKind::WeeklySums, offset, folder, clock, targets);
        // The daily sums of the three months.
        DayTotals days;
        std::int64_t monthWorked = 0;
        for (int back = offset + 1; back >= offset - 1; --back) {
            const ReportContent daily = reportContent(ReportKind::DailySums, back, folder, clock);
            days.insert(daily.days);
            if (back == offset)
                monthWorked = daily.totalSeconds;
        }
        QStringList keys;
        QDate monday = weekStart(first);
        for (const myDspData& row : report.rows.value_or(DspRows{})) {
            keys << row.keyDateStr;
            std::int64_t worked = 0;
            for (int i = 0; i < 7; ++i)
                worked += days.value(dayKeyOf(monday.addDays(i))).sumValue();
            QCOMPARE(row.dataStr,
                     dayDuration(worked) + " / 41:00:00 / " + dayDuration(worked - 41 * h));
            monday = monday.addDays(7);
        }
        QCOMPARE(keys, weeks);
        std::int64_t monthTarget = 0;
        for (QDate day = first; day.month() == first.month(); day = day.addDays(1))
            monthTarget += targets.daySeconds(day.dayOfWeek());
        QCOMPARE(report.totalSeconds, monthWorked - monthTarget);
        QCOMPARE(report.totalLine,
                 std::optional(fillDuration("Balance of the month: \t%02d:%02d:%02d",
                                            monthWorked - monthTarget)));
        // Without a target: the time worked only, and the month's total.
        const ReportContent plain = reportContent(ReportKind::WeeklySums, offset, folder, clock);
        QCOMPARE(plain.totalSeconds, monthWorked);
        QVERIFY(!plain.rows->first().dataStr.contains(u'/'));
        QCOMPARE(plain.columnHeadings.value(1), "Worked");
    }
};

QTEST_GUILESS_MAIN(TestAccount)
#include "tst_account.moc"
