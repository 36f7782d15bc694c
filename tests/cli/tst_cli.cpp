#include "cli/args.h"
#include "cli/cli.h"
#include "reports/csv.h"
#include "reports/navigation.h"
#include "reports/reportdata.h"
#include "support.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

using Files = QMap<QString, QString>; // name in the log directory -> contents

namespace {

QString rec(const char* kind, const QString& compact) {
    const QString display = at(compact).format(CalFormat::Display);
    return display + '\t' + kind + '\t' + compact + '\n';
}

QString work(const QString& from, const QString& to) {
    return rec("CheckIn:", from) + rec("CheckOut:", to);
}

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// A home of its own with the default log directory below it.
struct Home {
    QTemporaryDir tmp;
    QString logs = tmp.path() + "/Library/fennick";
    QString settings = tmp.path() + "/settings.ini";
    FixedClock clock;

    Home(const QString& now, const Files& files) : clock(at(now)) {
        // An empty name puts a regular file where the directory belongs.
        if (!files.isEmpty())
            QDir().mkpath(files.contains("") ? tmp.path() + "/Library" : logs);
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            put(it.key().isEmpty() ? logs : logs + '/' + it.key(), it.value().toUtf8());
    }
    Run run(const QStringList& args) const {
        Run r;
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.status = runCli(args, out, err, CliEnv{clock, tmp.path(), settings});
        return r;
    }
};

QStringList rowLines(const DspRows& rows) {
    QStringList lines;
    for (const myDspData& row : rows)
        lines << row.keyDateStr + '\t' + row.dataStr;
    return lines;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void reports_data();
    void reports();
    void status_data();
    void status();
    void csv_data();
    void csv();
    void argumentErrors_data();
    void argumentErrors();
    void helpAndVersion_data();
    void helpAndVersion();
    void invocation();
    void binary();
};

void TestCli::reports_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("month");
    QTest::addColumn<int>("offset"); // of the month, with now in March 2024
    QTest::addColumn<QString>("heading");
    QTest::addColumn<int>("total"); // seconds; -1 for the log
    const auto row = [](const char* name, const Files& files, const char* kind, const char* month,
                        int offset, const char* heading, int total) {
        QTest::newRow(name) << files << kind << month << offset << heading << total;
    };
    const QString block = "Monthly Sums – Apr 2023 – Mar 2024";
    const Files monthEnd{{"TLOG202401.txt", rec("CheckIn:", "20240131200000")},
                         {"TLOG202402.txt", rec("CheckOut:", "20240201040000") +
                                                work("20240201090000", "20240201100000")}};
    row("month end, january", monthEnd, "daily", "202401", 2, "Daily Sums – January 2024", 14400);
    row("month end, february", monthEnd, "daily", "202402", 1, "Daily Sums – February 2024", 18000);
    row("month end, block", monthEnd, "monthly", "", 0, qPrintable(block), 32400);
    row("month end, log", monthEnd, "log", "202402", 1, "Log – February 2024", -1);
    row("midnight", {{"TLOG202403.txt", work("20240305220000", "20240306023000")}}, "daily", "", 0,
        "Daily Sums – March 2024", 16200);
    const Files open{{"TLOG202403.txt", rec("CheckIn:", "20240315080000")}};
    row("open interval", open, "daily", "202403", 0, "Daily Sums – March 2024", 14400);
    row("open interval, block", open, "monthly", "", 0, qPrintable(block), 14400);
    const Files messy{{"TLOG202403.txt", "# a comment, \"quoted\"\nnot a record\n"
                                         "2024/03/12 08:00:00\tCheckIn:\t2024031208\n" +
                                             work("20240312090000", "20240312170000")}};
    row("comments and bad lines", messy, "daily", "", 0, "Daily Sums – March 2024", 28800);
    row("comments and bad lines, log", messy, "log", "", 0, "Log – March 2024", -1);
    row("empty month", {{"TLOG202403.txt", ""}}, "daily", "", 0, "Daily Sums – March 2024", 0);
    row("no directory", {}, "daily", "", 0, "Daily Sums – March 2024", 0);
    row("directory is a file", {{"", "x"}}, "monthly", "", 0, qPrintable(block), 0);
    const Files other{{"TLOG202402.txt", work("20240205090000", "20240205100000")}};
    row("no month file", other, "daily", "", 0, "Daily Sums – March 2024", 0);
    row("no month file, log", other, "log", "", 0, "Log – March 2024", -1);
    // The block ends at the month given, not at the window's block edge.
    const Files years{{"TLOG202302.txt", work("20230201090000", "20230201110000")},
                      {"TLOG202303.txt", work("20230301090000", "20230301100000")},
                      {"TLOG202403.txt", work("20240301090000", "20240301130000")}};
    row("block ending in february", years, "monthly", "202402", 1,
        "Monthly Sums – Mar 2023 – Feb 2024", 3600);
}

