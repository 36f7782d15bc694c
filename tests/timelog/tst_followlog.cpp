#include "support.h"
#include "timelog/logedit.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <unistd.h>

using namespace fennick;
using namespace fennick::test;

namespace {

const QByteArray L1("2004/02/14 09:00:00\tCheckIn:\t20040214090000\n");
const QByteArray L2("2004/02/14 18:00:00\tCheckOut:\t20040214180000\n");
const QByteArray L3("2004/02/15 09:00:00\tCheckIn:\t20040215090000\n");
const QByteArray L4("2004/02/15 17:00:00\tCheckOut:\t20040215170000\n");

// The record lines of every month file of a folder, file by file.
QList<QByteArray> recordsIn(const QString& logs) {
    QList<QByteArray> found;
    for (const QString& name : QDir(logs).entryList({"TLOG*.txt"}, QDir::Files, QDir::Name)) {
        const QByteArray bytes = bytesOf(logs + u'/' + name);
        for (const RecordLine& line : recordLines(bytes))
            found << lineOf(bytes, line);
    }
    return found;
}

QString stateOfLog(const QString& logs) {
    const std::optional<NewestRecord> newest = newestRecord(LogFolder::scanned(logs));
    return newest ? SessionHome::stateOf(newest->kind == PunchKind::CheckIn, newest->timeToken)
                  : QString();
}

// The helper writing on `home` from `start`, `step` seconds a press, once
// its session is open.
bool startHelper(QProcess& helper, const SessionHome& home, const QString& settings, int count,
                 const QString& start, int step) {
    helper.start(FENNICK_PUNCH_HELPER,
                 {home.home, settings, QString::number(count), start, QString::number(step)});
    return helper.waitForReadyRead(10000) && helper.readLine() == "open\n";
}

// Lets an open helper press.
bool go(QProcess& helper) {
    return helper.write("go\n") == 3 && helper.waitForBytesWritten(10000);
}

} // namespace

class TestFollowLog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

    // The settings hold `saved`; the log holds `january` and `february` (a
    // null one: no file) when the session opens and `later` afterwards. The
    // state then follows the newest record of the newest month file that
    // holds one, and is saved; a log without records leaves it as it was.
    void stateFollowsLog_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QByteArray>("january");
        QTest::addColumn<QByteArray>("february");
        QTest::addColumn<QByteArray>("later");
        QTest::addColumn<QString>("expected");
        const QByteArray none, jan("2004/01/31 09:00:00\tCheckIn:\t20040131090000\n");
        const QString in3("In 20040215090000"), out2("Out 20040214180000");
        QTest::newRow("last punch deleted while closed") << in3 << jan << L1 + L2 << none << out2;
        QTest::newRow("last punch deleted while open")
            << in3 << none << L1 + L2 + L3 << L1 + L2 << out2;
        QTest::newRow("appended by another writer")
            << in3 << none << L1 + L2 + L3 << L1 + L2 + L3 + L4 << "Out 20040215170000";
        QTest::newRow("newest month file empty")
            << out2 << jan << QByteArray("") << none << "In 20040131090000";
        QTest::newRow("empty folder") << in3 << none << none << none << in3;
        QTest::newRow("only a comment") << in3 << none << QByteArray("# soon\n") << none << in3;
    }
    void stateFollowsLog() {
        QFETCH(QString, saved);
        QFETCH(QByteArray, january);
        QFETCH(QByteArray, february);
        QFETCH(QByteArray, later);
        QFETCH(QString, expected);
        SessionHome home;
        home.saveState(saved.startsWith("In"), saved.section(u' ', 1));
        QVERIFY(january.isNull() || put(home.file("200401"), january));
        QVERIFY(february.isNull() || put(home.file("200402"), february));
        home.open();
        if (!later.isNull()) {
            QCOMPARE(home.state(), saved);
            QVERIFY(put(home.file("200402"), later));
            QVERIFY(home.session->followLog());
        }
        QCOMPARE(home.state(), expected);
        QCOMPARE(home.savedState(), expected);
    }

    // Two processes press 300 times each on one home: every record either
    // says it wrote is in the log, whole, and since each press reads the
    // state from the log under the lock, the kinds alternate. Each has a
    // settings file of its own, whose lock file would otherwise make them
    // take turns for a good while.
    void oneWriterAtATime() {
        SessionHome home;
        QProcess helpers[2];
        QVERIFY(
            startHelper(helpers[0], home, home.temp.filePath("0.ini"), 300, "20040201000000", 60));
        QVERIFY(
            startHelper(helpers[1], home, home.temp.filePath("1.ini"), 300, "20040205000000", 60));
        for (QProcess& helper : helpers)
            QVERIFY(go(helper));
        QList<QByteArray> said;
        for (QProcess& helper : helpers) {
            QVERIFY(helper.waitForFinished(120000));
            QCOMPARE(helper.exitCode(), 0);
            said += helper.readAllStandardOutput().split('\n');
            said.removeAll(QByteArray());
        }
        QCOMPARE(said.size(), 600);
        QList<QByteArray> records = recordsIn(home.logs);
        for (qsizetype i = 1; i < records.size(); ++i)
            QVERIFY2(records[i].contains("CheckIn") != records[i - 1].contains("CheckIn"),
                     records[i].constData());
        std::sort(said.begin(), said.end());
        std::sort(records.begin(), records.end());
        QCOMPARE(records, said);
    }

    // A press killed at a random moment, new month files included (the
    // clock moves four days a press): the next session's state is the log's
    // newest record, and so are the settings it saves.
    void killedPresses() {
        SessionHome home;
        QRandomGenerator rng(20040229);
        int lagging = 0;
        for (int round = 0; round < 40; ++round) {
            const QString start =
                CalDate::fromInstant(at("20040101000000").instant() + round * 366LL * 86400)
                    .format(CalFormat::Compact);
            QProcess helper;
            QVERIFY(startHelper(helper, home, home.settingsPath, 100000, start, 4 * 86400));
            QVERIFY(go(helper));
            ::usleep(useconds_t(rng.bounded(40000)));
            helper.kill();
            QVERIFY(helper.waitForFinished(10000));
            // Killed before its first record: the settings stand.
            const QString logged =
                stateOfLog(home.logs).isEmpty() ? home.savedState() : stateOfLog(home.logs);
            lagging += home.savedState() != logged;
            home.open();
            QCOMPARE(home.state(), logged);
            QCOMPARE(home.savedState(), logged);
        }
        qInfo("settings behind the log after %d of 40 kills", lagging);
        QVERIFY(lagging > 0);
    }
};

QTEST_GUILESS_MAIN(TestFollowLog)
#include "tst_followlog.moc"
