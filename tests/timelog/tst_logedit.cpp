// Edits of the log through the session, conflict copies and their merge included.

#include "reports/report.h"
#include "support.h"
#include "timelog/conflicts.h"
#include "timelog/logedit.h"
#include "timelog/logfile.h"

#include <QStringEncoder>

using namespace fennick;
using namespace fennick::test;

namespace {

const QByteArray CRLF("\r\n"), LF("\n");
const QByteArray kMark("\xEF\xBB\xBF");
const QByteArray r0("2004/02/02 09:00:00\tCheckIn:\t20040202090000");
const QByteArray r1("2004/02/02 17:00:00\tCheckOut:\t20040202170000");
const QByteArray r2("2004/02/03 09:00:00\tCheckIn:\t20040203090000");
const QByteArray kComment("# caf\xE9 comment");      // Latin-1, no UTF-8
const QByteArray kNoRecord("not a record \xFF\xFE"); // four tokens, no kind
const QByteArray kJan("2004/01/31 09:00:00\tCheckIn:\t20040131090000\n");

// A record line as the session's clock writes it (2004/02/20 12:00:00).
QByteArray written(const char* kind, const char* time) {
    return QByteArray("2004/02/20 12:00:00\t") + kind + '\t' + time;
}

// The record as the log window shows it: its place and its line.
RecordAt recordAt(const QString& path, qsizetype index) {
    const QByteArray bytes = editableBytes(bytesOf(path));
    return RecordAt{path, index, lineOf(bytes, recordLines(bytes).at(index))};
}

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

// An edit ("change", "remove" or "insert") of the record at `index` to `time`, and the bytes it
// leaves.
struct Edit {
    QByteArray original, expected;
    QString op, time;
    int index;
};

// A terminal command with or without a conflict copy: its status and a part of stdout and of
// stderr.
struct Command {
    QStringList args;
    bool withCopy;
    int status;
    QString out, err;
};

} // namespace