void TestCli::reports() {
    QFETCH(Files, files);
    QFETCH(QString, kind);
    QFETCH(QString, month);
    QFETCH(int, offset);
    QFETCH(QString, heading);
    QFETCH(int, total);
    const Home home("20240315120000", files);
    QStringList args{"report", kind};
    if (!month.isEmpty())
        args << "--month" << month;

    // What the window's fill gives for the same files.
    const TimeLogStore store(home.logs, home.clock, LogSink{});
    SumsTable table;
    if (kind == "log")
        table.rows = logRows(home.logs, store.getLogFileDic(), offset, home.clock);
    else if (kind == "daily")
        table = dailySums(home.logs, store.getLogFileDic(), offset, home.clock);
    else
        table = monthlySums(home.logs, store.getLogFileDic(), offset, home.clock);
    const DspRows rows = table.rows.value_or(DspRows{});
    const auto totalLine = kind == "log" ? std::nullopt : std::optional(table.totalLine);
    QCOMPARE(kind == "log" ? -1 : table.total, total);

    const Run text = home.run(args);
    QCOMPARE(text.status, 0);
    QCOMPARE(text.err, QString());
    QStringList lines = QStringList{heading} + rowLines(rows);
    if (totalLine)
        lines << *totalLine;
    QCOMPARE(text.out, lines.join('\n') + '\n');

    const QStringList headings = kind == "log"     ? QStringList{"Time", "Event"}
                                 : kind == "daily" ? QStringList{"Day", "Worked"}
                                                   : QStringList{"Month", "Worked"};
    QCOMPARE(home.run(args + QStringList{"--format=csv"}).out, toCsv(headings, rows, totalLine));

    const Run json = home.run(args + QStringList{"--format", "json"});
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(object["kind"].toString(), kind);
    const QString key = *getDateString(offset, home.clock.now());
    if (kind == "monthly") {
        const QJsonArray months = object["months"].toArray();
        QCOMPARE(months.size(), 12);
        QCOMPARE(months.last().toString(), key);
        QCOMPARE(months.first().toString(), *getDateString(offset + 11, home.clock.now()));
    } else {
        QCOMPARE(object["month"].toString(), key);
    }
    QStringList jsonRows;
    for (const QJsonValue row : object["rows"].toArray())
        jsonRows << row["key"].toString() + '\t' + row["value"].toString();
    QCOMPARE(jsonRows, rowLines(rows));
    QCOMPARE(object.contains("total"), bool(totalLine));
    if (totalLine) {
        QCOMPARE(object["total"].toString(), *totalLine);
        QCOMPARE(object["totalSeconds"].toInteger(), total);
    }
    // Reading never creates the log directory or the settings.
    QCOMPARE(QFileInfo::exists(home.logs), !files.isEmpty());
    QVERIFY(!QFileInfo::exists(home.settings));
}

void TestCli::status_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("settings"); // INI text; empty: no file
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("today");
    QTest::newRow("checked in") << Files{{"TLOG202403.txt", rec("CheckIn:", "20240315080000")}}
                                << "[General]\nonBusiness=true\nprevTimeStr=20240315080000\n"
                                << QStringList{"Now CheckIn...",
                                               "Last CheckIn time:\t2024/03/15 08:00:00",
                                               "Today:\t04:00:00"}
                                << 14400;
    QTest::newRow("checked out after midnight work")
        << Files{{"TLOG202403.txt", work("20240314220000", "20240315010000") +
                                        work("20240315090000", "20240315113000")}}
        << "[General]\nonBusiness=false\nprevTimeStr=20240315113000\n"
        << QStringList{"Now CheckOut...", "Last CheckOut time:\t2024/03/15 11:30:00",
                       "Today:\t03:30:00"}
        << 12600;
    QTest::newRow("never punched")
        << Files{} << ""
        << QStringList{"Now CheckOut...", "Last CheckOut time:\t", "Today:\t00:00:00"} << 0;
    QTest::newRow("edited by hand")
        << Files{} << "[General]\nonBusiness=yes\nprevTimeStr=soon\n"
        << QStringList{"Now CheckIn...", "Last CheckIn time:\tsoon", "Today:\t00:00:00"} << 0;
}

