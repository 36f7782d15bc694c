#include "support.h"
#include "timelog/fileops.h"
#include "timelog/store.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace fennick;
using namespace fennick::test;

namespace {

constexpr int kKills = 300;
constexpr int kMaxDelayMicros = 8000;
const char* const kMonths[] = {"TLOG200401.txt", "TLOG200402.txt"};

// The k-th punch of a child: alternately into January and February.
CalDate punchTime(int k) {
    const auto base =
        CalDate::parse(k % 2 ? u"20040110080000" : u"20040210080000", CalFormat::Compact);
    return CalDate::fromInstant(base->instant() + 60 * k);
}

QByteArray recordOf(int k) {
    const CalDate punch = punchTime(k);
    return makeRecordLine(punch, k % 3 ? PunchKind::CheckIn : PunchKind::CheckOut, punch)
        .toLatin1();
}

// Appends punches 0, 1, 2 … until killed, telling the parent of each one.
[[noreturn]] void appendForever(const QString& dir, int toParent, bool unnamed) {
    allowUnnamedTempFiles(unnamed);
    FixedClock clock(punchTime(0));
    TimeLogStore store(dir, clock, [](const QString& l) { qWarning("%s", qPrintable(l)); });
    store.checkLogFileDic();
    for (int k = 0;; ++k) {
        const CalDate punch = punchTime(k);
        if (!store.appendPunch(punch, punch, k % 3 ? PunchKind::CheckIn : PunchKind::CheckOut) ||
            ::write(toParent, "+", 1) != 1)
            ::_exit(3);
    }
}

} // namespace

class TestKillAppend : public QObject {
    Q_OBJECT

private slots:
    void killedAppends();
};

// A process killed at a random moment of a series of appends leaves every
// month file with its old contents plus whole records only: those the process
// confirmed and at most the one it was writing.
void TestKillAppend::killedAppends() {
    qputenv("TZ", "Europe/Berlin");
    timeZoneChanged();
    QTemporaryDir tmp;
    QByteArray filler;
    while (filler.size() < 200000)
        filler += "2004/01/05 09:00:00\tCheckIn:\t20040105090000\n";
    for (const char* month : kMonths) {
        QFile file(tmp.filePath(month));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(filler) == filler.size());
    }
    QRandomGenerator rng(20040215);
    int changed = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QList<QByteArray> before;
        for (const char* month : kMonths)
            before << bytesOf(tmp.filePath(month));
        int pipeFds[2];
        QCOMPARE(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeFds[0]);
            appendForever(tmp.path(), pipeFds[1], kill % 2 == 0);
        }
        ::close(pipeFds[1]);
        ::usleep(useconds_t(rng.bounded(kMaxDelayMicros)));
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(
            WIFSIGNALED(status),
            qPrintable(QString("child exited %1 at kill %2").arg(WEXITSTATUS(status)).arg(kill)));
        char buffer[4096];
        int confirmed = 0;
        for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
            confirmed += int(got);
        ::close(pipeFds[0]);

        bool matched = false;
        for (int records : {confirmed, confirmed + 1}) {
            QList<QByteArray> expected = before;
            for (int k = 0; k < records; ++k)
                expected[k % 2 ? 0 : 1] += recordOf(k);
            matched = matched || (bytesOf(tmp.filePath(kMonths[0])) == expected[0] &&
                                  bytesOf(tmp.filePath(kMonths[1])) == expected[1]);
        }
        QVERIFY2(matched, qPrintable(QString("kill %1 after %2 records").arg(kill).arg(confirmed)));
        changed += bytesOf(tmp.filePath(kMonths[1])) != before[1];
    }
    qInfo("%d of %d kills came after at least one record", changed, kKills);

    const QStringList hidden = QDir(tmp.path()).entryList(QDir::Hidden | QDir::Files);
    qInfo("%d temporary files left by killed writers", int(hidden.filter(".TLOG").size()));
}

QTEST_GUILESS_MAIN(TestKillAppend)
#include "tst_killappend.moc"