class TestLogEdit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // An edit, its undo and its redo change only the record's own bytes. A
    // UTF-16 file is written as UTF-8, and its undo gives the UTF-16 back.
    void bytesKept_data() {
        QTest::addColumn<Edit>("e");
        const QByteArray head = kMark + r0 + CRLF + kComment + LF, mid = LF + kNoRecord + CRLF;
        const QByteArray file = head + r1 + mid + r2;
        const auto row = [](const char* name, const QByteArray& original, const char* op, int index,
                            const char* time, const QByteArray& expected) {
            QTest::newRow(name) << Edit{original, expected, op, time, index};
        };
        const auto out = [](const char* time) { return written("CheckOut:", time); };
        row("change in its place", file, "change", 1, "20040202173000",
            head + out("20040202173000") + mid + r2);
        row("change the unterminated last", file, "change", 2, "20040203100000",
            head + r1 + mid + written("CheckIn:", "20040203100000"));
        row("change past the last", file, "change", 1, "20040204090000",
            head + kNoRecord + CRLF + r2 + CRLF + out("20040204090000") + CRLF);
        row("remove the first, after the mark", file, "remove", 0, "",
            kMark + kComment + LF + r1 + mid + r2);
        row("remove the unterminated last", file, "remove", 2, "", head + r1 + mid);
        row("insert before all", file, "insert", 0, "20040201120000",
            kMark + out("20040201120000") + CRLF + file.mid(3));
        row("insert between", file, "insert", 0, "20040202120000",
            head + out("20040202120000") + CRLF + r1 + mid + r2);
        row("insert after the unterminated last", file, "insert", 0, "20040204120000",
            file + CRLF + out("20040204120000") + CRLF);
        const QByteArray text = r0 + LF + "# \xC3\xA9t\xC3\xA9\n" + r1 + LF;
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        row("UTF-16 as UTF-8", utf16(QString::fromUtf8(text)), "remove", 0, "",
            text.mid(r0.size() + 1));
    }
    void bytesKept() {
        QFETCH(Edit, e);
        SessionHome home;
        const QString path = home.file("200402");
        QVERIFY(put(path, e.original));
        PunchSession& session = home.open();
        const std::optional<QString> refusal =
            e.op == "change"   ? session.changeTime(recordAt(path, e.index), at(e.time))
            : e.op == "remove" ? session.remove(recordAt(path, e.index))
                               : session.insert(PunchKind::CheckOut, at(e.time));
        QVERIFY2(!refusal, qPrintable(refusal.value_or("")));
        QCOMPARE(bytesOf(path), e.expected);
        QVERIFY(!session.undo());
        QCOMPARE(bytesOf(path), e.original);
        QVERIFY(!session.redo());
        QCOMPARE(bytesOf(path), e.expected);
    }

    // A press, then a hand edit before undo (or redo): undo takes the pressed record out only
    // while it is still the last and unchanged; else both are refused, naming the file.
    void undoAfterHand_data() {
        QTest::addColumn<bool>("atRedo");
        QTest::addColumn<QByteArray>("byHand");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray o = r0 + LF + r1 + LF;
        const QByteArray p = written("CheckIn:", "20040220120000") + LF;
        const QByteArray note("# lunch\n"), other = written("CheckOut:", "20040220130000") + LF;
        QTest::newRow("undo, untouched") << false << o + p << false << o;
        QTest::newRow("undo, comment after it") << false << o + p + note << false << o + note;
        QTest::newRow("undo, record after it") << false << o + p + other << true << o + p + other;
        QTest::newRow("redo, untouched") << true << o << false << o + p;
        QTest::newRow("redo, comment added") << true << o + note << true << o + note;
    }
    void undoAfterHand() {
        QFETCH(bool, atRedo);
        QFETCH(QByteArray, byHand);
        QFETCH(bool, refused);
        QFETCH(QByteArray, expected);
        SessionHome home;
        const QString path = home.file("200402");
        QVERIFY(put(path, r0 + LF + r1 + LF));
        PunchSession& session = home.open();
        session.timeClock().enterLogIn();
        QCOMPARE(home.state(), "In 20040220120000");
        if (atRedo)
            QVERIFY(!session.undo());
        QVERIFY(put(path, byHand));
        const std::optional<QString> refusal = atRedo ? session.redo() : session.undo();
        QCOMPARE(refusal.has_value(), refused);
        if (refusal)
            QVERIFY2(refusal->contains(path), qPrintable(*refusal));
        QCOMPARE(bytesOf(path), expected);
    }

    // A forgotten check-out entered at a press and the press are one step.
    void forgottenPair_data() {
        QTest::addColumn<QString>("now");
        QTest::addColumn<QByteArrayList>("after"); // January's and February's file
        const QByteArray out("\tCheckOut:\t20040131180000\n");
        QTest::newRow("across the month end")
            << "20040201100000"
            << QByteArrayList{kJan + "2004/02/01 10:00:00" + out,
                              "2004/02/01 10:00:00\tCheckIn:\t20040201100000\n"};
        QTest::newRow("within one file")
            << "20040131200000"
            << QByteArrayList{kJan + "2004/01/31 20:00:00" + out +
                                  "2004/01/31 20:00:00\tCheckIn:\t20040131200000\n",
                              ""};
    }
    void forgottenPair() {
        QFETCH(QString, now);
        QFETCH(QByteArrayList, after);
        SessionHome home;
        home.clock.set(at(now));
        home.answer = at("20040131180000");
        const auto files = [&home] {
            return QByteArrayList{bytesOf(home.file("200401")), bytesOf(home.file("200402"))};
        };
        QVERIFY(put(home.file("200401"), kJan));
        QVERIFY(put(home.file("200402"), ""));
        PunchSession& session = home.open();
        session.timeClock().enterLogIn();
        QCOMPARE(files(), after);
        QVERIFY(!session.undo());
        QCOMPARE(files(), (QByteArrayList{kJan, ""}));
        QCOMPARE(home.state(), "In 20040131090000");
        QVERIFY(session.undo()); // nothing more to undo
        QVERIFY(!session.redo());
        QCOMPARE(files(), after);
        QCOMPARE(home.state(), "In " + now);
    }

    // A punch moved into January's file in one step; when either write fails both files keep
    // their bytes and the answer names the failing one (a long link target defeats even root).
    void moveToOtherMonth_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("failing");
        QTest::newRow("both written") << QString() << QString();
        QTest::newRow("second write fails") << QString("long name") << "200402";
        QTest::newRow("first file unusable") << QString("directory") << "200401";
    }
    void moveToOtherMonth() {
        QFETCH(QString, obstacle);
        QFETCH(QString, failing);
        SessionHome home;
        const QString jan = home.file("200401"), feb = home.file("200402");
        const QByteArray janBytes("2004/01/30 09:00:00\tCheckIn:\t20040130090000\n");
        const QByteArray febBytes = r0 + LF + r1 + LF;
        if (obstacle == "directory")
            QVERIFY(QDir().mkpath(jan));
        else
            QVERIFY(put(jan, janBytes));
        const QString real = home.temp.filePath(QString(250, u'f'));
        QVERIFY(put(obstacle == "long name" ? real : feb, febBytes));
        if (obstacle == "long name")
            QVERIFY(QFile::link(real, feb));
        const auto files = [&] { return QByteArrayList{bytesOf(jan), bytesOf(feb)}; };
        const QByteArrayList before = files();
        PunchSession& session = home.open();
        const std::optional<QString> refusal =
            session.changeTime(recordAt(feb, 0), at("20040131090000"));
        if (!failing.isEmpty()) {
            QVERIFY2(refusal && refusal->contains(home.file(failing)),
                     qPrintable(refusal.value_or("")));
            QCOMPARE(files(), before);
            return;
        }
        QVERIFY2(!refusal, qPrintable(refusal.value_or("")));
        QCOMPARE(files(),
                 QByteArrayList({janBytes + written("CheckIn:", "20040131090000") + LF, r1 + LF}));
        QVERIFY(!session.undo());
        QCOMPARE(files(), before);
    }

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
            QVERIFY(put(logs.path("TLOG202403.txt"), shared));
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

    // A merge is one undo step: undo brings back every file as it was, the copies and the month
    // that had no file included; redo merges again. The copies go only once the merged files are
    // in place. A merge that cannot write changes no file and no state.
    void merge_data() {
        QTest::addColumn<FailingDisk::Fault>("fault");
        // A copy of January, which has no month file, is merged first.
        QTest::addColumn<bool>("january");
        QTest::newRow("merged") << FailingDisk::None << true;
        for (const auto fault : {FailingDisk::NoSpace, FailingDisk::FailedSync,
                                 FailingDisk::FailedRename, FailingDisk::ReadOnly}) {
            for (const bool january : {true, false})
                QTest::addRow("fault %d, January %d", int(fault), int(january)) << fault << january;
        }
    }
    void merge() {
        QFETCH(FailingDisk::Fault, fault);
        QFETCH(bool, january);
        SessionHome home;
        const QString copy = home.logs + "/TLOG200402_conflict-20040219-101010.txt";
        const QString onlyCopy = home.logs + "/TLOG200401 (conflicted copy 2004-01-31).txt";
        QVERIFY(put(home.file("200402"), "# mine\n" + lines({"20040219080000"})));
        QVERIFY(put(copy, lines({"20040219080000", "20040219170000"})));
        QVERIFY(!january || put(onlyCopy, lines({"20040130080000", "20040130170000"})));
        const auto before = filesIn(home.logs);
        PunchSession& session = home.open();
        QCOMPARE(home.state(), "Out 20040219170000");
        if (fault) {
            const FailingDisk disk(fault);
            QVERIFY(std::get<QString>(session.mergeConflicts()).contains("nothing was merged"));
            QCOMPARE(filesIn(home.logs), before);
            QCOMPARE(home.state(), "Out 20040219170000");
            QVERIFY(session.undo()); // nothing to undo
            return;
        }
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

    // fennick merge, and the line that report and status print per month.
    void terminal_data() {
        QTest::addColumn<Command>("c");
        const auto row = [](const char* name, const QStringList& args, bool copy, int status,
                            const QString& out, const QString& err) {
            QTest::newRow(name) << Command{args, copy, status, out, err};
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
        QFETCH(Command, c);
        SessionHome home;
        QVERIFY(put(home.file("200402"), lines({"20040219080000"})));
        const QString copy = home.logs + "/TLOG200402 (conflicted copy 2004-02-19).txt";
        if (c.withCopy)
            QVERIFY(put(copy, lines({"20040219080000", "20040219170000"})));
        const auto before = filesIn(home.logs);
        std::optional<FailingDisk> disk;
        if (c.status == 1)
            disk.emplace(FailingDisk::NoSpace);
        const auto [code, outText, errText] = home.run(c.args);
        QCOMPARE(code, c.status);
        QVERIFY2(outText.contains(c.out), qPrintable(outText));
        QVERIFY2(errText.contains(c.err), qPrintable(errText));
        QCOMPARE(errText.count('\n'), c.err.isEmpty() ? 0 : 1);
        const bool merged = c.args.first() == "merge" && c.status == 0;
        QCOMPARE(existsAt(copy), c.withCopy && !merged);
        if (c.status != 0)
            QCOMPARE(filesIn(home.logs), before);
    }
};

QTEST_GUILESS_MAIN(TestLogEdit)
#include "tst_logedit.moc"
