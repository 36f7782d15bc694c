#include "support.h"
#include "timelog/fileops.h"
#include "timelog/store.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace fennick;
using namespace fennick::test;

// The k-th punch of a writer: alternately into February (even k) and January.
CalDate punchTime(int k) {
    return CalDate::fromInstant(at(k % 2 ? "20040110080000" : "20040210080000").instant() + 60 * k);
}

class TestKillAppend : public QObject {
    Q_OBJECT

private slots:
    // A writer appends punches 0, 1, 2 … until it is killed at a random
    // moment, half of the time through named temporary files. Each month file
    // then holds its old contents plus whole records of the writer, in order.
    // Besides the month files only the writer's named temporary files may be
    // left.
    void killedAppends() {
        useTimeZone("Europe/Berlin");
        QTemporaryDir tmp;
        const QStringList months{tmp.filePath("TLOG200402.txt"), tmp.filePath("TLOG200401.txt")};
        const QByteArray old = QByteArray("2004/01/05 09:00:00\tCheckIn:\t20040105090000\n");
        QList<QByteArray> files{old.repeated(4500), old.repeated(4500)};
        QVERIFY(put(months[0], files[0]) && put(months[1], files[1]));
        FixedClock clock(punchTime(0));
        QRandomGenerator rng(20040215);
        int changed = 0;
        for (int kill = 0; kill < 300; ++kill) {
            const pid_t child = ::fork();
            if (child == 0) {
                allowUnnamedTempFiles(kill % 2 == 0);
                TimeLogStore store(tmp.path(), clock, [](const QString& l) { qWarning() << l; });
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
        QVERIFY2(changed > 30,
                 qPrintable(QString("only %1 kills came after a record").arg(changed)));
        const QRegularExpression ownTemp("^\\.TLOG20040[12]\\.txt\\.tmp[a-z0-9]{8}$");
        QCOMPARE(listing(tmp.path()).size(), 2 + listing(tmp.path()).filter(ownTemp).size());
    }
};

QTEST_GUILESS_MAIN(TestKillAppend)
#include "tst_killappend.moc"
