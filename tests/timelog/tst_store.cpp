#include "support.h"
#include "timelog/fileops.h"
#include "timelog/store.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fennick;
using namespace fennick::test;

namespace {

// The record of a check-in punched and written at 2004/02/15 09:30:00.
const QByteArray kRecord("2004/02/15 09:30:00\tCheckIn:\t20040215093000\n");

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(native(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// A tmpfs mounted over a directory for one test; only root may mount one.
class Tmpfs {
public:
    explicit Tmpfs(const QString& dir) : dir_(native(dir)) {
        mounted_ = ::mount("tmpfs", dir_.constData(), "tmpfs", 0, "size=64k,mode=0700") == 0;
    }
    ~Tmpfs() {
        if (mounted_)
            ::umount2(dir_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() {
        return ::mount(nullptr, dir_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // Fills the disk with a hidden file of its own until exactly `free` bytes
    // stay available.
    bool leaveFree(qint64 free) {
        const int fd = ::open((dir_ + "/.filler").constData(), O_WRONLY | O_CREAT, 0600);
        const QByteArray page(4096, 'f');
        qint64 size = 0;
        while (::write(fd, page.constData(), page.size()) == page.size())
            size += page.size();
        const bool cut = ::ftruncate(fd, size - free) == 0;
        ::close(fd);
        struct statvfs vfs {};
        return cut && ::statvfs(dir_.constData(), &vfs) == 0 &&
               qint64(vfs.f_bavail * vfs.f_frsize) == free;
    }

private:
    QByteArray dir_;
    bool mounted_ = false;
};

// A log directory in a fresh temporary folder, a clock at 2004/02/15 09:30:00
// and the log lines the store writes.
struct Fixture {
    QTemporaryDir tmp;
    QString dir = tmp.path() + "/logs";
    FixedClock clock{at("20040215093000")};
    QStringList logged;
    LogSink sink = [this](const QString& line) { logged << line; };
    TimeLogStore store{dir, clock, sink};

    Fixture() { QDir().mkpath(dir); }
    QString path(const char* name) const { return dir + '/' + QLatin1String(name); }
    bool punch(const char* when) {
        return store.appendPunch(at(when), clock.now(), PunchKind::CheckIn);
    }
};

const char* const kNoMount = "mounting a tmpfs needs root; run as root to cover full and "
                             "read-only disks";

enum Failure { DirectoryAsFile, DanglingLink, Fifo, FileAsDirectory, ReadOnly, FullDisk };

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private:
    void failedAppendRows(bool unnamed);

private slots:
    void initTestCase() {
        qputenv("TZ", "Europe/Berlin");
        timeZoneChanged();
    }
    void index_data();
    void index();
    void noIndex();
    void unlistableDirectory();
    void currentMonthFile();
    void currentMonthFileFails_data();
    void currentMonthFileFails();
    void firstPunchOfMonth();
    void forgottenPunchInOtherMonth();
    void fileMissingFromIndex();
    void deletedFiles();
    void failedAppend_data();
    void failedAppend();
    void cleanup() { allowUnnamedTempFiles(true); }
    void encodings_data();
    void encodings();
    void modesAndLinks();
    void leftoverTemporaryFiles();
};

// Entries are "f:" files, "d:" directories and "l:" dangling links.
void TestStore::index_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("index");
    QTest::newRow("eight names") << QStringList{"f:TLOG200402.txt", "f:TLOG200403.txt",
                                                "f:TLOG999999.txt", "f:TLOG20040.txt",
                                                "f:tlog200402.txt", "f:TLOG200402.TXT",
                                                "f:TLOGabcdef.txt", "f:TLOG 20402.txt"}
                                 << QStringList{"200402=TLOG200402.txt", "200403=TLOG200403.txt",
                                                "999999=TLOG999999.txt"};
    QTest::newRow("every kind of entry")
        << QStringList{"d:TLOG200405.txt", "l:TLOG200406.txt", "f:notes.txt",
                       "f:.TLOG200407.txt.tmpabcdefgh"}
        << QStringList{"200405=TLOG200405.txt", "200406=TLOG200406.txt"};
    QTest::newRow("Unicode decimal digits")
        << QStringList{QString::fromUtf8("f:TLOG٢٠٠٤٠٢.txt"),
                       QString::fromUtf8("f:TLOG２００４０.txt"), "f:TLOG2004021.tx",
                       "f:TLOG20040.2txt"}
        << QStringList{QString::fromUtf8("٢٠٠٤٠٢=TLOG٢٠٠٤٠٢.txt")};
}

void TestStore::index() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, index);
    Fixture f;
    for (const QString& entry : entries) {
        const QString path = f.dir + '/' + entry.mid(2);
        if (entry.startsWith("d:"))
            QVERIFY(QDir().mkdir(path));
        else if (entry.startsWith("l:"))
            QVERIFY(QFile::link(f.dir + "/nowhere", path));
        else
            QVERIFY(put(path, "x"));
    }
    QStringList found;
    const std::optional<MonthIndex> built = f.store.getLogFileDic();
    QVERIFY(built);
    for (auto it = built->begin(); it != built->end(); ++it)
        found << it.key() + '=' + it.value();
    QCOMPARE(found, index);
}

void TestStore::noIndex() {
    Fixture f;
    TimeLogStore noPath(std::nullopt, f.clock, f.sink);
    QVERIFY(!noPath.getLogFileDic());
    TimeLogStore missing(f.dir + "/missing", f.clock, f.sink);
    missing.checkLogFileDic();
    QVERIFY(!missing.myLogFileDic());
    QVERIFY(put(f.dir + "/plain", "x"));
    QVERIFY(!TimeLogStore(f.dir + "/plain", f.clock, f.sink).getLogFileDic());
    // An absent index is built at the next chance; a present one is kept.
    QVERIFY(QDir().mkdir(f.dir + "/missing"));
    missing.checkLogFileDic();
    QVERIFY(missing.myLogFileDic() && missing.myLogFileDic()->isEmpty());
    QVERIFY(put(f.dir + "/missing/TLOG200402.txt", ""));
    missing.checkLogFileDic();
    QVERIFY(missing.myLogFileDic()->isEmpty());
    QVERIFY(f.logged.isEmpty());
}

// A directory that exists but cannot be listed gives an empty index, not
// none. Root lists any directory, so the listing runs as nobody.
void TestStore::unlistableDirectory() {
    Fixture f;
    QVERIFY(put(f.path("TLOG200402.txt"), ""));
    QCOMPARE(::chmod(native(f.tmp.path()).constData(), 0711), 0);
    QCOMPARE(::chmod(native(f.dir).constData(), 0311), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        f.store.checkLogFileDic();
        const auto& index = f.store.myLogFileDic();
        ::_exit(index && index->isEmpty() ? 0 : 1);
    }
    int status = -1;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::chmod(native(f.dir).constData(), 0700);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(f.store.getLogFileDic()->size(), 1);
}

void TestStore::currentMonthFile() {
    Fixture f;
    f.store.checkLogFileDic();
    f.store.checkLogFile();
    const QString path = f.path("TLOG200402.txt");
    QCOMPARE(f.store.logFilePathStr(), std::optional(path));
    QCOMPARE(bytesOf(path), QByteArray(""));
    QCOMPARE(modeOf(path), 0600);
    QCOMPARE(f.store.myLogFileDic()->value("200402"), QString("TLOG200402.txt"));
    // A second call in the month changes nothing, not even an emptied index.
    QVERIFY(put(path, "kept"));
    f.store.dropLogFileDic();
    f.store.checkLogFile();
    QCOMPARE(bytesOf(path), QByteArray("kept"));
    QVERIFY(!f.store.myLogFileDic());
    QVERIFY(f.logged.isEmpty());
}

void TestStore::currentMonthFileFails_data() {
    QTest::addColumn<int>("failure");
    QTest::newRow("no log directory path") << -1;
    QTest::newRow("regular file where the directory must be") << int(FileAsDirectory);
    QTest::newRow("read-only file system") << int(ReadOnly);
}

void TestStore::currentMonthFileFails() {
    QFETCH(int, failure);
    Fixture f;
    std::unique_ptr<Tmpfs> fs;
    if (failure == FileAsDirectory) {
        QVERIFY(QDir(f.dir).removeRecursively() && put(f.dir, "not a directory"));
    } else if (failure == ReadOnly) {
        fs = std::make_unique<Tmpfs>(f.dir);
        if (!fs->mounted())
            QSKIP(kNoMount);
        QVERIFY(fs->makeReadOnly());
    }
    TimeLogStore store(failure < 0 ? std::nullopt : std::optional(f.dir), f.clock, f.sink);
    store.checkLogFileDic();
    const std::optional<MonthIndex> indexBefore = store.myLogFileDic();
    store.checkLogFile();
    const QString path = f.path("TLOG200402.txt");
    QCOMPARE(store.logFilePathStr(), failure < 0 ? std::nullopt : std::optional(path));
    QCOMPARE(f.logged,
             QStringList{
                 QString("File:%1 creation failed.").arg(failure < 0 ? QString("(none)") : path)});
    QCOMPARE(store.myLogFileDic(), indexBefore);
    QVERIFY(!store.appendPunch(f.clock.now(), f.clock.now(), PunchKind::CheckIn));
    QCOMPARE(f.logged.size(), 1);
}

void TestStore::firstPunchOfMonth() {
    Fixture f;
    f.clock.set(at("20040301080000"));
    QVERIFY(put(f.path("TLOG200402.txt"), "old\n"));
    f.store.checkLogFileDic();
    f.store.checkLogFile();
    QVERIFY(f.store.myLogFileDic()->contains("200403"));
    QVERIFY(f.punch("20040301080000"));
    QCOMPARE(bytesOf(f.path("TLOG200403.txt")),
             QByteArray("2004/03/01 08:00:00\tCheckIn:\t20040301080000\n"));
    QCOMPARE(bytesOf(f.path("TLOG200402.txt")), QByteArray("old\n"));
}

// A forgotten punch of the previous month goes into that month's file, which
// is created and indexed; the current month's file is left alone.
void TestStore::forgottenPunchInOtherMonth() {
    Fixture f;
    f.clock.set(at("20040301080000"));
    f.store.checkLogFileDic();
    f.store.checkLogFile();
    QVERIFY(f.store.appendPunch(at("20040229180000"), f.clock.now(), PunchKind::CheckOut));
    QCOMPARE(bytesOf(f.path("TLOG200402.txt")),
             QByteArray("2004/03/01 08:00:00\tCheckOut:\t20040229180000\n"));
    QCOMPARE(bytesOf(f.path("TLOG200403.txt")), QByteArray());
    QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200402", "200403"}));
    QCOMPARE(modeOf(f.path("TLOG200402.txt")), 0600);
}

void TestStore::fileMissingFromIndex() {
    Fixture f;
    f.store.checkLogFileDic();
    f.store.checkLogFile();
    QVERIFY(put(f.path("TLOG200401.txt"), "# added by hand"));
    f.store.checkLogFile();
    QVERIFY(f.punch("20040131120000"));
    QCOMPARE(bytesOf(f.path("TLOG200401.txt")),
             QByteArray("# added by hand\n2004/02/15 09:30:00\tCheckIn:\t20040131120000\n"));
    QVERIFY(!f.store.myLogFileDic()->contains("200401"));
    QVERIFY(f.punch("20031215120000")); // creates a file, so the index is built again
    QCOMPARE(f.store.myLogFileDic()->keys(), (QStringList{"200312", "200401", "200402"}));
}

void TestStore::deletedFiles() {
    Fixture f;
    QVERIFY(put(f.path("TLOG200401.txt"), "x\n"));
    QVERIFY(put(f.path("TLOG200402.txt"), "x\n"));
    f.store.checkLogFileDic();
    QVERIFY(QFile::remove(f.path("TLOG200402.txt")));
    f.store.checkLogFile();
    QVERIFY(f.punch("20040215093000"));
    QCOMPARE(bytesOf(f.path("TLOG200402.txt")), kRecord);
    QVERIFY(QFile::remove(f.path("TLOG200401.txt")));
    QVERIFY(!f.punch("20040131120000"));
    const QString earlier = f.path("TLOG200401.txt");
    QCOMPARE(f.logged, QStringList{"File:" + earlier + " can not read."});
    QVERIFY(!QFile::exists(earlier));
}

// Every case runs with unnamed and with named temporary files.
void TestStore::failedAppend_data() {
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QString>("logged"); // %1 is the month file's path
    QTest::addColumn<bool>("unnamed");
    for (const bool unnamed : {true, false})
        failedAppendRows(unnamed);
}

void TestStore::failedAppendRows(bool unnamed) {
    const QString cannotRead("File:%1 can not read.");
    const QString writeError("File:%1 write error!");
    const auto newRow = [unnamed](const char* name) -> QTestData& {
        return QTest::addRow("%s%s", name, unnamed ? "" : ", named temporary file");
    };
    newRow("directory where the file must be")
        << int(DirectoryAsFile) << 0 << 0ll << cannotRead << unnamed;
    newRow("FIFO where the file must be") << int(Fifo) << 0 << 0ll << cannotRead << unnamed;
    newRow("dangling link in the index") << int(DanglingLink) << 0 << 0ll << cannotRead << unnamed;
    newRow("regular file where the directory must be")
        << int(FileAsDirectory) << 0 << 0ll << QString() << unnamed;
    newRow("read-only file system") << int(ReadOnly) << 500 << 0ll << writeError << unnamed;
    newRow("full disk, 0 bytes free") << int(FullDisk) << 100 << 0ll << writeError << unnamed;
    newRow("full disk, 4 KiB free") << int(FullDisk) << 10000 << 4096ll << writeError << unnamed;
    newRow("full disk, almost enough") << int(FullDisk) << 10000 << 8192ll << writeError << unnamed;
    newRow("full disk, just enough") << int(FullDisk) << 10000 << 12288ll << "written" << unnamed;
}

// A failed append logs its line, leaves the month file byte for byte as it
// was and leaves no temporary file behind.
void TestStore::failedAppend() {
    QFETCH(int, failure);
    QFETCH(int, fileSize);
    QFETCH(qint64, freeBytes);
    QFETCH(QString, logged);
    QFETCH(bool, unnamed);
    allowUnnamedTempFiles(unnamed);
    Fixture f;
    const QString path = f.path("TLOG200402.txt");
    const QByteArray before = QByteArray(qMax(fileSize - 1, 0), '#') + '\n';
    QString watched = path;
    std::unique_ptr<Tmpfs> fs;
    if (failure == DirectoryAsFile) {
        QVERIFY(QDir().mkdir(path));
    } else if (failure == Fifo) {
        QCOMPARE(::mkfifo(native(path).constData(), 0600), 0);
    } else if (failure == DanglingLink) {
        QVERIFY(QFile::link(f.dir + "/nowhere", path));
    } else if (failure == FileAsDirectory) {
        QVERIFY(QDir(f.dir).removeRecursively() && put(f.dir, before));
        watched = f.dir;
    } else {
        fs = std::make_unique<Tmpfs>(f.dir);
        if (!fs->mounted())
            QSKIP(kNoMount);
        QVERIFY(put(path, before));
        QVERIFY(failure == ReadOnly ? fs->makeReadOnly() : fs->leaveFree(freeBytes));
    }
    f.store.checkLogFileDic();
    const QStringList entries = listing(f.dir);
    const QByteArray watchedBefore = bytesOf(watched);
    const bool written = f.punch("20040215093000");
    QCOMPARE(written, logged == "written");
    QCOMPARE(bytesOf(watched), written ? before + kRecord : watchedBefore);
    QCOMPARE(f.logged, written || logged.isEmpty() ? QStringList() : QStringList{logged.arg(path)});
    QCOMPARE(listing(f.dir), entries);
}

void TestStore::encodings_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray r = kRecord;
    QTest::newRow("empty") << QByteArray() << r;
    QTest::newRow("line feed at the end") << QByteArray("a\n") << "a\n" + r;
    QTest::newRow("unterminated last line")
        << QByteArray("a b CheckOut: 1") << "a b CheckOut: 1\n" + r;
    QTest::newRow("CRLF file without the last LF") << QByteArray("a\r\nb\r") << "a\r\nb\r\n" + r;
    QTest::newRow("invalid UTF-8 and NULs kept")
        << QByteArrayLiteral("\xc3(\0\x80 caf\xe9\n\0\xff")
        << QByteArrayLiteral("\xc3(\0\x80 caf\xe9\n\0\xff\n") + r;
    QTest::newRow("UTF-8 byte-order mark alone")
        << QByteArray("\xef\xbb\xbf") << "\xef\xbb\xbf" + r;
    QTest::newRow("UTF-16LE becomes UTF-8")
        << QByteArray("\xff\xfe\xfc\0\n\0", 6) << QByteArray("\xc3\xbc\n") + r;
    QTest::newRow("UTF-16BE without the last LF")
        << QByteArray("\xfe\xff\0\xfc", 4) << QByteArray("\xc3\xbc\n") + r;
}

void TestStore::encodings() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    Fixture f;
    QVERIFY(put(f.path("TLOG200402.txt"), before));
    f.store.checkLogFileDic();
    QVERIFY(f.punch("20040215093000"));
    QCOMPARE(bytesOf(f.path("TLOG200402.txt")), after);
}

// New files are private; a rewrite keeps the file's mode, and a month file
// that is a symbolic link stays one while its target gets the record.
void TestStore::modesAndLinks() {
    Fixture f;
    QVERIFY(put(f.path("TLOG200401.txt"), "x\n"));
    QCOMPARE(::chmod(native(f.path("TLOG200401.txt")).constData(), 0644), 0);
    QVERIFY(QDir().mkdir(f.tmp.path() + "/elsewhere"));
    const QString target = f.tmp.path() + "/elsewhere/real.txt";
    QVERIFY(put(target, "y\n"));
    QCOMPARE(::chmod(native(target).constData(), 0640), 0);
    QVERIFY(QFile::link("../elsewhere/real.txt", f.path("TLOG200402.txt")));
    f.store.checkLogFileDic();
    QVERIFY(f.punch("20040131120000"));
    QVERIFY(f.punch("20040215093000"));
    QCOMPARE(modeOf(f.path("TLOG200401.txt")), 0644);
    QCOMPARE(QFileInfo(f.path("TLOG200402.txt")).symLinkTarget(), target);
    QCOMPARE(bytesOf(target), "y\n" + kRecord);
    QCOMPARE(modeOf(target), 0640);
    QCOMPARE(listing(f.tmp.path() + "/elsewhere"), QStringList{"real.txt"});
}

// A temporary file left by a process killed before its rename is removed by a
// later append once it is an hour old; a recent one may still be in use.
void TestStore::leftoverTemporaryFiles() {
    Fixture f;
    const QString old = f.path(".TLOG200402.txt.tmpoldoldol");
    const QString recent = f.path(".TLOG200402.txt.tmprecentre");
    QVERIFY(put(f.path("TLOG200402.txt"), "") && put(old, "x") && put(recent, "x"));
    const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 7200, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, native(old).constData(), times, 0), 0);
    f.store.checkLogFileDic();
    QVERIFY(f.punch("20040215093000"));
    QCOMPARE(listing(f.dir), (QStringList{".TLOG200402.txt.tmprecentre", "TLOG200402.txt"}));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
