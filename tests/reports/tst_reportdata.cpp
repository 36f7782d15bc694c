// From month files to reports: dates and durations, the records read, the month and day
// totals, report content, the working-time account and month navigation.

#include "platform/caldate.h"
#include "platform/texts.h"
#include "platform/version.h"
#include "reports/account.h"
#include "reports/navigation.h"
#include "reports/report.h"
#include "summary/monthsumhandler.h"
#include "support.h"
#include "timelog/record.h"

#include <QDeadlineTimer>
#include <cmath>

using namespace fennick;
using namespace fennick::test;

namespace {

constexpr qint64 h = 3600;

// "NP": both buttons enabled, "-P": only Earlier, "N-": only Later, "--": none.
QString buttons(int cursor, bool yearly, const MonthHasFile& hasFile) {
    const MoveButtons b =
        checkMoveSomeButton(cursor, yearly ? Stride::Block : Stride::Month, hasFile);
    return QString(b.nextEnabled ? "N" : "-") + (b.prevEnabled ? "P" : "-");
}

// Table rows as "key=value".
QStringList rowsOf(const std::optional<DspRows>& table) {
    QStringList rows;
    for (const myDspData& row : table.value_or(DspRows{}))
        rows << row.keyDateStr + '=' + row.dataStr;
    return rows;
}

// "I 2024…, O 2024…" -> record lines, written at a time unrelated to the punch.
QString logText(const QString& list) {
    QString text;
    for (const QString& punch : list.split(", ", Qt::SkipEmptyParts)) {
        const QString kind = punch.startsWith(u'I') ? "CheckIn:" : "CheckOut:";
        text += "1999/12/31 23:59:59\t" + kind + "\t" + punch.mid(2) + "\n";
    }
    return text;
}

// "in <token>" / "out <token>" for every record the reader hands over.
QStringList readRecords(QStringView text) {
    QStringList out;
    forEachRecord(text, [&](const Record& r) {
        out << QString(r.kind == PunchKind::CheckIn ? "in " : "out ") + r.timeToken.toString();
    });
    return out;
}

// "20240305=7200 20240306=21600"; day entries never carry a key.
QString describe(const DayTotals& days) {
    QStringList parts;
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        parts << it.key() + "=" + QString::number(it->sumValue()) + (it->keyDateStr() ? "+" : "");
    return parts.join(u' ');
}

// Expected: "<month total> <its key, - when absent>: <day entries>".
void add(const char* name, const char* list, const char* expected,
         const char* zone = "Europe/Berlin", const char* now = "20300101000000") {
    QTest::newRow(name) << QByteArray(zone) << logText(list) << QString(now) << QString(expected);
}

// A text read strictly, as a real date in the format or not at all: its display form, "" when
// refused, " misread" added when it does not format back or its instant reads otherwise.
QString parsed(const QString& text, CalFormat format = CalFormat::Compact) {
    const auto date = CalDate::parse(text, format);
    if (!date)
        return "";
    const bool same = date->format(format) == text &&
                      CalDate::fromInstant(date->instant()).fields() == date->fields();
    return date->format(CalFormat::Display) + (same ? "" : " misread");
}

// "2024/03/31 03:30:00 1711848600": the local time and the instant; the local
// time must be what the instant reads as.
QString show(const CalDate& date) {
    const bool same = CalDate::fromInstant(date.instant()).fields() == date.fields();
    return date.format(CalFormat::Display) + " " + QString::number(date.instant()) +
           (same ? "" : " misread");
}

// A day's first instant and length; the next day starts where its key followed
// by "000000" reads and where addDays(1) lands.
QString day(const QString& key) {
    const CalDate start = at(key + "000000");
    const CalDate next = start.nextDayStart();
    const QString nextKey = next.format(CalFormat::Compact).left(8);
    const bool agree = next == at(nextKey + "000000") &&
                       start.addDays(1).format(CalFormat::Compact).startsWith(nextKey);
    return start.format(CalFormat::Display) + " " +
           QString::number(next.instant() - start.instant()) + (agree ? "" : " disagrees");
}

} // namespace

class TestReportData : public QObject {
    Q_OBJECT

private slots:
    void init() { useTimeZone("Europe/Berlin"); }
    void cleanupTestCase() { useTimeZone("UTC"); }

