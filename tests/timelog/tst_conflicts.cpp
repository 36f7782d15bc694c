#include "reports/report.h"
#include "support.h"
#include "timelog/conflicts.h"

#include <QStringEncoder>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

namespace {

const QString kMonth = QStringLiteral("TLOG202403.txt");

// Record lines of punches at compact times; a check-in first.
QByteArray lines(const QStringList& times, bool checkedIn = false) {
    return punches(times, checkedIn).toUtf8();
}

// Whether the copy was still there whenever a file was renamed into place.
QString watchedCopy;
bool copyStayedUntilRename = true;
int renameWatchingCopy(const char* from, const char* to) {
    copyStayedUntilRename = copyStayedUntilRename && existsAt(watchedCopy);
    return ::rename(from, to);
}

} // namespace

class TestConflicts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // A copy's punches count once with its month's file (or alone where the
    // month has none); any other name is no copy and is not counted.
    void countedOnce_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("withMonthFile");
        QTest::addColumn<int>("hours");
        const auto row = [](const char* tag, const char* name, bool month, int hours) {
            QTest::newRow(tag) << QString::fromUtf8(name) << month << hours;
        };
        row("syncthing", "TLOG202403.sync-conflict-20240315-101010-ABCDEFG.txt", true, 5);
        row("dropbox", "TLOG202403 (conflicted copy 2024-03-15).txt", true, 5);
        row("dropbox, device", "TLOG202403 (Laptop's conflicted copy 2024-03-15).txt", true, 5);
        row("nextcloud", "TLOG202403 (conflicted copy 2024-03-15 101010).txt", true, 5);
        row("nextcloud, newer", "TLOG202403_conflict-20240315-101010.txt", true, 5);
        row("copy without month file", "TLOG202403_conflict-20240315-101010.txt", false, 5);
        row("seven digits, copy", "TLOG2024031.sync-conflict-20240315-101010-ABCDEFG.txt", true, 3);
        row("lower case", "tlog202403.sync-conflict-20240315-101010-ABCDEFG.txt", true, 3);
        row("other extension", "TLOG202403 (conflicted copy 2024-03-15).TXT", true, 3);
    }
    void countedOnce() {
        QFETCH(QString, name);
        QFETCH(bool, withMonthFile);
        QFETCH(int, hours);
        TempLogFolder logs;
        const QByteArray shared = lines({"20240304090000", "20240304120000"});
        if (withMonthFile)
            QVERIFY(put(logs.path(kMonth), shared));
        QVERIFY(put(logs.path(name), shared + lines({"20240305130000", "20240305150000"})));
        const FixedClock clock(at("20240320120000"));
        const LogFolder folder = LogFolder::scanned(logs.dir);
        QCOMPARE(folder.index->keys(), withMonthFile ? QStringList{"202403"} : QStringList{});
        const ReportContent daily = reportContent(ReportKind::DailySums, 0, folder, clock);
        QCOMPARE(daily.totalSeconds, hours * 3600);
        QCOMPARE(daily.conflicts.keys(), hours == 5 ? QStringList{"202403"} : QStringList{});
        // The newest record, which the state follows, is the copy's.
        if (hours == 5)
            QCOMPARE(newestRecord(folder)->timeToken, "20240305150000");
    }

    void merged_data() {
        QTest::addColumn<QByteArray>("month");
        QTest::addColumn<QList<QByteArray>>("copies");
        QTest::addColumn<QByteArray>("merged");
        const QByteArray a = lines({"20240304090000"}), b = lines({"20240304120000"}, true),
                         c = lines({"20240305090000"});
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("comments keep their places, a copy's own follow at the end")
            << "# head\n" + a + "# mid\n" + c + "# tail\n"
            << QList<QByteArray>{"# head\n" + a + b + "# laptop\n"}
            << "# head\n" + a + "# mid\n" + b + c + "# tail\n# laptop\n";
        QTest::newRow("ordered by time token") << c + a << QList<QByteArray>{b} << a + b + c;
        QTest::newRow("twice in one file counts twice")
            << a + a << QList<QByteArray>{a + b, a} << a + a + b;
        QTest::newRow("twice in a copy") << a << QList<QByteArray>{a + a} << a + a;
        QTest::newRow("line ends and a last line without one")
            << "# x\r\n" + a.chopped(1) + "\r\n" + c.chopped(1) << QList<QByteArray>{b}
            << "# x\r\n" + a.chopped(1) + "\r\n" + b.chopped(1) + "\r\n" + c.chopped(1) + "\r\n";
        QTest::newRow("UTF-16 copy, no month file")
            << QByteArray() << QList<QByteArray>{QByteArray(utf16(QString::fromUtf8(b + a))), c}
            << a + b + c;
    }
    void merged() {
        QFETCH(QByteArray, month);
        QFETCH(QList<QByteArray>, copies);
        QFETCH(QByteArray, merged);
        QCOMPARE(mergedMonthBytes(month, copies), merged);
    }

    // A merge is one undo step: undo brings back every file as it was, the
    // copies and the month that had no file included; redo merges again.
    // The copies go only once the merged files are in place.
    void mergeUndoRedo() {
        SessionHome home;
        const QString copy = home.logs + "/TLOG200402_conflict-20040219-101010.txt";
        const QString onlyCopy = home.logs + "/TLOG200401 (conflicted copy 2004-01-31).txt";
        QVERIFY(put(home.file("200402"), "# mine\n" + lines({"20040219080000"})));
        QVERIFY(put(copy, lines({"20040219080000", "20040219170000"})));
        QVERIFY(put(onlyCopy, lines({"20040130080000", "20040130170000"})));
        const auto before = filesIn(home.logs);
        PunchSession& session = home.open();
        QCOMPARE(home.state(), "Out 20040219170000");
        watchedCopy = copy;
        const WriteCalls previous =
            setWriteCalls({&::open, &::write, &::fsync, &renameWatchingCopy});
        const auto merged = session.mergeConflicts();
        setWriteCalls(previous);
        QVERIFY(std::holds_alternative<LogStep>(merged));
        QVERIFY(copyStayedUntilRename);
        QVERIFY(!existsAt(copy) && !existsAt(onlyCopy));
        QCOMPARE(bytesOf(home.file("200402")),
                 "# mine\n" + lines({"20040219080000", "20040219170000"}));
        QCOMPARE(bytesOf(home.file("200401")), lines({"20040130080000", "20040130170000"}));
        const auto after = filesIn(home.logs);
        QVERIFY(!session.undo());
        QCOMPARE(filesIn(home.logs), before);
        QVERIFY(!session.redo());
        QCOMPARE(filesIn(home.logs), after);
        QVERIFY(std::get<LogStep>(session.mergeConflicts()).edits.isEmpty());
    }

    // A merge that cannot write changes no file and no state.
    void failedMerge_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("withMonthFile");
        for (const auto fault : {FailingDisk::NoSpace, FailingDisk::FailedSync,
                                 FailingDisk::FailedRename, FailingDisk::ReadOnly}) {
            for (const bool month : {true, false})
                QTest::addRow("fault %d, month file %d", int(fault), int(month))
                    << int(fault) << month;
        }
    }
    void failedMerge() {
        QFETCH(int, fault);
        QFETCH(bool, withMonthFile);
        SessionHome home;
        if (withMonthFile)
            QVERIFY(put(home.file("200402"), lines({"20040219080000"})));
        QVERIFY(put(home.logs + "/TLOG200402.sync-conflict-20040219-101010-ABCDEFG.txt",
                    lines({"20040219080000", "20040219170000"})));
        PunchSession& session = home.open();
        const auto before = filesIn(home.logs);
        const QString state = home.state();
        const FailingDisk disk{FailingDisk::Fault(fault)};
        const auto merged = session.mergeConflicts();
        QVERIFY(std::get<QString>(merged).contains("nothing was merged"));
        QCOMPARE(filesIn(home.logs), before);
        QCOMPARE(home.state(), state);
        QVERIFY(session.undo()); // nothing to undo
    }

    // fennick merge, and the line that report and status print per month.
    void terminal_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("withCopy");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const auto row = [](const char* name, const QStringList& args, bool copy, int status,
                            const QString& out, const QString& err) {
            QTest::newRow(name) << args << copy << status << out << err;
        };
        const QString copy = "TLOG200402 (conflicted copy 2004-02-19).txt";
        row("merge", {"merge"}, true, 0, "Merged " + copy + " into TLOG200402.txt.", "");
        row("nothing to merge", {"merge"}, false, 0, "There are no conflict copies to merge.", "");
        row("failing disk", {"merge"}, true, 1, "", "could not be written"); // the only status 1
        row("no options", {"merge", "--format", "json"}, true, 2, "", "merge takes no option");
        const QString notice =
            "TLOG200402.txt has conflict copies, counted once until 'fennick merge': " + copy;
        row("report", {"report", "daily"}, true, 0, "Daily Sums", notice);
        row("status", {"status"}, true, 0, "Log folder", notice);
    }
    void terminal() {
        QFETCH(QStringList, args);
        QFETCH(bool, withCopy);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        SessionHome home;
        QVERIFY(put(home.file("200402"), lines({"20040219080000"})));
        const QString copy = home.logs + "/TLOG200402 (conflicted copy 2004-02-19).txt";
        if (withCopy)
            QVERIFY(put(copy, lines({"20040219080000", "20040219170000"})));
        const auto before = filesIn(home.logs);
        std::optional<FailingDisk> disk;
        if (status == 1)
            disk.emplace(FailingDisk::NoSpace);
        const auto [code, outText, errText] = home.run(args);
        QCOMPARE(code, status);
        QVERIFY2(outText.contains(out), qPrintable(outText));
        QVERIFY2(errText.contains(err), qPrintable(errText));
        QCOMPARE(errText.count('\n'), err.isEmpty() ? 0 : 1);
        const bool merged = args.first() == "merge" && status == 0;
        QCOMPARE(existsAt(copy), withCopy && !merged);
        if (status != 0)
            QCOMPARE(filesIn(home.logs), before);
    }
};

QTEST_GUILESS_MAIN(TestConflicts)
#include "tst_conflicts.moc"