void TestCli::status() {
    QFETCH(Files, files);
    QFETCH(QString, settings);
    QFETCH(QStringList, lines);
    QFETCH(int, today);
    const Home home("20240315120000", files);
    if (!settings.isEmpty())
        QVERIFY(put(home.settings, settings.toUtf8()));
    const QByteArray before = bytesOf(home.settings);
    const TimeLogStore store(home.logs, home.clock, LogSink{});
    const auto days = dailySums(home.logs, store.getLogFileDic(), 0, home.clock).days;
    QCOMPARE(days.value("20240315").sumValue(), today);

    const Run text = home.run({"status"});
    QCOMPARE(text.status, 0);
    QCOMPARE(text.out, lines.join('\n') + '\n');
    const Run json = home.run({"status", "--format", "json"});
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(object["checkedIn"].toBool(), lines.first() == "Now CheckIn...");
    QCOMPARE(object["lastPunch"].toString(), lines[1].section('\t', 1));
    QCOMPARE(object["lastPunch"].isNull(), settings.isEmpty());
    QCOMPARE(object["todaySeconds"].toInteger(), today);
    QCOMPARE(bytesOf(home.settings), before);
    QCOMPARE(QFileInfo::exists(home.logs), !files.isEmpty());
}

void TestCli::csv_data() {
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QStringList>("cells"); // key, value, key, value ...
    QTest::addColumn<QString>("total");     // "-": none
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringList{"Day", "Worked"} << QStringList{"20240301", "08:00:00"}
                           << "Monthly sum: \t008:00:00"
                           << "Day,Worked\r\n20240301,08:00:00\r\nMonthly sum:,008:00:00\r\n";
    QTest::newRow("comma") << QStringList{} << QStringList{"a,b", "c"} << "-"
                           << "\"a,b\",c\r\n";
    QTest::newRow("quote") << QStringList{} << QStringList{"say \"hi\"", "\""} << "-"
                           << "\"say \"\"hi\"\"\",\"\"\"\"\r\n";
    QTest::newRow("newline") << QStringList{} << QStringList{"two\nlines", "x"} << "-"
                             << "\"two\nlines\",x\r\n";
    QTest::newRow("carriage return") << QStringList{} << QStringList{"a\rb", "ü –"} << "-"
                                     << "\"a\rb\",ü –\r\n";
    QTest::newRow("empty") << QStringList{"", ""} << QStringList{"", ""} << ""
                           << ",\r\n,\r\n,\r\n";
    QTest::newRow("total split at the first tab")
        << QStringList{} << QStringList{} << "Sum, all:\t1\t2"
        << "\"Sum, all:\",1\t2\r\n";
    QTest::newRow("total without tab") << QStringList{} << QStringList{} << "Sum"
                                       << "Sum,\r\n";
}

void TestCli::csv() {
    QFETCH(QStringList, headings);
    QFETCH(QStringList, cells);
    QFETCH(QString, total);
    QFETCH(QString, expected);
    DspRows rows;
    for (qsizetype i = 0; i + 1 < cells.size(); i += 2)
        rows.append({cells[i], cells[i + 1]});
    QCOMPARE(toCsv(headings, rows, total == "-" ? std::nullopt : std::optional(total)), expected);
}

