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

    // The new folder gets every file byte for byte, private; a month it
    // holds already is never overwritten.
    void moveKeepsEveryByte_data() {
        QTest::addColumn<QString>("to");
        QTest::addColumn<QByteArray>("there"); // TLOG200402.txt in the new folder
        QTest::addColumn<QString>("february"); // where the old February lands
        const QByteArray feb = kOld["TLOG200402.txt"];
        QTest::newRow("missing parents") << "a/b/logs" << QByteArray() << "TLOG200402.txt";
        QTest::newRow("same bytes there") << "sync" << feb << "TLOG200402.txt";
        QTest::newRow("other bytes there")
            << "sync" << punches({"20040201080000"}).toLatin1() << kConflict;
    }
    void moveKeepsEveryByte() {
        QFETCH(QString, to);
        QFETCH(QByteArray, there);
        QFETCH(QString, february);
        MoveHome h;
        const QString target = h.home + u'/' + to;
        QMap<QString, QByteArray> expected = kOld;
        if (!there.isNull()) {
            fill(target, {{"TLOG200402.txt", there}});
            expected["TLOG200402.txt"] = there;
        }
        expected[february] = kOld["TLOG200402.txt"]; // kept, or as the conflict copy

        Settings settings(openSettingsStore(h.settingsPath), {});
        const FolderMove move = moveLogFolder(settings, h.from, target, h.clock);
        QVERIFY(move.switched);
        QVERIFY(!move.failure);
        QCOMPARE(filesIn(target, "TLOG*.txt"), expected);
        for (const QString& name : expected.keys())
            QCOMPARE(modeOf(target + u'/' + name), 0600);
        QCOMPARE(modeOf(h.home + "/a"), to.startsWith("a/") ? 0700 : -1);
        QCOMPARE(h.chosen(), target);
        QCOMPARE(listing(h.from), QStringList{".fennick.lock"});
        QVERIFY(!listing(target).filter(".moving").size());
    }

    // A failure before the switch leaves the old folder, the settings and the
    // new folder as they were, and names the file and the reason.
    void failureChangesNothing_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("settingsBroken");
        QTest::addColumn<QString>("named"); // the file the failure names
        const auto row = [](const char* name, FailingDisk::Fault fault, const char* to,
                            const char* named, bool settingsBroken = false) {
            QTest::newRow(name) << int(fault) << QString(to) << settingsBroken << QString(named);
        };
        row("disk full", FailingDisk::NoSpace, "new/logs", "new/logs/TLOG200312.txt");
        row("failed sync, folder with a month", FailingDisk::FailedSync, "sync",
            "sync/TLOG200312.txt");
        row("read-only", FailingDisk::ReadOnly, "new", "new/TLOG200312.txt");
        row("settings not written", FailingDisk::None, "new", "settings.ini", true);
        row("the old folder itself", FailingDisk::None, "Library/fennick", "Library/fennick");
        row("inside the old folder", FailingDisk::None, "Library/fennick/sub",
            "Library/fennick/sub");
    }
    void failureChangesNothing() {
        QFETCH(int, fault);
        QFETCH(QString, to);
        QFETCH(bool, settingsBroken);
        QFETCH(QString, named);
        MoveHome h;
        const QString target = h.home + u'/' + to;
        const QMap<QString, QByteArray> inSync{{"TLOG200402.txt", "2004/02/01\n"}};
        if (to == "sync")
            fill(target, inSync);
        if (settingsBroken)
            QVERIFY(QDir().mkpath(h.settingsPath)); // a folder where the file goes
        const QStringList oldListing = listing(h.from);
        Settings settings(openSettingsStore(h.settingsPath), {});
        settings.setString(kLogFolderKey, "~/Library/fennick");
        QVERIFY(settings.synchronize() != settingsBroken);

        const FailingDisk disk{FailingDisk::Fault(fault)};
        const FolderMove move = moveLogFolder(settings, h.from, target, h.clock);
        QVERIFY(!move.switched);
        QVERIFY(move.failure);
        QCOMPARE(move.failure->path, h.home + u'/' + named);
        QVERIFY(!move.failure->reason.isEmpty());
        QCOMPARE(listing(h.from), oldListing);
        QCOMPARE(filesIn(h.from, "TLOG*.txt"), kOld);
        QCOMPARE(settings.stringForKey(kLogFolderKey), "~/Library/fennick");
        if (!settingsBroken)
            QCOMPARE(h.chosen(), "~/Library/fennick");
        if (to == "sync")
            QCOMPARE(listing(target), QStringList(inSync.keys()));
        else if (!to.startsWith("Library"))
            QVERIFY(!existsAt(target));
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
