#include "support.h"
#include "timelog/timeclock.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

namespace {

QStringList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {"<unreadable>"};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString line(const char* written, const char* kind, const char* punch) {
    return QStringLiteral("2004/%1\t%2:\t%3").arg(written, kind, punch);
}

// The rules over a real store in a temporary directory. The dialog takes a
// minute of the user's time and answers `dialogAnswer`: "cancel", "stopped"
// (without a time) or the compact time to confirm. Saving the state takes a
// second, so each record's writing time shows when it was taken.
struct Fixture {
    QTemporaryDir tmp;
    FixedClock clock;
    QStringList logged;
    TimeLogStore store{tmp.path(), clock, [this](const QString& l) { logged << l; }};
    QString dialogAnswer;
    QStringList calls; // dialog arguments, beeps, saves and window refreshes in order
    TimeClock rules{store, clock, hooks()};

    explicit Fixture(const char* press) : clock(at(QLatin1String(press))) {
        store.checkLogFileDic();
    }
    TimeClock::Hooks hooks() {
        return {
            [this](const CalDate& now, const QString& prev, bool forCkin) {
                calls << QString("dialog %1 %2 %3")
                             .arg(now.format(CalFormat::Compact), prev, forCkin ? "in" : "out");
                clock.advance(60);
                if (dialogAnswer == "cancel")
                    return kModalAborted;
                if (dialogAnswer != "stopped")
                    rules.setMyInputCalDate(at(dialogAnswer));
                return kModalStopped;
            },
            [this] { calls << "beep"; },
            [this] {
                calls
                    << QString("save %1 %2").arg(int(rules.onBusinessP())).arg(rules.prevTimeStr());
                clock.advance(1);
            },
            [this] { calls << "refresh"; }};
    }
    QString path(const char* name) const { return tmp.path() + '/' + QLatin1String(name); }
};

} // namespace

class TestTimeClock : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("TZ", "Europe/Berlin");
        timeZoneChanged();
    }
    void stateTable_data();
    void stateTable();
    void forgottenPunchAcrossMonthEnd();
    void firstRecordFails();
};

void TestTimeClock::stateTable_data() {
    QTest::addColumn<bool>("checkedIn");
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("pressIn");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("checkedInAfter");
    QTest::addColumn<QString>("lastAfter");
    const QString L("20040215090000");
    const QString press("20040215180010");
    const QStringList none;
    const QStringList inLine{line("02/15 18:00:10", "CheckIn", "20040215180010")};
    const QStringList outLine{line("02/15 18:00:10", "CheckOut", "20040215180010")};
    const QStringList savedIn{"save 1 " + press, "refresh"};
    const QStringList savedOut{"save 0 " + press, "refresh"};
    const QString askOut = "dialog " + press + ' ' + L + " in";
    const QString askIn = "dialog " + press + ' ' + L + " out";

    QTest::newRow("out, no last punch, in")
        << false << "" << true << "" << inLine << savedIn << true << press;
    QTest::newRow("out, last punch, in")
        << false << L << true << "" << inLine << savedIn << true << press;
    QTest::newRow("in, no last punch, in")
        << true << "" << true << "" << inLine << savedIn << true << press;
    QTest::newRow("in, last punch, in, confirmed")
        << true << L << true << "20040215173000"
        << QStringList{line("02/15 18:01:10", "CheckOut", "20040215173000"),
                       line("02/15 18:01:11", "CheckIn", "20040215180010")}
        << QStringList{askOut, "save 0 20040215173000", "refresh", "save 1 " + press, "refresh"}
        << true << press;
    QTest::newRow("in, last punch, in, cancelled")
        << true << L << true << "cancel" << none << QStringList{askOut} << true << L;
    QTest::newRow("in, last punch, in, stopped without a time")
        << true << L << true << "stopped" << none << QStringList{askOut} << true << L;
    QTest::newRow("in, last punch, out")
        << true << L << false << "" << outLine << savedOut << false << press;
    QTest::newRow("in, no last punch, out")
        << true << "" << false << "" << outLine << savedOut << false << press;
    QTest::newRow("out, no last punch, out")
        << false << "" << false << "" << none << QStringList{"beep"} << false << "";
    QTest::newRow("out, last punch, out, confirmed")
        << false << L << false << "20040215090000"
        << QStringList{line("02/15 18:01:10", "CheckIn", "20040215090000"),
                       line("02/15 18:01:11", "CheckOut", "20040215180010")}
        << QStringList{askIn, "save 1 20040215090000", "refresh", "save 0 " + press, "refresh"}
        << false << press;
    QTest::newRow("out, last punch, out, cancelled")
        << false << L << false << "cancel" << none << QStringList{askIn} << false << L;
}

void TestTimeClock::stateTable() {
    QFETCH(bool, checkedIn);
    QFETCH(QString, last);
    QFETCH(bool, pressIn);
    QFETCH(QString, answer);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, calls);
    QFETCH(bool, checkedInAfter);
    QFETCH(QString, lastAfter);
    Fixture f("20040215180010");
    f.rules.setOnBusinessP(checkedIn);
    f.rules.setPrevTimeStr(last);
    f.dialogAnswer = answer;
    if (pressIn)
        f.rules.enterLogIn();
    else
        f.rules.enterLogOut();
    QCOMPARE(linesOf(f.path("TLOG200402.txt")), lines);
    QCOMPARE(f.calls, calls);
    QCOMPARE(f.rules.onBusinessP(), checkedInAfter);
    QCOMPARE(f.rules.prevTimeStr(), lastAfter);
    QVERIFY(f.logged.isEmpty());
}

// A check-out forgotten on the last evening of February and entered on the
// first of March goes into February's file; the press into March's.
void TestTimeClock::forgottenPunchAcrossMonthEnd() {
    Fixture f("20040301080005");
    f.rules.setOnBusinessP(true);
    f.rules.setPrevTimeStr("20040229090000");
    f.dialogAnswer = "20040229180000";
    f.rules.enterLogIn();
    QCOMPARE(linesOf(f.path("TLOG200402.txt")),
             QStringList{line("03/01 08:01:05", "CheckOut", "20040229180000")});
    QCOMPARE(linesOf(f.path("TLOG200403.txt")),
             QStringList{line("03/01 08:01:06", "CheckIn", "20040301080005")});
    QCOMPARE(f.rules.prevTimeStr(), QString("20040301080005"));
}

// The forgotten punch cannot be recorded (its month file is a directory), the
// pressed one still is, and the state follows the pressed one alone.
void TestTimeClock::firstRecordFails() {
    Fixture f("20040301080005");
    QVERIFY(QDir().mkdir(f.path("TLOG200402.txt")));
    f.store.dropLogFileDic();
    f.store.checkLogFileDic();
    f.rules.setOnBusinessP(false);
    f.rules.setPrevTimeStr("20040229090000");
    f.dialogAnswer = "20040229120000";
    f.rules.enterLogOut();
    QCOMPARE(f.logged, QStringList{"File:" + f.path("TLOG200402.txt") + " can not read."});
    QCOMPARE(linesOf(f.path("TLOG200403.txt")),
             QStringList{line("03/01 08:01:05", "CheckOut", "20040301080005")});
    QCOMPARE(f.calls, (QStringList{"dialog 20040301080005 20040229090000 out",
                                   "save 0 20040301080005", "refresh"}));
    QVERIFY(!f.rules.onBusinessP());
}

QTEST_GUILESS_MAIN(TestTimeClock)
#include "tst_timeclock.moc"
