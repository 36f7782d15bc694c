#include "support.h"
#include "timelog/fileops.h"
#include "timelog/store.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

namespace {

// The record of a check-in punched and written at 2004/02/15 09:30:00.
const QByteArray kRecord("2004/02/15 09:30:00\tCheckIn:\t20040215093000\n");

// A store over a log folder, a clock at 2004/02/15 09:30:00 and the log
// lines the store writes.
struct Fixture : TempLogFolder {
    FixedClock clock{at("20040215093000")};
    QStringList logged;
    TimeLogStore store{dir, clock, [this](const QString& line) { logged << line; }};

    bool punch(const char* when, PunchKind kind = PunchKind::CheckIn) {
        return store.appendPunch(at(when), clock.now(), kind);
    }
};

enum Setup { Plain, Link, DirectoryAsFile, Fifo, FileAsDirectory };

// One append of kRecord. `before` is null where there is no month file and
// `after` null where the file must stay as it was; `logged` holds %1 for the
// month file's path and is empty where the append succeeds. `calls` are the
// system calls of the write, in order.
struct Append {
    Setup setup;
    QByteArray before, after;
    const char* logged = "";
    FailingDisk::Fault fault = FailingDisk::None;
    const char* calls = "write fsync rename dirsync";
    bool unnamed = true;
};

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }
    void cleanup() { allowUnnamedTempFiles(true); }

    // Three of the eight names make the index; a subdirectory counts like a
    // file, and the digits may be any of Unicode's decimal digits. Names that
    // differ from a month file's only in letter case are neither indexed nor
    // written: February's punch gets a file of its own.
    void index() {
        Fixture f;
        for (const char* name :
             {"TLOG200403.txt", "TLOG999999.txt", "TLOG20040.txt", "tlog200402.txt",
              "TLOG200402.TXT", "TLOGabcdef.txt", "TLOG 20402.txt", "TLOG٢٠٠٤٠٢.txt"})
            QVERIFY(put(f.path(name), "x"));
        QVERIFY(QDir().mkdir(f.path("TLOG200405.txt")));
        QCOMPARE(f.store.getLogFileDic()->keys(),
                 (QStringList{"200403", "200405", "999999", "٢٠٠٤٠٢"}));
        QVERIFY(f.punch("20040215093000"));
        QCOMPARE(bytesOf(f.path("TLOG200402.txt")), kRecord);
        QCOMPARE(bytesOf(f.path("tlog200402.txt")) + bytesOf(f.path("TLOG200402.TXT")), "xx");
        QCOMPARE(f.store.getLogFileDic()->value("200402"), "TLOG200402.txt");
    }

    // A write removes its month's temporary files that a writer which died
    // left more than an hour before; younger ones may belong to a write in
    // progress, and other months' are not its business.
    void staleTemps() {
        Fixture f;
        QVERIFY(put(f.path("TLOG200402.txt"), ""));
        const QStringList temps{".TLOG200402.txt.tmpaaaaaaaa", ".TLOG200402.txt.tmpbbbbbbbb",
                                ".TLOG200403.txt.tmpcccccccc"};
        for (const auto& [name, age] :
             {std::pair(temps[0], 3602), {temps[1], 3599}, {temps[2], 9000}}) {
            const timespec mtime{::time(nullptr) - age, 0}, times[2]{mtime, mtime};
            QVERIFY(put(f.path(name), "x") &&
                    ::utimensat(AT_FDCWD, QFile::encodeName(f.path(name)), times, 0) == 0);
        }
        QVERIFY(f.punch("20040215093000"));
        QCOMPARE(listing(f.dir), (QStringList{temps[1], temps[2], "TLOG200402.txt"}));
    }

    // Without a directory path no file is made anywhere, not even at "/".
    void noDirectory() {
        Fixture f;
        TimeLogStore none(std::nullopt, f.clock, [&f](const QString& l) { f.logged << l; });
        none.checkLogFile();
        QVERIFY(!none.getLogFileDic() && !none.logFilePathStr());
        QVERIFY(!none.appendPunch(f.clock.now(), f.clock.now(), PunchKind::CheckIn));
        QCOMPARE(f.logged, QStringList{"File:(none) creation failed."});
    }

    // On the first of March the press's month file is created, private and
    // indexed; a check-out forgotten on 29 February goes into February's
    // file, created and indexed likewise, and not into March's.
    void monthChange() {
        Fixture f;
        f.clock.set(at("20040301080000"));
        f.store.checkLogFileDic();
        f.store.checkLogFile();
        QCOMPARE(f.store.myLogFileDic()->keys(), QStringList{"200403"});
        QVERIFY(f.punch("20040229180000", PunchKind::CheckOut) && f.punch("20040301080000"));
        QCOMPARE(bytesOf(f.path("TLOG200402.txt")),
                 QByteArray("2004/03/01 08:00:00\tCheckOut:\t20040229180000\n"));
        QCOMPARE(bytesOf(f.path("TLOG200403.txt")),
                 QByteArray("2004/03/01 08:00:00\tCheckIn:\t20040301080000\n"));
        QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200402", "200403"}));
        QCOMPARE(modeOf(f.path("TLOG200402.txt")), 0600);
    }

    // Files changed behind the index. One added by hand is written though the
    // index lacks it, and the index kept. A deleted earlier month's file is
    // reported and not made again; the current month's is made again, and
    // only then is the index built anew.
    void filesChangedBehindIndex() {
        Fixture f;
        QVERIFY(put(f.path("TLOG200401.txt"), "x\n") && put(f.path("TLOG200402.txt"), "x\n"));
        f.store.checkLogFileDic();
        QVERIFY(put(f.path("TLOG200312.txt"), "# by hand\n"));
        f.store.checkLogFileDic();
        f.store.checkLogFile();
        QVERIFY(f.punch("20031215120000"));
        QCOMPARE(bytesOf(f.path("TLOG200312.txt")),
                 QByteArray("# by hand\n2004/02/15 09:30:00\tCheckIn:\t20031215120000\n"));
        QVERIFY(QFile::remove(f.path("TLOG200401.txt")) && !f.punch("20040131120000"));
        QCOMPARE(f.logged, QStringList{"File:" + f.path("TLOG200401.txt") + " can not read."});
        QVERIFY(!QFile::exists(f.path("TLOG200401.txt")));
        QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200401", "200402"}));
        QVERIFY(QFile::remove(f.path("TLOG200402.txt")));
        f.store.checkLogFile();
        QVERIFY(f.punch("20040215093000"));
        QCOMPARE(bytesOf(f.path("TLOG200402.txt")), kRecord);
        QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200312", "200402"}));
    }

    void append_data() {
        QTest::addColumn<Append>("append");
        const QByteArray r = kRecord;
        const QByteArray u = "\xc3\xbc\n" + r;
        const QByteArray bad = QByteArrayLiteral("\xc3(\0\x80\n\0\xff");
        const char* notRead = "File:%1 can not read.";
        const char* notMade = "File:%1 creation failed.";
        const char* notWritten = "File:%1 write error!";
        const QByteArray big = QByteArray(9999, '#') + '\n';
        QTest::newRow("glued record") << Append{Plain, "a b CheckOut: 1", "a b CheckOut: 1\n" + r};
        QTest::newRow("invalid UTF-8 and NULs kept") << Append{Plain, bad, bad + '\n' + r};
        QTest::newRow("UTF-16LE") << Append{Plain, QByteArray("\xff\xfe\xfc\0\n\0", 6), u};
        QTest::newRow("UTF-16BE, no last LF") << Append{Plain, QByteArray("\xfe\xff\0\xfc", 4), u};
        // Starts like UTF-16 but is none: its bytes stay as they are.
        const QByteArray odd("\xff\xfe"
                             "ab\n");
        const QByteArray lone("\xff\xfe\x00\xd8"
                              "a\n",
                              6);
        QTest::newRow("FF FE, odd length") << Append{Plain, odd, odd + r};
        QTest::newRow("FF FE, lone surrogate") << Append{Plain, lone, lone + r};
        QTest::newRow("symbolic link") << Append{Link, "y\n", "y\n" + r};
        QTest::newRow("directory for file") << Append{DirectoryAsFile, {}, {}, notRead, {}, ""};
        QTest::newRow("FIFO for file") << Append{Fifo, {}, {}, notRead, {}, ""};
        QTest::newRow("file for directory") << Append{FileAsDirectory, "x\n", {}, notMade, {}, ""};
        const auto fault = [&](const char* name, FailingDisk::Fault fault, const char* calls,
                               bool unnamed = true) {
            const bool fails = !QByteArray(calls).contains("rename dirsync");
            QTest::newRow(name) << Append{
                Plain, big,    fails ? QByteArray() : big + r, fails ? notWritten : "", fault,
                calls, unnamed};
        };
        fault("read-only", FailingDisk::ReadOnly, "");
        fault("read-only, named", FailingDisk::ReadOnly, "", false);
        fault("interrupted write", FailingDisk::Interrupted, "write write fsync rename dirsync");
        fault("short write, rest written", FailingDisk::ShortThenRest,
              "write write fsync rename dirsync");
        fault("short write, then disk full", FailingDisk::ShortThenNoSpace, "write write");
        fault("disk full", FailingDisk::NoSpace, "write");
        fault("disk full, named", FailingDisk::NoSpace, "write", false);
        fault("failed sync", FailingDisk::FailedSync, "write fsync");
        fault("failed rename", FailingDisk::FailedRename, "write fsync rename");
        fault("failed rename, named", FailingDisk::FailedRename, "write fsync rename", false);
    }
    // The current month's file is made sure of and the punch appended, as a
    // press does: the data is synced before the rename, the directory after
    // it. The file's mode is kept, a symbolic link stays one. A failure logs
    // its one line and leaves the month file (or what stands in its place)
    // byte for byte as it was, no temporary file and the store's state as it
    // was.
    void append() {
        QFETCH(Append, append);
        const Append& a = append;
        allowUnnamedTempFiles(a.unnamed);
        Fixture f;
        const QString path = f.path("TLOG200402.txt");
        const QString watched = a.setup == FileAsDirectory ? f.dir : path;
        if (a.setup == Link)
            QVERIFY(QFile::link("real.txt", path));
        else if (a.setup == DirectoryAsFile)
            QVERIFY(QDir().mkdir(path));
        else if (a.setup == Fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (a.setup == FileAsDirectory)
            QVERIFY(QDir(f.dir).removeRecursively());
        QVERIFY(a.before.isNull() || (put(watched, a.before) &&
                                      ::chmod(QFile::encodeName(watched).constData(), 0640) == 0));
        f.store.checkLogFileDic();
        const std::optional<MonthIndex> index = f.store.myLogFileDic();
        const QStringList entries = listing(f.dir);
        const QByteArray bytes = bytesOf(watched);
        const int mode = modeOf(watched);
        const QString logged = QString(a.logged).replace("%1", path);
        f.store.checkLogFile();
        const FailingDisk disk(a.fault);
        QCOMPARE(f.punch("20040215093000"), logged.isEmpty());
        QCOMPARE(disk.calls.join(' '), a.calls);
        QCOMPARE(bytesOf(watched), a.after.isNull() ? bytes : a.after);
        QCOMPARE(f.logged, logged.isEmpty() ? QStringList() : QStringList{logged});
        QCOMPARE(listing(f.dir), entries);
        QCOMPARE(f.store.myLogFileDic(), index);
        QCOMPARE(f.store.logFilePathStr(), std::optional(path));
        QCOMPARE(modeOf(watched), mode);
        QCOMPARE(QFileInfo(path).isSymLink(), a.setup == Link);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
