#include "shell/foldermove.h"
#include "shell/startup.h"
#include "support.h"
#include "timelog/logedit.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <unistd.h>

using namespace fennick;
using namespace fennick::test;

namespace {

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

} // namespace

class TestFolderMove : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // Where the log lives, and what a first start creates.
    void resolverOrder_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("legacyExists");
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* chosen, bool legacy, const char* data,
                            const char* expected) {
            QTest::newRow(name) << QString(chosen) << legacy << QString(data) << QString(expected);
        };
        row("chosen wins over an existing Library", "/srv/sync/work", true, "", "/srv/sync/work");
        row("chosen with ~", "~/Sync/fennick", true, "", "H/Sync/fennick");
        row("existing Library kept", "", true, "/d", "H/Library/fennick");
        row("fresh home, XDG_DATA_HOME", "", false, "/d", "/d/fennick");
        row("fresh home, no XDG_DATA_HOME", "", false, "", "H/.local/share/fennick");
        row("relative XDG_DATA_HOME is ignored", "", false, "rel", "H/.local/share/fennick");
        row("blank choice is no choice", "  ", false, "", "H/.local/share/fennick");
    }
    void resolverOrder() {
        QFETCH(QString, chosen);
        QFETCH(bool, legacyExists);
        QFETCH(QString, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir temp;
        const QString home = temp.path();
        if (legacyExists)
            QVERIFY(QDir().mkpath(home + "/Library/fennick"));
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
        const QString folder = resolveLogFolder(chosen, home);
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(folder, expected.replace(QRegularExpression("^H"), home));
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

QTEST_GUILESS_MAIN(TestFolderMove)
#include "tst_foldermove.moc"
