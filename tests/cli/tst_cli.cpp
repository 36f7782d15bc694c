#include "cli/cli.h"
#include "reports/csv.h"
#include "reports/navigation.h"
#include "reports/report.h"
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

using test::punches;
using Files = QMap<QString, QString>; // name in the log directory -> contents

namespace {

bool writeLogs(const QTemporaryDir& home, const Files& files) {
    const QString logs = home.filePath("Library/fennick");
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!QDir().mkpath(logs) || !test::put(logs + '/' + it.key(), it.value().toUtf8()))
            return false;
    }
    return true;
}

// The commands run in process in `home` at the clock's time: the exit
// status, stdout and stderr.
std::tuple<int, QString, QString> runIn(const QTemporaryDir& home, const Clock& clock,
                                        const QStringList& words) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const CliEnv env{clock, home.path(), home.filePath("settings.ini")};
    const int status = runCli(words, outStream, errStream, env);
    return {status, out, err};
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void reports_data() {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("offset"); // of the month from March 2024
        QTest::addColumn<QString>("heading");
        const Files year{{"TLOG202303.txt", punches({"20230301090000", "20230301100000"})},
                         {"TLOG202401.txt", punches({"20240131200000"})},
                         {"TLOG202402.txt",
                          punches({"20240201040000", "20240201090000", "20240201100000"}, true)},
                         {"TLOG202403.txt",
                          "# a comment, \"quoted\"\nnot a record\n"
                          "2024/03/04 08:00:00\tCheckIn:\t2024030408\n" +
                              punches({"20240305220000", "20240306023000", "20240315080000"})}};
        const auto row = [](const char* name, const Files& files, const QStringList& args,
                            int offset, const char* heading) {
            QTest::newRow(name) << files << QStringList{"report"} + args << offset << heading;
        };
        row("month end", year, {"daily", "--month", "202401"}, 2, "Daily Sums – January 2024");
        row("current month named", year, {"log", "--month", "202403"}, 0, "Log – March 2024");
        // The block ends at the month given, not at the window's block edge.
        row("block ending in february", year, {"monthly", "--month=202402"}, 1,
            "Monthly Sums – Mar 2023 – Feb 2024");
        row("midnight, open interval, bad lines", year, {"daily"}, 0, "Daily Sums – March 2024");
        row("log with bad lines", year, {"log"}, 0, "Log – March 2024");
        // Weeks 5 to 9 read January's, February's and March's files.
        row("weeks of february", year, {"weekly", "--month", "202402"}, 1,
            "Weekly Sums – February 2024");
        row("empty month", {{"TLOG202403.txt", ""}}, {"daily"}, 0, "Daily Sums – March 2024");
        row("no directory", {}, {"monthly"}, 0, "Monthly Sums – Apr 2023 – Mar 2024");
    }

    // In a home of its own at noon on 15 March 2024, text, CSV and JSON give
    // exactly what the window's fill gives.
    void reports() {
        QFETCH(Files, files);
        QFETCH(QStringList, args);
        QFETCH(int, offset);
        QFETCH(QString, heading);
        const QTemporaryDir home;
        const QString logs = home.filePath("Library/fennick");
        QVERIFY(writeLogs(home, files));
        const FixedClock clock(test::at("20240315120000"));
        const auto run = std::bind_front(runIn, std::cref(home), std::cref(clock));
        const bool log = args[1] == "log", daily = args[1] == "daily";
        const ReportContent fill =
            reportContent(*reportKindNamed(args[1]), offset, LogFolder::scanned(logs), clock);
        const DspRows rows = fill.rows.value_or(DspRows{});
        const auto total = fill.totalLine;
        QStringList lines{heading};
        for (const myDspData& row : rows)
            lines << row.keyDateStr + '\t' + row.dataStr;
        lines << total.value_or("");
        QCOMPARE(run(args), std::tuple(0, lines.join('\n').trimmed() + '\n', QString()));
        const bool weekly = args[1] == "weekly";
        const QStringList columns{log      ? "Time"
                                  : daily  ? "Day"
                                  : weekly ? "Week"
                                           : "Month",
                                  log ? "Event" : "Worked"};
        QCOMPARE(std::get<1>(run(args + QStringList{"--format=csv"})), toCsv(columns, rows, total));

        // A malformed document fails the comparison of its rows and total.
        const QJsonObject object =
            QJsonDocument::fromJson(std::get<1>(run(args << "--format=json")).toUtf8()).object();
        const QJsonValue months = object[args[1] == "monthly" ? "months" : "month"];
        QCOMPARE(months.isArray() ? months[11] : months, *getDateString(offset, clock.now()));
        QStringList fromJson{heading};
        for (const QJsonValue row : object["rows"].toArray())
            fromJson << row["key"].toString() + '\t' + row["value"].toString();
        QCOMPARE(fromJson << object["total"].toString(), lines);
        QCOMPARE(object["totalSeconds"].toInteger(-1), log ? -1 : fill.totalSeconds);
    }

    void arguments_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text"); // how stdout starts, or what the error line names
        QTest::addColumn<QString>("stdoutFile");
        const auto row = [](const char* name, const QStringList& args, int status,
                            const QString& text, const QString& stdoutFile = {}) {
            QTest::newRow(name) << args << status << text << stdoutFile;
        };
        row("status", {"status"}, 0, "Now CheckOut...\nLast CheckOut time:\t\nToday:\t00:00:00\n");
        row("help after a bad word", {"report", "bogus", "--help"}, 0, "Usage: fennick ");
        row("version", {"status", "-v"}, 0, "fennick " FENNICK_VERSION "\n");
        row("report", {"report", "daily"}, 0, "Daily Sums – ");
        row("full disk", {"report", "log"}, 1, "could not be written", "/dev/full");
        row("no display", {}, 1, "no display");
        row("Qt option, no display", {"-style", "fusion"}, 1, "no display");
        row("line break", {"bo\ngus\r\x1b"}, 2, "'bo\\ngus\\r?'");
        row("unknown kind", {"report", "yearly"}, 2, "'yearly'");
        row("option for a month", {"report", "log", "--month", "--format", "csv"}, 2, "--month");
        row("bad format", {"report", "log", "--format", "xml"}, 2, "'xml'");
        row("status csv", {"status", "--format=csv"}, 2, "csv");
        row("status for a month", {"status", "--month", "202403"}, 2, "--month");
        row("month 13", {"report", "daily", "--month", "202413"}, 2, "202413");
        row("future", {"report", "monthly", "--month=209912"}, 2, "209912");
    }

    // The installed program without a display: answers go to stdout, failures
    // to one line on stderr, and nothing is written, even while another
    // fennick holds the single-instance lock.
    void arguments() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, text);
        QFETCH(QString, stdoutFile);
        QTemporaryDir home;
        QLockFile lock(home.filePath("fennick.lock"));
        QVERIFY(lock.tryLock());
        QProcess p;
        p.setStandardOutputFile(stdoutFile);
        p.start("env",
                QStringList{"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", "-u",
                            "XDG_CONFIG_HOME", "HOME=" + home.path(),
                            "XDG_RUNTIME_DIR=" + home.path(), FENNICK_BINARY_DIR "/bin/fennick"} +
                    args);
        QVERIFY(p.waitForFinished(20000));
        const QString out = p.readAllStandardOutput(), err = p.readAllStandardError();
        QCOMPARE(p.exitCode(), status);
        QVERIFY2(status ? out.isEmpty() && err.startsWith("fennick: ") && err.endsWith('\n') &&
                              err.count('\n') == 1 && err.contains(text)
                        : err.isEmpty() && out.startsWith(text),
                 qPrintable(out + err));
        QCOMPARE(
            QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"fennick.lock"});
    }

    // Today's time counts only today's pieces: of the night's work the part
    // after midnight, of the open check-in the time up to now.
    void statusToday() {
        const QTemporaryDir home;
        const QStringList times{"20240305220000", "20240306023000", "20240306080000"};
        QVERIFY(writeLogs(home, {{"TLOG202403.txt", punches(times)}}));
        const FixedClock clock(test::at("20240306100000"));
        const auto [status, out, err] = runIn(home, clock, {"status"});
        QVERIFY2(status == 0 && out.endsWith("\nToday:\t04:30:00\n"), qPrintable(out + err));
        const QJsonObject json =
            QJsonDocument::fromJson(
                std::get<1>(runIn(home, clock, {"status", "--format=json"})).toUtf8())
                .object();
        QCOMPARE(json["today"].toString() + ' ' + json["day"].toString(), "04:30:00 20240306");
        QCOMPARE(json["todaySeconds"].toInteger(), 16200);
    }

    void statusWeek_data() {
        QTest::addColumn<QVariantMap>("settings");
        QTest::addColumn<QString>("lines");      // after "Today:"
        QTest::addColumn<QList<qint64>>("json"); // week, target, balance; none: absent
        QTest::newRow("no target") << QVariantMap{} << "" << QList<qint64>{};
        QTest::newRow("hand-edited nonsense is no target")
            << QVariantMap{{"targetMinutes/1", "eight"},
                           {"targetMinutes/2", -60},
                           {"targetMinutes/3", 24 * 60 + 1}}
            << "" << QList<qint64>{};
        QVariantMap fullTime;
        for (int day = 1; day <= 5; ++day)
            fullTime[QString("targetMinutes/%1").arg(day)] = 480;
        QTest::newRow("forty hours")
            << fullTime << "This week:\t10:30:00\nWeek target:\t40:00:00\nBalance:\t-29:30:00\n"
            << QList<qint64>{37800, 144000, -106200};
        QTest::newRow("ahead of a short week")
            << QVariantMap{{"targetMinutes/1", 120}, {"targetMinutes/7", 60}}
            << "This week:\t10:30:00\nWeek target:\t03:00:00\nBalance:\t07:30:00\n"
            << QList<qint64>{37800, 10800, 27000};
    }

    // Wednesday 6 March 2024, 10:00: Monday 4 h, Tuesday night 2 h, today
    // 2 h 30 min after midnight and 2 h checked in.
    void statusWeek() {
        QFETCH(QVariantMap, settings);
        QFETCH(QString, lines);
        QFETCH(QList<qint64>, json);
        const QTemporaryDir home;
        QSettings store(home.filePath("settings.ini"), QSettings::IniFormat);
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            store.setValue(it.key(), it.value());
        store.sync();
        QVERIFY(writeLogs(
            home, {{"TLOG202403.txt",
                    punches({"20240303080000", "20240303120000", "20240304080000", "20240304120000",
                             "20240305220000", "20240306023000", "20240306080000"})}}));
        const FixedClock clock(test::at("20240306100000"));
        const auto [status, out, err] = runIn(home, clock, {"status"});
        QVERIFY2(status == 0 && out.endsWith("\nToday:\t04:30:00\n" + lines),
                 qPrintable(out + err));
        const QJsonObject object =
            QJsonDocument::fromJson(
                std::get<1>(runIn(home, clock, {"status", "--format=json"})).toUtf8())
                .object();
        QList<qint64> got;
        for (const char* key : {"weekSeconds", "weekTargetSeconds", "balanceSeconds"}) {
            if (object.contains(key))
                got << object[key].toInteger();
        }
        QCOMPARE(got, json);
        QCOMPARE(object["todaySeconds"].toInteger(), 16200);
    }

    void csv() {
        const DspRows rows{{"plain", "a,b"}, {"say \"hi\"", "two\nlines"}, {"a\rb", "ü –"}};
        // The total line splits at its first tab only.
        QCOMPARE(toCsv({"Day", "Worked"}, rows, "Sum, all:\t1\t2"),
                 "Day,Worked\r\nplain,\"a,b\"\r\n\"say \"\"hi\"\"\",\"two\nlines\"\r\n"
                 "\"a\rb\",ü –\r\n\"Sum, all:\",1\t2\r\n");
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
