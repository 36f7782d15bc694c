// The check-in/out rules over a real store, and the state following the log.

#include "support.h"
#include "timelog/timeclock.h"

#include <QRegularExpression>

using namespace fennick;
using namespace fennick::test;

// A record line, and a record or the state it leads to as a step.
const QRegularExpression kLine("^.*\tCheck(In|Out):\t(\\d+)$", QRegularExpression::MultilineOption);
const QRegularExpression kStep("^(In|Out) \\d{14}$");

// The rules pressed at 2004/02/15 18:00:10, December's file an unreadable directory. The
// dialog answers `answer` (compact time, "empty", else cancel) while the clock runs on;
// `trace` gets the dialog, beeps, log lines and the saved state at each window refresh.
struct Fixture : TempLogFolder {
    FixedClock clock{at("20040215180010")};
    QString answer, saved;
    QStringList trace;
    TimeLogStore store{dir, clock, [this](QString line) { trace << line.replace(dir, "~"); }};
    TimeClock rules{store,
                    clock,
                    {std::bind_front(&Fixture::dialog, this),
                     [this] { trace << "beep"; },
                     [this] { trace << (saved = state()); },
                     {},
                     {}}};

    Fixture() { QDir().mkdir(path("TLOG200312.txt")); }
    int dialog(const CalDate& now, const QString& prev, bool forCkin) {
        trace << (forCkin ? "ask in " : "ask out ") + answer +
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

class TestTimeClock : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTimeZone("Europe/Berlin"); }

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
        Fixture f;
        const FailingDisk disk(fault);
        f.rules.setOnBusinessP(before.startsWith("In"));
        f.rules.setPrevTimeStr(before.section(' ', 1));
        f.answer = steps.filter(QRegularExpression("^ask ")).value(0).section(' ', 2);
        checkIn ? f.rules.enterLogIn() : f.rules.enterLogOut();
        const QStringList records = steps.filter(kStep);
        QCOMPARE(f.trace, steps);
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
};

QTEST_GUILESS_MAIN(TestTimeClock)
#include "tst_timeclock.moc"