    // Strict parsing: a text reads only when it is a real date in the format.
    // What the code gives, computed in the row's time zone, and what it must give.
    void results_data() {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& got, const QString& expected) {
            QTest::newRow(name) << got << expected;
        };
        useTimeZone("Europe/Berlin");
        row("leap day", parsed("20240229120000"), "2024/02/29 12:00:00");
        row("year 9999", parsed("99991231235959"), "9999/12/31 23:59:59");
        row("display", parsed("2024/01/15 23:59:59", CalFormat::Display), "2024/01/15 23:59:59");
        row("month 13", parsed("20241301000000"), "");
        row("february 30", parsed("20240230000000"), "");
        row("february 29, no leap year", parsed("20230229000000"), "");
        row("hour 24", parsed("20240101240000"), "");
        row("13 digits", parsed("2024010100000"), "");
        row("arabic-indic digits", parsed(QString::fromUtf8("٢٠٢٤٠١٠١٠٠٠٠٠٠")), "");
        row("dashes", parsed("2024-01-01 00:00:00", CalFormat::Display), "");
        row("gap moves forward", show(at("20240331023000")), "2024/03/31 03:30:00 1711848600");
        row("repeated hour reads first", show(at("20241027023000")),
            "2024/10/27 02:30:00 1729989000");
        row("spring day", day("20240331"), "2024/03/31 00:00:00 82800");
        row("autumn day", day("20241027"), "2024/10/27 00:00:00 90000");
        row("month after december", show(at("20241201000000").addMonths(1)),
            "2025/01/01 00:00:00 1735686000");
        row("month across spring change", show(at("20240301000000").addMonths(1)),
            "2024/04/01 00:00:00 1711922400");
        row("months back across years", show(at("20240315120000").addMonths(-14)),
            "2023/01/15 12:00:00 1673780400");
        row("missing day carries", show(at("20240131000000").addMonths(1)),
            "2024/03/02 00:00:00 1709334000");
        row("month key across a year", monthKeyBefore(at("20240301000000"), 3), "202312");
        row("month key on day 31", monthKeyBefore(at("20240331120000"), 13), "202302");
        // One row per record line in file order, showing the punch time.
        const QString text = "\t# b CheckIn: 20240305090000\n\n" +
                             logText("O 20240305173000, I 20231224080000, I 20241305090000");
        const FixedClock june(at("20240601000000"));
        row("log rows",
            rowsOf(logRows(MonthSumHandler(std::nullopt, june).getLogArrayBuff(text))).join(','),
            "2024/03/05 17:30:00=CheckOut,2023/12/24 08:00:00=CheckIn,=CheckIn");
        // 366 days are cut at every midnight; anything longer goes whole to its start day.
        DayTotals year, longer;
        year["20230101"].setSumValue(1000);
        MonthSumHandler::calcDayByDaySums(year, at("20240102000000"), at("20230101000000"));
        MonthSumHandler::calcDayByDaySums(longer, at("20240102000001"), at("20230101000000"));
        qint64 sum = 0;
        for (const sumobject& day : year)
            sum += day.sumValue();
        row("a year and a day, cut", QString("%1 days, %2").arg(year.size()).arg(sum),
            "366 days, 31623400");
        row("longer, whole", describe(longer), "20230101=31622401");
        useTimeZone("America/Sao_Paulo");
        row("midnight jump", day("20181104"), "2018/11/04 01:00:00 82800");
        row("midnight repeated", day("20190216"), "2019/02/16 00:00:00 90000");
        row("day into the jump", show(at("20181103000000").addDays(1)),
            "2018/11/04 01:00:00 1541300400");
        row("repeated midnight hour reads first", show(at("20190216233000")),
            "2019/02/16 23:30:00 1550367000");
        useTimeZone("Australia/Lord_Howe");
        row("lord howe spring", day("20241006"), "2024/10/06 00:00:00 84600");
        row("lord howe autumn", day("20240407"), "2024/04/07 00:00:00 88200");
        row("lord howe after the gap", show(at("20241006023000")),
            "2024/10/06 02:30:00 1728142200");
        useTimeZone("UTC");
        row("clamp truncates toward zero", QString::number(clampSeconds(-1.9)), "-1");
        row("clamp NaN", QString::number(clampSeconds(std::nan(""))), "0");
        const QString hms = "%02d:%02d:%02d";
        row("widths are minimums", fillDuration("%03d:%02d:%02d", 3600000), "1000:00:00");
        row("negative total", fillDuration("Sum: %03d:%02d:%02d", -3661), "Sum: -001:01:01");
        row("int32 minimum", fillDuration(hms, std::numeric_limits<int>::min()), "-596523:14:08");
        row("percent sign", fillWord("100%% %d %@", "W"), "100% %d W");
        row("older qt refused", QString::number(versionAllowed(queryVersion("6.3.9", 6, 4))), "0");
    }

    void results() {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }

    void fills_data() {
        QTest::addColumn<QString>("fill"); // a report's name, or "no folder"
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
        row("unreadable month file", "daily", 3, {}, "Monthly sum: \t000:00:00",
            "No punches in December 2023");
        row("a month file without punches", "log", 4, {}, "", "No punches in November 2023");
        // 100 hours fill more than the three digits' minimum width.
        row("cursor 0: the current month and the eleven before", "monthly", 0,
            {"202304=100:00:00", "202305=000:00:00", "202306=000:00:00", "202307=000:00:00",
             "202308=000:00:00", "202309=000:00:00", "202310=000:00:00", "202311=000:00:00",
             "202312=000:00:00", "202401=000:00:00", "202402=000:00:00", "202403=006:59:31"},
            "Yearly sum: \t106:59:31");
        row("no folder: an empty table", "no folder", 0, {}, "Yearly sum: \t000:00:00");
    }
    // Noon on 15 March 2024; March out of order, across midnight, negative, still open.
    void fills() {
        QFETCH(QString, fill);
        QFETCH(int, cursor);
        QFETCH(QStringList, rows);
        QFETCH(QString, total);
        QFETCH(QString, note);
        const FixedClock clock(at("20240315120000"));
        const QTemporaryDir dir;
        QVERIFY(writeMonths(dir.path(), {"20230401000000", "20230405040000", "20240312220000",
                                         "20240313010000", "20240310080130", "20240310080000",
                                         "20240303090000", "20240303100101", "20240315090000"}));
        QVERIFY(QDir().mkpath(dir.filePath("TLOG202312.txt"))); // unreadable: no days, 0
        QVERIFY(put(dir.filePath("TLOG202311.txt"), "# nothing yet\n"));
        const QString logs = fill == "no folder" ? dir.filePath("missing") : dir.path();
        const ReportKind kind = reportKindNamed(fill).value_or(ReportKind::MonthlySums);
        const ReportContent table = reportContent(kind, cursor, LogFolder::scanned(logs), clock);
        QCOMPARE(rowsOf(table.rows), rows);
        // The monthly sums always have a (maybe empty) table; days only with work.
        if (kind != ReportKind::Log)
            QCOMPARE(table.rows.has_value(), kind == ReportKind::MonthlySums || !rows.isEmpty());
        QCOMPARE(table.totalLine.value_or(QString()), total);
        QCOMPARE(noPunchesNote(table), note);
    }

    void account_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QStringList>("times"); // bare months: empty files
        QTest::addColumn<QString>("now");
        QTest::addColumn<QList<int>>("minutes"); // targets, Monday first; none: no target
        QTest::addColumn<QString>("shown");      // seconds today and this week, the lines shown
        const auto row = [](const char* name, const QStringList& times, const char* now,
                            const QList<int>& minutes, const char* shown,
                            const char* zone = "Europe/Berlin") {
            QTest::newRow(name) << QByteArray(zone) << times << QString(now) << minutes
                                << QString(shown);
        };
        // Week 53 of 2020 ends on Sunday 3 January 2021: the week crosses a month and a year.
        row("ISO week 53 across the month and year",
            {"20201227100000", "20201227120000", "20201228090000", "20201228170000",
             "20201231230000", "20210101010000", "20210103100000", "20210103110000"},
            "20210103120000", {}, "3600 39600 Today: 01:00|-|-");
        // Still checked in since Sunday evening.
        row("Berlin: open since last month, no file of this month", {"20240331200000"},
            "20240401100000", {}, "36000 36000 Today: 10:00|-|-");
        row("Berlin: open since last month, this month's file empty", {"20240331200000", "202404"},
            "20240401100000", {}, "36000 36000 Today: 10:00|-|-");
        // Monday 28 October 2024 begins 25 hours after Sunday, not 24.
        row("Berlin: the first midnight after the change",
            {"20241026230000", "20241027040000", "20241027200000", "20241028020000"},
            "20241028120000", {}, "7200 7200 Today: 02:00|-|-");
        // 4 November 2018 starts at 01:00.
        row("Sao Paulo 2018: the first midnight after the change",
            {"20181103220000", "20181104030000", "20181104220000", "20181105020000"},
            "20181105120000", {}, "7200 7200 Today: 02:00|-|-", "America/Sao_Paulo");
        // Worked: Monday 4 h; Tuesday (today) from 08:00 to 12:00 and from 12:30.
        const QStringList week{"20240304080000", "20240304120000", "20240305080000",
                               "20240305120000", "20240305123000"};
        row("over today's target, behind for the week", week, "20240305173000",
            {480, 480, 480, 480, 480},
            "32400 46800 Today: 09:00|Left today: 00:00|Week balance: -27:00");
        // Quarters of hours: 2:15 and 5:15.
        row("under today's target", week, "20240305130000", {135, 315},
            "16200 30600 Today: 04:30|Left today: 00:45|Week balance: 01:00");
        row("no target on today's weekday", week, "20240305173000", {240},
            "32400 46800 Today: 09:00|Left today: 00:00|Week balance: 09:00");
    }
    // Today's and this week's time, and the lines the check-in window shows for them.
    void account() {
        QFETCH(QByteArray, zone);
        QFETCH(QStringList, times);
        QFETCH(QString, now);
        QFETCH(QList<int>, minutes);
        QFETCH(QString, shown);
        useTimeZone(zone.constData());
        const QTemporaryDir dir;
        QVERIFY(writeMonths(dir.path(), times));
        WeekTargets targets;
        std::copy(minutes.begin(), minutes.end(), targets.minutes.begin());
        const Account got =
            fennick::account(LogFolder::scanned(dir.path()), FixedClock(at(now)), targets);
        const AccountLines lines = accountLines(got);
        QCOMPARE(got.dayKey, now.left(8));
        QCOMPARE(QString("%1 %2 %3|%4|%5")
                     .arg(got.todaySeconds)
                     .arg(got.weekSeconds)
                     .arg(lines.today, lines.left.value_or("-"), lines.balance.value_or("-")),
                 shown);
    }

    void weekReport_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("shortWeek");   // the week holding the clocks' change forward
        QTest::addColumn<QString>("balance"); // of the month
        const auto row = [](const char* name, const char* month, int shortWeek, const char* balance,
                            const char* zone = "Europe/Berlin") {
            QTest::newRow(name) << QByteArray(zone) << QString(month) << shortWeek
                                << QString(balance);
        };
        // 29, 31, 31 and 30 days of 8:30 (one an hour shorter) against 172, 173, 173 and 180 h.
        row("February 2024: weeks 5 to 9", "202402", -1, "74:30:00");
        row("January 2021 begins in week 53", "202101", -1, "90:30:00");
        row("March 2024: clocks forward", "202403", 4, "89:30:00");
        row("Sao Paulo, November 2018", "201811", 0, "74:00:00", "America/Sao_Paulo");
    }
    // A 22:00-06:30 shift every night, 41 hours' target a week (Saturday one).
    void weekReport() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, month);
        QFETCH(int, shortWeek);
        QFETCH(QString, balance);
        useTimeZone(zone.constData());
        const QDate first = QDate::fromString(month + "01", "yyyyMMdd");
        QStringList times;
        for (QDate day = first.addMonths(-1); day < first.addMonths(2); day = day.addDays(1))
            times << day.toString("yyyyMMdd220000") << day.addDays(1).toString("yyyyMMdd063000");
        const QTemporaryDir dir;
        QVERIFY(writeMonths(dir.path(), times));
        WeekTargets targets;
        targets.minutes = {480, 480, 480, 480, 480, 60, 0};
        const int offset = int((2030 - first.year()) * 12 + 1 - first.month());
        const ReportContent report =
            reportContent(ReportKind::WeeklySums, offset, LogFolder::scanned(dir.path()),
                          FixedClock(at("20300101000000")), targets);
        QStringList want;
        for (int i = 0; i < 5; ++i) {
            int year = 0;
            const int week = first.addDays(7 * i + 1 - first.dayOfWeek()).weekNumber(&year);
            const qint64 worked = 59 * h + 30 * 60 - (i == shortWeek ? h : 0);
            want << QString("%1-W%2=").arg(year).arg(week, 2, 10, QChar('0')) +
                        dayDuration(worked) + " / 41:00:00 / " + dayDuration(worked - 41 * h);
        }
        QCOMPARE(rowsOf(report.rows), want);
        QCOMPARE(report.totalLine, "Balance of the month: \t" + balance);
    }

    // "M" (month) or "Y" (block), cursor, buttons, then step, cursor, buttons; disabled too.
    void moves_data() {
        QTest::addColumn<QList<int>>("files");
        QTest::addColumn<QString>("story");
        const auto add = [](const char* name, const QList<int>& files, const char* story) {
            QTest::newRow(name) << files << QString(story);
        };
        add("23 is within reach", {0, 23}, "M 0 -P prev 23 N-");
        add("24 is beyond reach", {0, 24}, "M 0 -- prev 0 --");
        add("skips months without file", {0, 2, 9}, "M 2 NP prev 9 N- next 2 NP next 0 -P");
        add("next stops at the present", {1}, "M 3 N- next 1 -- next 0 -P");
        add("search finds nothing: 0", {0, 10, 40}, "M 40 -- next 0 -P prev 10 N-");
        add("yearly own block is neither way", {0, 11}, "Y 0 --");
        add("yearly older block starts at 12", {0, 12}, "Y 0 -P prev 12 N-");
        add("yearly first block never goes next", {0, 3}, "Y 5 -- next 0 --");
        add("yearly next finds only current month", {0, 14}, "Y 5 -P prev 17 N- next 0 -P");
        add("yearly prev search reaches 34", {0, 34}, "Y 0 -- prev 12 NP");
        add("yearly prev search stops before 35", {0, 35}, "Y 0 -- prev 0 --");
        add("yearly next search reaches 23 back", {2}, "Y 30 -- next 18 N- next 6 --");
    }
    void moves() {
        QFETCH(QList<int>, files);
        QFETCH(QString, story);
        const MonthHasFile hasFile = [files](int offset) {
            if (offset < 0)
                qFatal("asked about negative offset %d", offset);
            return files.contains(offset);
        };
        const QStringList steps = story.split(u' ');
        const bool yearly = steps[0] == "Y";
        const auto moves = yearly ? std::pair(&goNextSum2Cursor, &goPrevSum2Cursor)
                                  : std::pair(&goNextMonthCursor, &goPrevMonthCursor);
        int cursor = steps[1].toInt();
        QStringList told;
        for (int i = 0; i < steps.size(); i += 3) {
            if (i > 0)
                cursor = (steps[i] == "next" ? moves.first : moves.second)(cursor, hasFile);
            told << steps[i] << QString::number(cursor) << buttons(cursor, yearly, hasFile);
        }
        QCOMPARE(told.join(u' '), story);
    }

    // Blocks either side of their edges; the index read against "now" at each question.
    void blocksAndIndex() {
        QList<int> edges;
        for (const int cursor : {11, 12, 23, 24})
            edges << blockOffsets(cursor).front() << blockOffsets(cursor).back();
        QCOMPARE(edges, (QList<int>{11, 0, 23, 12, 23, 12, 35, 24}));
        FixedClock clock(at("20240331235959"));
        QCOMPARE(getDateString(-1, clock.now()), std::nullopt);
        const MonthHasFile hasFile =
            monthHasFileIn(MonthIndex{{"202403", ""}, {"202310", ""}}, clock);
        QVERIFY(!hasFile(-1) && hasFile(0) && !hasFile(1) && hasFile(5));
        clock.set(at("20240401000000"));
        QVERIFY(!hasFile(0) && hasFile(1));
        QVERIFY(!monthHasFileIn(std::nullopt, clock)(0));
    }

    void totals_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("expected");
        add("one pair", "I 20240305090000, O 20240305173000", "30600 202403: 20240305=30600");
        add("unpaired check-in dropped", "I 20240305080000, I 20240305090000, O 20240305170000",
            "28800 202403: 20240305=28800");
        add("check-out from month start", "O 20240303060000",
            "194400 -: 20240301=86400 20240302=86400 20240303=21600");
        add("key of the latest check-in",
            "I 20240305090000, O 20240305100000, I 20240410090000, O 20240410100000",
            "7200 202404: 20240305=3600 20240410=3600");
        add("open at year end", "I 20241231220000", "7200 202412: 20241231=7200");
        add("across midnight", "I 20240305220000, O 20240306060000",
            "28800 202403: 20240305=7200 20240306=21600");
        add("negative shrinks the total",
            "I 20240305080000, O 20240305100000, I 20240305173000, O 20240305090000",
            "-23400 202403: 20240305=-23400");
        add("negative: whole to start day", "I 20240306010000, O 20240305230000",
            "-7200 202403: 20240306=-7200");
        add("clock set back before check-in", "I 20240615120000", "-93600 202406: 20240615=-93600",
            "Europe/Berlin", "20240614100000");
        add("unreadable tokens count 0",
            "O 2024, I 20241305090000, O 20240305100000, I 20240305090000, O 20240332100000, "
            "O 20240305100000",
            "3600 202403: 20240305=3600");
        add("intervals clamp one by one",
            "I 00000101000000, O 99991231235959, I 99991231235959, O 00000101000000",
            "-1 999912: 00000101=2147483647 99991231=-2147483648");
        add("total saturates", "I 00000101000000, O 99991231235959, O 99991231235959",
            "2147483647 000001: 00000101=2147483647");
        add("berlin spring", "I 20240330220000, O 20240401020000",
            "97200 202403: 20240330=7200 20240331=82800 20240401=7200");
        add("berlin autumn", "I 20241026220000, O 20241028020000",
            "104400 202410: 20241026=7200 20241027=90000 20241028=7200");
        add("sao paulo midnight jump", "I 20181103220000, O 20181105020000",
            "97200 201811: 20181103=7200 20181104=82800 20181105=7200", "America/Sao_Paulo");
        // Skipped clock time reads as the next month's first hour, still ending at its token's.
        add("open, skipped time at month end", "I 19160430233000", "-1800 191604: 19160501=-1800");
    }

    void totals() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, text);
        QFETCH(QString, now);
        QFETCH(QString, expected);
        useTimeZone(zone.constData());
        const FixedClock clock(at(now));
        const MonthSumHandler handler(std::nullopt, clock);
        const sumobject sum = handler.sumMonthBuff(text);
        QCOMPARE(QString::number(sum.sumValue()) + " " + sum.keyDateStr().value_or("-") + ": " +
                     describe(handler.sumDayBuff(text)),
                 expected);
    }

    void reading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("records");
        const auto row = [](const char* name, const char* text, const QStringList& records) {
            QTest::newRow(name) << QString(text) << records;
        };
        row("comments and blank lines", "# b CheckIn: 1\n\n \t \n#\n", {});
        row("written lines",
            "2004/02/15 09:30:00\tCheckIn:\t20040215093000\n"
            "2004/02/15 18:00:00\tCheckOut:\t20040215180000",
            {"in 20040215093000", "out 20040215180000"});
        row("CRLF, space and tab runs", "a b CheckIn:  \t1\r\n  c\t\td CheckOut: 2\r\n",
            {"in 1", "out 2"});
        row("CR only is one line", "a b CheckIn: 1\rc d CheckOut: 2\r", {"in 1"});
        row("case, colon", "a b checkin: 1\na b CHECKOUT: 2\na b CheckIn 3\n", {});
        row("indented hash", " \t# b CheckIn: 1\n\u3000# b CheckIn: 2", {});
        row("3 tokens, # later, 5th", "a b CheckIn:\nc # CheckIn: 1 x CheckOut: 2", {"in 1"});
        row("controls do not separate", "x a\x1c\x08\x0e\x1f\x7f\u200bb CheckIn: 1", {"in 1"});
        row("Unicode spaces separate tokens, not lines",
            "\u00a0a\u3000b\u0085CheckIn:\u20291\u2028c d CheckOut: 2", {"in 1"});
        // Lines of megabytes, read in linear time, leave their neighbours alone.
        QTest::newRow("huge lines")
            << QString(4 << 20, u'x') + "\na b CheckIn: 1\na b CheckOut: 2" +
                   QString(" t").repeated(2 << 20) + "\nc d CheckIn: 3"
            << QStringList{"in 1", "out 2", "in 3"};
    }
    // The record lines a reader takes from a month file's text.
    void reading() {
        QFETCH(QString, text);
        QFETCH(QStringList, records);
        const QDeadlineTimer deadline(5000);
        QCOMPARE(readRecords(text), records);
        QVERIFY2(!deadline.hasExpired(), "reading took too long");
    }
};

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_reportdata.moc"
