#include "cli/cli.h"
#include "cli/output.h"
#include "reports/csv.h"
#include "reports/report.h"
#include "support.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>

using namespace fennick;
using namespace fennick::test;
using Files = QMap<QString, QByteArray>; // name in the log folder -> contents

namespace {

const QByteArray folder = "<a folder>"; // in place of a month file: unreadable

// A home whose clock stands at noon on 15 March 2024.
struct CliHome : SessionHome {
    CliHome() { clock.set(at("20240315120000")); }
    bool write(const Files& files) const {
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QString path = logs + '/' + it.key();
            if (it.value() == folder ? !QDir().mkpath(path) : !put(path, it.value()))
                return false;
        }
        return true;
    }
    Files files() const { return filesIn(logs, "TLOG*.txt"); }
};

// A command run from the files `before`: the files `after` (empty: as before), what stdout (or
// else stderr) says and the settings' state.
struct Punch {
    Files before, after;
    QStringList args;
    int status;
    QString text, state;
    bool fullDisk;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void reports_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("offset"); // of the month from March 2024
        QTest::addColumn<QString>("heading");
        const auto row = [](const char* name, const QStringList& args, int offset,
                            const char* heading) {
            QTest::newRow(name) << QStringList{"report"} + args << offset << heading;
        };
        row("current month named", {"log", "--month", "202403"}, 0, "Log – March 2024");
        // The block ends at the month given, not at the window's block edge.
        row("block ending in february", {"monthly", "--month=202402"}, 1,
            "Monthly Sums – Mar 2023 – Feb 2024");
        // Weeks 5 to 9 read January's, February's and March's files.
        row("weeks of february", {"weekly", "--month", "202402"}, 1, "Weekly Sums – February 2024");
    }

    // The text gives what the window's fill gives, aligned in columns.
    void reports() {
        QFETCH(QStringList, args);
        QFETCH(int, offset);
        QFETCH(QString, heading);
        const CliHome h;
        QVERIFY(writeMonths(h.logs, {"20230301090000", "20230301100000", "20240131200000",
                                     "20240201040000", "20240201090000", "20240201100000"}));
        QVERIFY(put(
            h.logs + "/TLOG202403.txt",
            "# a comment, \"quoted\"\nnot a record\n2024/03/04 08:00:00\tCheckIn:\t2024030408\n" +
                punches({"20240305220000", "20240306023000", "20240315080000"}).toUtf8()));
        const ReportContent fill =
            reportContent(*reportKindNamed(args[1]), offset, LogFolder::scanned(h.logs), h.clock);
        QStringList want{heading};
        for (const myDspData& row : fill.rows.value_or(DspRows{}))
            want << row.keyDateStr + '\t' + row.dataStr;
        if (const QString total = fill.totalLine.value_or(""); !total.isEmpty())
            want << total.section('\t', 0, 0).trimmed() + '\t' + total.section('\t', -1);
        const auto [status, out, err] = h.run(args);
        QVERIFY2(status == 0 && err.isEmpty() && out.endsWith('\n'), qPrintable(out + err));
        QCOMPARE(out.chopped(1).replace(QRegularExpression(" {2,}"), "\t").split('\n'), want);
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
        row("status", {"status"}, 0,
            "Now CheckOut...\nLast CheckOut time:\nToday:               00:00:00\n");
        row("version", {"status", "-v"}, 0, "fennick " FENNICK_VERSION "\n");
        row("full disk", {"report", "log"}, 1, "could not be written", "/dev/full");
        row("line break", {"bo\ngus\r\x1b"}, 2, "'bo\\ngus\\r?'");
        row("unknown kind", {"report", "yearly"}, 2, "'yearly'");
        row("bad format", {"report", "log", "--format", "xml"}, 2, "'xml'");
        row("month 13", {"report", "daily", "--month", "202413"}, 2, "202413");
        row("future", {"report", "monthly", "--month=209912"}, 2, "209912");
        row("--bogus", {"--bogus"}, 2, "'--bogus'");
        row("after a Qt option", {"-style", "fusion", "-V"}, 2, "'-V'");
        row("--background starts the windows", {"--background", "-style", "fusion"}, 1,
            "no display");
        row("toggle takes no time", {"toggle", "--at=09:00"}, 2, "--at");
    }

    // The installed program: stdout, or one line on stderr; nothing written despite the lock.
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

    void punchCommands_data() {
        QTest::addColumn<Punch>("p");
        const QString mar = "TLOG202403.txt", feb = "TLOG202402.txt";
        const QByteArray in8 = punches({"20240315080000"}).toUtf8();
        const QByteArray day = punches({"20240315080000", "20240315110000"}).toUtf8();
        // Written at the clock's time.
        const auto line = [](const char* kind, const char* time) {
            return QString("2024/03/15 12:00:00\t%1:\t%2\n").arg(kind, time).toUtf8();
        };
        const QByteArray in12 = line("CheckIn", "20240315120000");
        const QByteArray out12 = line("CheckOut", "20240315120000");
        const QString nowIn = "In 20240315120000";
        const auto row = [](const char* name, const Files& before, const QStringList& args,
                            int status, const QString& text, const Files& after,
                            const QString& state, bool fullDisk = false) {
            QTest::newRow(name) << Punch{before, after, args, status, text, state, fullDisk};
        };
        row("in", {}, {"in"}, 0, "Recorded check in at 2024/03/15 12:00:00.\n", {{mar, in12}},
            nowIn);
        row("out", {{mar, in8}}, {"out"}, 0, "Recorded check out at 2024/03/15 12:00:00.\n",
            {{mar, in8 + out12}}, "Out 20240315120000");
        row("toggle in", {{mar, day}}, {"toggle"}, 0, "check in at 2024/03/15 12:00:00",
            {{mar, day + in12}}, nowIn);
        row("toggle out", {{mar, in8}}, {"toggle"}, 0, "check out at 2024/03/15 12:00:00",
            {{mar, in8 + out12}}, "Out 20240315120000");
        row("out before any punch", {}, {"out"}, 2, "no punch has been recorded yet", {}, "Out ");
        row("repeated in", {{mar, in8}}, {"in"}, 2,
            "the check out after the check in at 2024/03/15 08:00:00 is missing; give its time "
            "with 'fennick in --at HH:MM'",
            {}, "In 20240315080000");
        // The forgotten punch may lie at the last punch or at the press, not a minute beyond.
        row("forgotten at the last punch", {{mar, in8}}, {"in", "--at", "08:00"}, 0,
            "Recorded check out at 2024/03/15 08:00:00, check in at 2024/03/15 12:00:00.\n",
            {{mar, in8 + line("CheckOut", "20240315080000") + in12}}, nowIn);
        row("forgotten at the press", {{mar, in8}}, {"in", "--at", "12:00"}, 0, "Recorded",
            {{mar, in8 + out12 + in12}}, nowIn);
        // The forgotten punch goes to its own month's file.
        const QByteArray febIn = punches({"20240229180000"}).toUtf8();
        row("forgotten in the month before", {{feb, febIn}}, {"in", "--at", "2024-02-29 19:15"}, 0,
            "check out at 2024/02/29 19:15:00",
            {{feb, febIn + line("CheckOut", "20240229191500")}, {mar, in12}}, nowIn);
        row("forgotten before the last punch", {{mar, in8}}, {"in", "--at", "07:59"}, 2,
            "lies outside 2024/03/15 08:00:00 – 2024/03/15 12:00:00", {}, "In 20240315080000");
        row("forgotten after now", {{mar, in8}}, {"in", "--at", "12:01"}, 2, "lies outside", {},
            "In 20240315080000");
        row("nothing forgotten", {{mar, day}}, {"in", "--at", "11:30"}, 2, "no punch is missing",
            {}, "Out 20240315110000");
        for (const char* bad : {"9:00", "24:00", "2024-02-30 10:00"})
            row(QByteArray("not a time: ") + bad, {{mar, in8}}, {"in", "--at", bad}, 2,
                QString("'%1' is no time").arg(bad), {}, "Out ");
        row("undo past a comment", {{feb, febIn}, {mar, in8 + "# note\n"}}, {"undo"}, 0,
            "Removed check in at 2024/03/15 08:00:00.\n", {{feb, febIn}, {mar, "# note\n"}},
            "In 20240229180000");
        row("undo the only punch", {{mar, in8}}, {"undo"}, 0, "Removed", {{mar, ""}}, "Out ");
        row("undo a hand-edited line", {{mar, day.chopped(1) + "\textra\n"}}, {"undo"}, 2,
            "is not as fennick wrote it", {}, "Out 20240315110000");
        row("undo with no punch", {{mar, "# only a comment\n"}}, {"undo"}, 2, "no punch to undo",
            {}, "Out ");
        // The unreadable newer month may hold the newest punch.
        row("undo behind an unreadable month", {{feb, febIn}, {mar, folder}}, {"undo"}, 2,
            "TLOG202403.txt cannot be read", {{feb, febIn}}, "In 20240229180000");
        for (const QStringList& args :
             {QStringList{"in"}, {"toggle"}, {"out", "--at", "11:00"}, {"undo"}})
            row("full disk: " + args.join(' ').toUtf8(), {{mar, day}}, args, 1,
                "could not be written", {}, "Out 20240315110000", true);
    }

    // The buttons' rules: files, settings following the log, one line; unwritable: status 1.
    void punchCommands() {
        QFETCH(Punch, p);
        const CliHome h;
        QVERIFY(h.write(p.before));
        std::optional<FailingDisk> disk;
        if (p.fullDisk)
            disk.emplace(FailingDisk::NoSpace);
        const auto [status, out, err] = h.run(p.args);
        QVERIFY2(status == p.status && (status ? out.isEmpty() && err.count('\n') == 1
                                               : err.isEmpty() && out.count('\n') == 1),
                 qPrintable(out + err));
        QVERIFY2((status ? err : out).contains(p.text), qPrintable(out + err));
        Files expected = p.after.isEmpty() ? p.before : p.after;
        if (!expected.contains("TLOG202403.txt") && (status == 0 || p.args[0] != "undo"))
            expected.insert("TLOG202403.txt", ""); // the month's file, as a button makes it
        QCOMPARE(h.files(), expected);
        QCOMPARE(h.savedState(), p.state);
    }

    // Two processes toggling under the folder's lock: whole records, alternating kinds.
    void parallelToggles() {
        CliHome h;
        const int each = 500;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", h.home);
        env.remove("XDG_CONFIG_HOME");
        QProcess runs[2];
        for (QProcess& p : runs) {
            p.setProcessEnvironment(env);
            p.start("sh",
                    {"-c",
                     QString("for i in $(seq %1); do \"$0\" toggle >/dev/null || exit 1; done")
                         .arg(each),
                     FENNICK_BINARY_DIR "/bin/fennick"});
        }
        for (QProcess& p : runs) {
            QVERIFY(p.waitForFinished(120000));
            QCOMPARE(p.exitCode(), 0);
        }
        const QStringList lines =
            QString(h.files().values().join()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2 * each);
        const QRegularExpression whole(
            R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\t(CheckIn|CheckOut):\t(\d{14})$)");
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch m = whole.match(lines[i]);
            QVERIFY2(m.hasMatch(), qPrintable(lines[i]));
            QCOMPARE(m.captured(1), i % 2 ? "CheckOut" : "CheckIn");
        }
        h.settingsPath = h.home + "/.config/fennick/fennick.conf";
        QCOMPARE(h.savedState(), "Out " + lines.last().right(14));
    }

    // csv and json read the same in every language; the text form follows it.
    void machineOutput_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected"); // csv, or json compacted
        const auto row = [](const char* name, const QStringList& args, const QString& expected) {
            QTest::newRow(name) << args << expected;
        };
        row("daily csv", {"report", "daily", "--format", "csv", "--month", "202403"},
            "day,seconds,duration\r\n2024-03-05,7200,2:00:00\r\n2024-03-06,16200,4:30:00\r\n"
            "total,23400,6:30:00\r\n");
        row("daily json", {"report", "daily", "--format", "json", "--month", "202403"},
            R"({"kind":"daily","month":"2024-03","rows":[)"
            R"({"day":"2024-03-05","duration":"2:00:00","seconds":7200},)"
            R"({"day":"2024-03-06","duration":"4:30:00","seconds":16200}],)"
            R"("totalDuration":"6:30:00","totalSeconds":23400})");
        row("status json", {"status", "--format", "json"},
            R"({"checkedIn":false,"day":"TODAY","folder":"HOME/Library/fennick","kind":"status",)"
            R"("lastPunch":"2024-03-06T10:00:00+01:00","todayDuration":"0:00:00",)"
            R"("todaySeconds":0})");
    }

    void machineOutput() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const CliHome h;
        QVERIFY(writeMonths(
            h.logs, {"20240305220000", "20240306023000", "20240306080000", "20240306100000"}));
        QVERIFY(QDir().mkpath(h.home + "/.config/fennick"));
        QVERIFY(put(h.home + "/.config/fennick/fennick.conf",
                    "[General]\nonBusiness=true\nprevTimeStr=20240306080000\n"));
        // The state follows the log, not stale settings; the day is the system's today.
        expected.replace("TODAY", QDate::currentDate().toString(Qt::ISODate))
            .replace("HOME", h.home);
        const auto run = [&](const QString& lang, const QStringList& words) {
            QProcess p;
            p.start("env", QStringList{"-i", "HOME=" + h.home, "LANG=" + lang, "LC_ALL=" + lang,
                                       "LANGUAGE=" + lang.left(2), "TZ=Europe/Berlin",
                                       FENNICK_BINARY_DIR "/bin/fennick"} +
                               words);
            p.waitForFinished(20000);
            return QString::fromUtf8(p.readAllStandardOutput());
        };
        const QString german = run("de_DE.UTF-8", args);
        const QString json =
            QJsonDocument::fromJson(german.toUtf8()).toJson(QJsonDocument::Compact);
        QCOMPARE(json.isEmpty() ? german : json, expected);
        QCOMPARE(run("C.UTF-8", args), german);
        // The language is in effect: the text form changes with it.
        QVERIFY(run("de_DE.UTF-8", {"status"}) != run("C.UTF-8", {"status"}));
    }

    void status_data() {
        QTest::addColumn<QByteArray>("targets"); // minutes by weekday, Monday 1
        QTest::addColumn<QString>("lines");      // after "Today:"
        QTest::addColumn<QList<qint64>>("json"); // today, week, target, balance; none: absent
        QTest::newRow("hand-edited nonsense is no target")
            << QByteArray("1=eight\n2=-60\n3=1441\n") << "" << QList<qint64>{16200};
        QTest::newRow("forty hours")
            << QByteArray("1=480\n2=480\n3=480\n4=480\n5=480\n")
            << "This week:\t10:30:00\nWeek target:\t40:00:00\nBalance:\t-29:30:00\n"
            << QList<qint64>{16200, 37800, 144000, -106200};
        QTest::newRow("ahead of a short week")
            << QByteArray("1=120\n7=60\n")
            << "This week:\t10:30:00\nWeek target:\t03:00:00\nBalance:\t07:30:00\n"
            << QList<qint64>{16200, 37800, 10800, 27000};
    }

    // Wed 6 March 2024, 10:00: today counts only 2:30 after midnight and 2 h checked in.
    void status() {
        QFETCH(QByteArray, targets);
        QFETCH(QString, lines);
        QFETCH(QList<qint64>, json);
        CliHome h;
        h.clock.set(at("20240306100000"));
        QVERIFY(put(h.settingsPath, "[targetMinutes]\n" + targets));
        QVERIFY(writeMonths(h.logs,
                            {"20240303080000", "20240303120000", "20240304080000", "20240304120000",
                             "20240305220000", "20240306023000", "20240306080000"}));
        const auto [status, aligned, err] = h.run({"status"});
        // The columns line up with spaces; read them as one separator.
        const QString out = QString(aligned).replace(QRegularExpression(" {2,}"), "\t");
        QVERIFY2(status == 0 && out.contains("\nToday:\t04:30:00\n" + lines),
                 qPrintable(out + err));
        const QJsonObject object =
            QJsonDocument::fromJson(std::get<1>(h.run({"status", "--format=json"})).toUtf8())
                .object();
        QList<qint64> got;
        for (auto key : {"todaySeconds", "weekSeconds", "weekTargetSeconds", "balanceSeconds"}) {
            if (object.contains(key))
                got << object[key].toInteger();
        }
        QCOMPARE(got, json);
        QCOMPARE(object["day"].toString(), "2024-03-06");
        QCOMPARE(
            trayToolTip(collectStatus(true, "20240306080000", LogFolder::scanned(h.logs), h.clock)),
            "fennick: Now CheckIn...\nToday: 04:30:00");
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