void TestCli::argumentErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("names"); // what the line must name
    const auto row = [](const char* name, const QStringList& args, const char* names) {
        QTest::newRow(name) << args << names;
    };
    row("nothing", {}, "missing command");
    row("unknown command", {"bogus"}, "'bogus'");
    row("empty command", {""}, "''");
    row("line break", {"bo\ngus\r\x1b"}, "'bo\\ngus\\r?'");
    row("unknown option first", {"--month"}, "'--month'");
    row("no kind", {"report"}, "log, daily or monthly");
    row("unknown kind", {"report", "weekly"}, "'weekly'");
    row("extra word", {"report", "log", "daily"}, "'daily'");
    row("status extra word", {"status", "now"}, "'now'");
    row("unknown option", {"report", "log", "--all"}, "'--all'");
    row("month without value", {"report", "log", "--month"}, "--month");
    row("month before option", {"report", "log", "--month", "--format", "csv"}, "--month");
    row("empty format", {"report", "log", "--format="}, "--format");
    row("bad format", {"report", "log", "--format", "xml"}, "'xml'");
    row("status month", {"status", "--month", "202403"}, "--month");
    row("status csv", {"status", "--format=csv"}, "csv");
    row("month 13", {"report", "daily", "--month", "202413"}, "202413");
    row("short month", {"report", "daily", "--month", "2024"}, "2024");
    row("year 0", {"report", "monthly", "--month", "000001"}, "000001");
    row("future", {"report", "monthly", "--month=202404"}, "202404");
}

void TestCli::argumentErrors() {
    QFETCH(QStringList, args);
    QFETCH(QString, names);
    const Home home("20240315120000", {});
    const Run r = home.run(args);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.startsWith("fennick: ") && r.err.endsWith('\n') && r.err.count('\n') == 1,
             qPrintable(r.err));
    QVERIFY2(r.err.contains(names), qPrintable(r.err));
}

void TestCli::helpAndVersion_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("start");
    const QString usage = "Usage: fennick ";
    const QString version = "fennick " FENNICK_VERSION "\n";
    QTest::newRow("--help") << QStringList{"--help"} << usage;
    QTest::newRow("-h") << QStringList{"-h"} << usage;
    QTest::newRow("report --help") << QStringList{"report", "bogus", "--help"} << usage;
    QTest::newRow("--version") << QStringList{"--version"} << version;
    QTest::newRow("-v") << QStringList{"-v"} << version;
    QTest::newRow("status -v") << QStringList{"status", "-v"} << version;
}

void TestCli::helpAndVersion() {
    QFETCH(QStringList, args);
    QFETCH(QString, start);
    const Run r = Home("20240315120000", {}).run(args);
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith(start), qPrintable(r.out));
    QCOMPARE(r.err, QString());
}

void TestCli::invocation() {
    for (const char* word : {"report", "status", "bogus", "", "--help", "-h", "--version", "-v"})
        QVERIFY2(isCliInvocation(word), word);
    for (const char* word : {"-platform", "-style", "--reverse", "-session"})
        QVERIFY2(!isCliInvocation(word), word);
}

// The installed program: no display, a home of its own, and another fennick
// holding the single-instance lock, which the terminal commands must ignore.
void TestCli::binary() {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME"})
        env.remove(name);
    env.insert("HOME", home.path());
    env.insert("XDG_RUNTIME_DIR", home.path());
    QLockFile lock(home.path() + "/fennick.lock");
    QVERIFY(lock.tryLock());
    const auto run = [&](const QStringList& args, const QString& outFile = {}) {
        QProcess p;
        p.setProcessEnvironment(env);
        if (!outFile.isEmpty())
            p.setStandardOutputFile(outFile);
        p.start(FENNICK_BINARY_DIR "/bin/fennick", args);
        p.waitForFinished(20000);
        return Run{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                   QString::fromUtf8(p.readAllStandardError())};
    };
    const Run daily = run({"report", "daily"});
    QCOMPARE(daily.status, 0);
    QVERIFY2(daily.out.startsWith("Daily Sums – "), qPrintable(daily.out + daily.err));
    const Run bogus = run({"bogus"});
    QCOMPARE(bogus.status, 2);
    QCOMPARE(bogus.err.count('\n'), 1);
    const Run full = run({"report", "monthly"}, "/dev/full");
    QCOMPARE(full.status, 1);
    QVERIFY(full.err.contains("could not be written"));
    const Run gui = run({});
    QCOMPARE(gui.status, 1);
    QCOMPARE(gui.err.count('\n'), 1);
    QVERIFY2(gui.err.contains("no display"), qPrintable(gui.err));
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"fennick.lock"});
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
