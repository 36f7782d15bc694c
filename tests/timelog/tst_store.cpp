// The log folder on disk: where it lives; the store's month index, month files and durable
// appends under disk faults and kills; the check-in/out rules that write through it and the state
// following the log; moving the folder.

#include "shell/foldermove.h"
#include "shell/startup.h"
#include "support.h"
#include "timelog/fileops.h"
#include "timelog/logedit.h"
#include "timelog/store.h"
#include "timelog/timeclock.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <csignal>
#include <sys/wait.h>

using namespace fennick;
using namespace fennick::test;

namespace {

// The record of a check-in punched and written at 2004/02/15 09:30:00.
const QByteArray kRecord("2004/02/15 09:30:00\tCheckIn:\t20040215093000\n");

// A store over a log folder, with the clock at the record's time; its log lines call the folder
// "~".
struct Fixture : TempLogFolder {
    FixedClock clock{at("20040215093000")};
    QStringList logged;
    TimeLogStore store{dir, clock, [this](QString line) { logged << line.replace(dir, "~"); }};

    bool punch(const char* t) { return store.appendPunch(at(t), clock.now(), PunchKind::CheckIn); }
};

enum Setup { Plain, Link, DirectoryAsFile, Fifo, FileAsDirectory };

// One append of kRecord: `before` null for no file, `after` null for unchanged, `logged`
// (%1: the path) empty on success, `calls` the write's system calls in order.
struct Append {
    Setup setup;
    QByteArray before, after;
    const char* logged = "";
    FailingDisk::Fault fault = FailingDisk::None;
    const char* calls = "write fsync rename dirsync";
    bool unnamed = true;
};

// The k-th punch of a killed writer: alternately into February and January.
CalDate punchTime(int k) {
    return CalDate::fromInstant(at(k % 2 ? "20040110080000" : "20040210080000").instant() + 60 * k);
}

// A record line, and a record or the state it leads to as a step.
const QRegularExpression kLine("^.*\tCheck(In|Out):\t(\\d+)$", QRegularExpression::MultilineOption);
const QRegularExpression kStep("^(In|Out) \\d{14}$");

// The rules pressed at 2004/02/15 18:00:10, December's file an unreadable directory. The
// dialog answers `answer` (compact time, "empty", else cancel) while the clock runs on;
// `logged` gets the dialog, beeps, log lines and the saved state at each window refresh.
struct Rules : Fixture {
    QString answer;
    TimeClock rules{store,
                    clock,
                    {std::bind_front(&Rules::dialog, this),
                     [this] { logged << "beep"; },
                     [this] { logged << state(); },
                     {},
                     {}}};

    Rules() {
        clock.set(at("20040215180010"));
        QDir().mkdir(path("TLOG200312.txt"));
    }
    int dialog(const CalDate& now, const QString& prev, bool forCkin) {
        logged << (forCkin ? "ask in " : "ask out ") + answer +
                      (now == clock.now() && prev == rules.prevTimeStr() ? "" : " wrongly");
        clock.advance(125);
        const std::optional<CalDate> time = CalDate::parse(answer, CalFormat::Compact);
        if (time)
            rules.setMyInputCalDate(*time);
        return time || answer == "empty" ? kModalStopped : kModalAborted;
    }
    QString state() const { return (rules.onBusinessP() ? "In " : "Out ") + rules.prevTimeStr(); }
    // The records of the month files, each only where it is in its own month's.
    QStringList records() const {
        QStringList found;
        for (const QString& name : QDir(dir).entryList({"TLOG*.txt"}, QDir::Files)) {
            const QString text = QString(bytesOf(path(name))).replace(kLine, "\\1 \\2");
            found += text.split(u'\n').filter(QRegularExpression("^\\w+ " + name.mid(4, 6)));
        }
        return found;
    }
};

// The saved state, January's and February's files (null: none), February rewritten while open
// (null: not), and the state then held and saved.
struct Follow {
    QString saved, january, february, later, expected;
};

// Months, sync tools' conflict copies and a Latin-1 comment that is no UTF-8.
const QMap<QString, QByteArray> kOld{
    {"TLOG200401.txt", punches({"20040105090000", "20040105170000"}).toLatin1()},
    {"TLOG200402.txt", punches({"20040210090000", "20040210180000", "20040220090000"}).toLatin1()},
    {"TLOG200402.sync-conflict-20040211-101010-ABCDEFG.txt",
     punches({"20040211090000"}).toLatin1()},
    {"TLOG200403 (conflicted copy 2004-03-02).txt", punches({"20040301090000"}).toLatin1()},
    {"TLOG200312.txt", "# Caf\xe9 \xff\n" + punches({"20031201090000"}).toLatin1()},
};
const QString kConflict("TLOG200402.sync-conflict-20040220-120000-FENNICK.txt");

void fill(const QString& dir, const QMap<QString, QByteArray>& files) {
    QDir().mkpath(dir);
    for (auto it = files.begin(); it != files.end(); ++it) {
        put(dir + u'/' + it.key(), it.value());
        ::chmod(QFile::encodeName(dir + u'/' + it.key()).constData(), 0600);
    }
}

// A home with the old folder and its writers' lock.
struct MoveHome : SessionHome {
    const QString& from = logs;
    MoveHome() {
        fill(logs, kOld);
        put(logs + "/.fennick.lock", "");
    }
    QString chosen() const {
        return QSettings(settingsPath, QSettings::IniFormat).value(kLogFolderKey).toString();
    }
};

// A move to `to` (under the home) holding `there` as its February; `result` is where the old
// February lands, or "! " and the path a failure names; the move meets `fault` or broken settings.
struct Move {
    QString to;
    QByteArray there;
    QString result;
    FailingDisk::Fault fault = FailingDisk::None;
    bool settingsBroken = false;
};

// The log folder chosen in the settings, XDG_DATA_HOME and whether ~/Library/fennick exists, and
// the folder the log is then found in (H: the home).
struct Place {
    QString chosen, dataHome, expected;
    bool legacyExists = false;
};

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }
    void cleanup() { allowUnnamedTempFiles(true); }

    // A subdirectory counts like a file, any decimal digits do; names differing only in
    // letter case are neither indexed nor written.
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

    // A write removes its month's temporary files older than an hour, not younger ones.
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

    // Without a folder no file is made anywhere, not even at "/".
    void noFolder() {
        Fixture f;
        TimeLogStore none(std::nullopt, f.clock, [&f](const QString& l) { f.logged << l; });
        none.checkLogFile();
        QVERIFY(!none.getLogFileDic() && !none.logFilePathStr());
        QVERIFY(!none.appendPunch(f.clock.now(), f.clock.now(), PunchKind::CheckIn));
        QCOMPARE(f.logged, QStringList{"File:(none) creation failed."});
    }

    // A file added by hand is written though unindexed; a deleted earlier month is reported,
    // not made again; the current month's is made again and the index rebuilt.
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
        QCOMPARE(f.logged, QStringList{"File:~/TLOG200401.txt can not read."});
        QVERIFY(!QFile::exists(f.path("TLOG200401.txt")));
        QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200401", "200402"}));
        QVERIFY(QFile::remove(f.path("TLOG200402.txt")));
        f.store.checkLogFile();
        QVERIFY(f.punch("20040215093000"));
        QCOMPARE(bytesOf(f.path("TLOG200402.txt")), kRecord);
        QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200312", "200402"}));
    }

    void append_data() {
        QTest::addColumn<Append>("a");
        const QByteArray r = kRecord, u = "\xc3\xbc\n" + r;
        const QByteArray bad = QByteArrayLiteral("\xc3(\0\x80\n\0\xff");
        const char* notRead = "File:%1 can not read.";
        const char* notWritten = "File:%1 write error!";
        const QByteArray big = QByteArray(9999, '#') + '\n';
        QTest::newRow("glued record") << Append{Plain, "a b CheckOut: 1", "a b CheckOut: 1\n" + r};
        QTest::newRow("invalid UTF-8 and NULs kept") << Append{Plain, bad, bad + '\n' + r};
        QTest::newRow("UTF-16LE") << Append{Plain, QByteArray("\xff\xfe\xfc\0\n\0", 6), u};
        QTest::newRow("UTF-16BE, no last LF") << Append{Plain, QByteArray("\xfe\xff\0\xfc", 4), u};
        // Starts like UTF-16 but is none: its bytes stay as they are.
        const QByteArray odd = QByteArray("\xff\xfe") + "ab\n";
        const QByteArray lone = QByteArray("\xff\xfe\x00\xd8", 4) + "a\n";
        QTest::newRow("FF FE, odd length") << Append{Plain, odd, odd + r};
        QTest::newRow("FF FE, lone surrogate") << Append{Plain, lone, lone + r};
        QTest::newRow("symbolic link") << Append{Link, "y\n", "y\n" + r};
        QTest::newRow("directory for file") << Append{DirectoryAsFile, {}, {}, notRead, {}, ""};
        QTest::newRow("FIFO for file") << Append{Fifo, {}, {}, notRead, {}, ""};
        QTest::newRow("file for directory")
            << Append{FileAsDirectory, "x\n", {}, "File:%1 creation failed.", {}, ""};
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
        fault("failed sync", FailingDisk::FailedSync, "write fsync");
        fault("failed rename", FailingDisk::FailedRename, "write fsync rename");
        fault("failed rename, named", FailingDisk::FailedRename, "write fsync rename", false);
    }
    // Data synced before the rename, the folder after, mode and link kept. A failure logs one
    // line and leaves the bytes, the folder listing and the store's state as they were.
    void append() {
        QFETCH(Append, a);
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
        const QString logged = QString(a.logged).replace("%1", "~/TLOG200402.txt");
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

    // A writer killed at a random moment leaves each month file its old bytes plus whole
    // records in order, and at most its own named temporary files.
    void killedAppends() {
        TempLogFolder tmp;
        const QStringList months{tmp.path("TLOG200402.txt"), tmp.path("TLOG200401.txt")};
        const QByteArray old = punches({"20040105090000"}).toUtf8().repeated(4500);
        QList<QByteArray> files{old, old};
        QVERIFY(put(months[0], old) && put(months[1], old));
        const FixedClock clock(punchTime(0));
        QRandomGenerator rng(20040215);
        int changed = 0;
        for (int kill = 0; kill < 300; ++kill) {
            const pid_t child = ::fork();
            if (child == 0) {
                allowUnnamedTempFiles(kill % 2 == 0);
                TimeLogStore store(tmp.dir, clock, [](const QString& l) { qWarning() << l; });
                for (int k = 0; store.appendPunch(punchTime(k), punchTime(k), PunchKind::CheckIn);)
                    ++k;
                ::_exit(3);
            }
            ::usleep(useconds_t(rng.bounded(8000)));
            ::kill(child, SIGKILL);
            int status = 0;
            QVERIFY(::waitpid(child, &status, 0) == child && WIFSIGNALED(status));
            const QList<QByteArray> found{bytesOf(months[0]), bytesOf(months[1])};
            QList<QByteArray> expected = files;
            for (int k = 0; expected != found && expected[k % 2].size() < found[k % 2].size(); ++k)
                expected[k % 2] +=
                    makeRecordLine(punchTime(k), PunchKind::CheckIn, punchTime(k)).toLatin1();
            QVERIFY2(expected == found, qPrintable(QString("kill %1").arg(kill)));
            changed += found != files;
            files = found;
        }
        QVERIFY2(changed > 30, qPrintable(QString("only %1 kills after a record").arg(changed)));
        const QRegularExpression ownTemp("^\\.TLOG20040[12]\\.txt\\.tmp[a-z0-9]{8}$");
        QCOMPARE(listing(tmp.dir).size(), 2 + listing(tmp.dir).filter(ownTemp).size());
    }

    // A press from `before` and what follows in order. The pressed punch carries the moment
    // of the press however long the dialog was open; a failed write changes no state.
    void press_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("checkIn");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<FailingDisk::Fault>("fault");
        const QString L("20040215090000"), in("In 20040215180010"), out("Out 20040215180010");
        const auto row = [](const char* name, const QString& before, bool checkIn,
                            const QStringList& steps, FailingDisk::Fault fault = {}) {
            QTest::newRow(name) << before << checkIn << steps << fault;
        };
        row("out, last punch, in", "Out " + L, true, {in});
        row("in, no last punch, in", "In ", true, {in});
        row("in, last punch, in, confirmed", "In " + L, true,
            {"ask in 20040215173000", "Out 20040215173000", in});
        row("in, last, in, cancel", "In " + L, true, {"ask in no"});
        row("in, last, in, no time", "In " + L, true, {"ask in empty"});
        row("in, last punch, out", "In " + L, false, {out});
        row("out, no last punch, out", "Out ", false, {"beep"});
        row("out, last punch, out, confirmed", "Out " + L, false, {"ask out " + L, "In " + L, out});
        row("out, last, out, cancel", "Out " + L, false, {"ask out no"});
        // A check-out forgotten on January's last evening goes into its file.
        row("month end", "In 20040131090000", true,
            {"ask in 20040131180000", "Out 20040131180000", in});
        // The forgotten punch cannot be recorded, the pressed one still is.
        row("first record fails", "Out 20031231090000", false,
            {"ask out 20031231120000", "File:~/TLOG200312.txt can not read.", out});
        const QString full("File:~/TLOG200402.txt write error!");
        row("disk full", "In " + L, true, {"ask in 20040215173000", full, full},
            FailingDisk::NoSpace);
        row("disk full, nothing forgotten", "Out " + L, true, {full}, FailingDisk::NoSpace);
    }
    void press() {
        QFETCH(QString, before);
        QFETCH(bool, checkIn);
        QFETCH(QStringList, steps);
        QFETCH(FailingDisk::Fault, fault);
        Rules f;
        const FailingDisk disk(fault);
        f.rules.setOnBusinessP(before.startsWith("In"));
        f.rules.setPrevTimeStr(before.section(' ', 1));
        f.answer = steps.filter(QRegularExpression("^ask ")).value(0).section(' ', 2);
        checkIn ? f.rules.enterLogIn() : f.rules.enterLogOut();
        const QStringList records = steps.filter(kStep);
        QCOMPARE(f.logged, steps);
        QCOMPARE(f.records(), records);
        QCOMPARE(f.state(), records.isEmpty() ? before : records.last());
    }

    // The state follows and saves the newest record of the newest month file holding one
    // (null: no file; `later` rewrites February while open); a log without records leaves it.
    void followLog_data() {
        QTest::addColumn<Follow>("f");
        const QString none, jan = punches({"20040131090000"});
        const QString day = punches({"20040214090000", "20040214180000"});
        const QString in3 = day + punches({"20040215090000"});
        const QString in("In 20040215090000"), out("Out 20040214180000");
        QTest::newRow("last punch deleted while closed") << Follow{in, jan, day, none, out};
        QTest::newRow("last punch deleted while open") << Follow{in, none, in3, day, out};
        QTest::newRow("appended by another writer")
            << Follow{in, none, in3, in3 + punches({"20040215170000"}, true), "Out 20040215170000"};
        QTest::newRow("newest month file empty") << Follow{out, jan, "", none, "In 20040131090000"};
        QTest::newRow("empty folder") << Follow{in, none, none, none, in};
        QTest::newRow("only a comment") << Follow{in, none, "# soon\n", none, in};
    }
    void followLog() {
        QFETCH(Follow, f);
        SessionHome home;
        QSettings settings(home.settingsPath, QSettings::IniFormat);
        settings.setValue(kOnBusinessKey, f.saved.startsWith("In"));
        settings.setValue(kPrevTimeStrKey, f.saved.section(u' ', 1));
        settings.sync();
        QVERIFY(f.january.isNull() || put(home.file("200401"), f.january.toUtf8()));
        QVERIFY(f.february.isNull() || put(home.file("200402"), f.february.toUtf8()));
        home.open();
        if (!f.later.isNull()) {
            QCOMPARE(home.state(), f.saved);
            QVERIFY(put(home.file("200402"), f.later.toUtf8()));
            QVERIFY(home.session->followLog());
        }
        QCOMPARE(home.state(), f.expected);
        QCOMPARE(home.savedState(), f.expected);
    }

    // Where the log lives, and what a first start creates.
    void resolverOrder_data() {
        QTest::addColumn<Place>("p");
        const auto row = [](const char* name, const Place& p) { QTest::newRow(name) << p; };
        row("chosen wins over an existing Library", {"/srv/sync/work", "", "/srv/sync/work", true});
        row("chosen with ~", {"~/Sync/fennick", "", "H/Sync/fennick", true});
        row("existing Library kept", {"", "/d", "H/Library/fennick", true});
        row("fresh home, XDG_DATA_HOME", {"", "/d", "/d/fennick"});
        row("fresh home, no XDG_DATA_HOME", {"", "", "H/.local/share/fennick"});
        row("relative XDG_DATA_HOME is ignored", {"", "rel", "H/.local/share/fennick"});
        row("blank choice is no choice", {"  ", "", "H/.local/share/fennick"});
    }
    void resolverOrder() {
        QFETCH(Place, p);
        QTemporaryDir temp;
        const QString home = temp.path();
        if (p.legacyExists)
            QVERIFY(QDir().mkpath(home + "/Library/fennick"));
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", p.dataHome.toUtf8());
        const QString folder = resolveLogFolder(p.chosen, home);
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(folder, p.expected.replace(QRegularExpression("^H"), home));
    }

    // A new user's first start makes the XDG folder only, private.
    void firstStartMakesOnlyTheDataFolder() {
        SessionHome h;
        QVERIFY(QDir(h.home + "/Library").removeRecursively());
        qunsetenv("XDG_DATA_HOME");
        h.open();
        const QString folder = h.home + "/.local/share/fennick";
        QCOMPARE(h.session->store().logsDirPathStr().value_or(QString()), folder);
        QCOMPARE(modeOf(folder), 0700);
        QVERIFY(!QFileInfo::exists(h.home + "/Library"));
        h.session->timeClock().enterLogIn();
        QVERIFY(QFileInfo::exists(folder + "/TLOG200402.txt"));
    }

    // A move gives the new folder every file byte for byte, private, and never overwrites a
    // month it holds already. A failure before the switch leaves the old folder, the settings
    // and the new folder as they were, and names the file and the reason.
    void move_data() {
        QTest::addColumn<Move>("m");
        const auto row = [](const char* name, const Move& m) { QTest::newRow(name) << m; };
        const QByteArray feb = kOld["TLOG200402.txt"], none;
        row("missing parents", {"a/b/logs", none, "TLOG200402.txt"});
        row("same bytes there", {"sync", feb, "TLOG200402.txt"});
        row("other bytes there", {"sync", punches({"20040201080000"}).toLatin1(), kConflict});
        row("disk full", {"new/logs", none, "! new/logs/TLOG200312.txt", FailingDisk::NoSpace});
        row("failed sync, folder with a month",
            {"sync", "2004/02/01\n", "! sync/TLOG200312.txt", FailingDisk::FailedSync});
        row("read-only", {"new", none, "! new/TLOG200312.txt", FailingDisk::ReadOnly});
        row("settings not written", {"new", none, "! settings.ini", FailingDisk::None, true});
        row("the old folder itself", {"Library/fennick", none, "! Library/fennick"});
        row("inside the old folder", {"Library/fennick/sub", none, "! Library/fennick/sub"});
    }
    void move() {
        QFETCH(Move, m);
        MoveHome h;
        const QString target = h.home + u'/' + m.to;
        if (!m.there.isNull())
            fill(target, {{"TLOG200402.txt", m.there}});
        if (m.settingsBroken)
            QVERIFY(QDir().mkpath(h.settingsPath)); // a folder where the file goes
        const QStringList oldListing = listing(h.from), targetListing = listing(target);
        const bool targetExisted = existsAt(target);
        Settings settings(openSettingsStore(h.settingsPath), {});
        settings.setString(kLogFolderKey, "~/Library/fennick");
        QVERIFY(settings.synchronize() != m.settingsBroken);
        std::optional<FailingDisk> disk;
        if (m.fault)
            disk.emplace(m.fault);
        const FolderMove move = moveLogFolder(settings, h.from, target, h.clock);
        disk.reset();
        if (m.result.startsWith("! ")) {
            QVERIFY(!move.switched && move.failure && !move.failure->reason.isEmpty());
            QCOMPARE(move.failure->path, h.home + u'/' + m.result.mid(2));
            QCOMPARE(listing(h.from), oldListing);
            QCOMPARE(filesIn(h.from, "TLOG*.txt"), kOld);
            QCOMPARE(settings.stringForKey(kLogFolderKey), "~/Library/fennick");
            QVERIFY(m.settingsBroken || h.chosen() == "~/Library/fennick");
            QCOMPARE(listing(target), targetListing);
            QCOMPARE(existsAt(target), targetExisted);
            return;
        }
        QMap<QString, QByteArray> expected = kOld;
        if (!m.there.isNull())
            expected["TLOG200402.txt"] = m.there;
        expected[m.result] = kOld["TLOG200402.txt"]; // kept, or as the conflict copy
        QVERIFY(move.switched && !move.failure);
        QCOMPARE(filesIn(target, "TLOG*.txt"), expected);
        for (const QString& name : expected.keys())
            QCOMPARE(modeOf(target + u'/' + name), 0600);
        QCOMPARE(modeOf(h.home + "/a"), m.to.startsWith("a/") ? 0700 : -1);
        QCOMPARE(h.chosen(), target);
        QCOMPARE(listing(h.from), QStringList{".fennick.lock"});
        QVERIFY(!listing(target).filter(".moving").size());
    }

    // Killed at any moment, a move leaves one complete folder where a new
    // start looks; run again, it completes.
    void killedMoveLosesNothing() {
        QRandomGenerator rng(20040220);
        for (int round = 0; round < 30; ++round) {
            MoveHome h;
            const QString to = h.home + "/Sync/fennick";
            QProcess helper;
            helper.start(FENNICK_MOVE_HELPER, {h.settingsPath, h.from, to});
            QVERIFY(helper.waitForStarted());
            ::usleep(useconds_t(rng.bounded(150000)));
            helper.kill();
            helper.waitForFinished();
            const QString found = resolveLogFolder(h.chosen(), h.home);
            QCOMPARE(filesIn(found, "TLOG*.txt"), kOld);

            helper.start(FENNICK_MOVE_HELPER, {h.settingsPath, h.from, to});
            QVERIFY(helper.waitForFinished());
            QCOMPARE(helper.exitCode(), 0);
            QCOMPARE(resolveLogFolder(h.chosen(), h.home), to);
            QCOMPARE(filesIn(to, "TLOG*.txt"), kOld);
            QVERIFY(filesIn(h.from, "TLOG*.txt").isEmpty());
        }
    }

    // A punch that waited for the old folder's lock while the log moved
    // goes into the new folder.
    void punchAfterMoveFollows() {
        SessionHome h;
        put(h.file("200402"), punches({"20040210090000", "20040210180000"}).toLatin1());
        QProcess helper;
        helper.start(FENNICK_PUNCH_HELPER, {h.home, h.settingsPath, "1", "20040220120000", "60"});
        QVERIFY(helper.waitForReadyRead(10000));
        QCOMPARE(helper.readLine(), "open\n");
        Settings settings(openSettingsStore(h.settingsPath), {});
        const QString to = h.home + "/moved";
        QVERIFY(moveLogFolder(settings, h.logs, to, h.clock).switched);
        helper.write("go\n");
        QVERIFY(helper.waitForFinished());
        QCOMPARE(filesIn(h.logs, "TLOG*.txt"), (QMap<QString, QByteArray>{}));
        QCOMPARE(recordLines(bytesOf(to + "/TLOG200402.txt")).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
