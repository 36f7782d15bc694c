#include "platform/clock.h"
#include "reports/navigation.h"

#include <QSet>
#include <QTest>
#include <climits>

using namespace fennick;

namespace {

CalDate at(const char* compact) {
    const auto date = CalDate::parse(QString::fromLatin1(compact), CalFormat::Compact);
    if (!date)
        qFatal("bad test timestamp %s", compact);
    return *date;
}

MonthHasFile filesAt(const QList<int>& offsets) {
    const QSet<int> set(offsets.begin(), offsets.end());
    return [set](int offset) {
        if (offset < 0)
            qFatal("asked about negative offset %d", offset);
        return set.contains(offset);
    };
}

// "NP": both enabled, "-P": only prev, "N-": only next, "--": none.
QString buttonsText(const MoveButtons& b) {
    return QString(b.nextEnabled ? u'N' : u'-') + QString(b.prevEnabled ? u'P' : u'-');
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private slots:
    void init() {
        qputenv("TZ", "Europe/Berlin");
        timeZoneChanged();
    }

    void moves_data();
    void moves();
    void monthKeys_data();
    void monthKeys();
    void indexPredicate();
    void titles();
};

// A story of one window: its buttons at the start, then after each step the
// cursor and the buttons. A step is "next" or "prev"; the step is taken even
// when its button is disabled, as a stale click would.
void TestNavigation::moves_data() {
    QTest::addColumn<QList<int>>("files");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<bool>("yearly");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QStringList>("steps");

    const bool monthly = false;
    const bool yearly = true;
    QTest::newRow("only current month, monthly")
        << QList<int>{0} << 0 << monthly << "--" << QStringList{};
    QTest::newRow("only current month, yearly")
        << QList<int>{0} << 0 << yearly << "--" << QStringList{};
    QTest::newRow("0 and 5 back and forth")
        << QList<int>{0, 5} << 0 << monthly << "-P" << QStringList{"prev 5 N-", "next 0 -P"};
    QTest::newRow("23 is within reach")
        << QList<int>{0, 23} << 0 << monthly << "-P" << QStringList{"prev 23 N-"};
    QTest::newRow("24 is beyond reach")
        << QList<int>{0, 24} << 0 << monthly << "--" << QStringList{"prev 0 --"};
    QTest::newRow("skips months without file")
        << QList<int>{0, 2, 9} << 2 << monthly << "NP"
        << QStringList{"prev 9 N-", "next 2 NP", "next 0 -P"};
    QTest::newRow("next stops at the present")
        << QList<int>{1} << 3 << monthly << "N-" << QStringList{"next 1 --", "next 0 -P"};
    QTest::newRow("cursor beyond every file")
        << QList<int>{0, 10, 40} << 40 << monthly << "--" << QStringList{"next 0 -P", "prev 10 N-"};
    QTest::newRow("far past, nothing near")
        << QList<int>{0} << 100 << monthly << "--" << QStringList{"prev 0 --"};
    QTest::newRow("largest cursor, monthly")
        << QList<int>{0} << INT_MAX << monthly << "--" << QStringList{"prev 0 --"};
    QTest::newRow("negative cursor reads as 0")
        << QList<int>{0, 5} << -3 << monthly << "-P" << QStringList{"prev 5 N-"};

    QTest::newRow("yearly 20 lies in older block")
        << QList<int>{0, 20} << 0 << yearly << "-P" << QStringList{"prev 12 N-", "next 0 -P"};
    QTest::newRow("yearly own block is neither way")
        << QList<int>{0, 11} << 0 << yearly << "--" << QStringList{};
    QTest::newRow("yearly older block starts at 12")
        << QList<int>{0, 12} << 0 << yearly << "-P" << QStringList{"prev 12 N-"};
    QTest::newRow("yearly older block ends at 23")
        << QList<int>{0, 24} << 0 << yearly << "--" << QStringList{"prev 12 NP"};
    QTest::newRow("yearly 36 is two blocks back")
        << QList<int>{0, 36} << 0 << yearly << "--" << QStringList{};
    QTest::newRow("yearly first block never goes next")
        << QList<int>{0, 3} << 5 << yearly << "--" << QStringList{"next 0 --"};
    QTest::newRow("yearly next finds only current month")
        << QList<int>{0, 14} << 5 << yearly << "-P" << QStringList{"prev 17 N-", "next 0 -P"};
    QTest::newRow("yearly next keeps place in block")
        << QList<int>{0, 3, 14} << 5 << yearly << "-P" << QStringList{"prev 17 N-", "next 5 -P"};
    QTest::newRow("yearly 0 and 30 from 17")
        << QList<int>{0, 30} << 17 << yearly << "NP" << QStringList{"prev 29 --"};
    QTest::newRow("yearly prev search reaches 34")
        << QList<int>{0, 34} << 0 << yearly << "--" << QStringList{"prev 12 NP"};
    QTest::newRow("yearly prev search stops before 35")
        << QList<int>{0, 35} << 0 << yearly << "--" << QStringList{"prev 0 --"};
    QTest::newRow("yearly next search reaches 23 back")
        << QList<int>{2} << 30 << yearly << "--" << QStringList{"next 18 N-", "next 6 --"};
    QTest::newRow("largest cursor, yearly")
        << QList<int>{0} << INT_MAX << yearly << "--" << QStringList{"prev 0 --"};
}

void TestNavigation::moves() {
    QFETCH(QList<int>, files);
    QFETCH(int, cursor);
    QFETCH(bool, yearly);
    QFETCH(QString, buttons);
    QFETCH(QStringList, steps);

    const MonthHasFile hasFile = filesAt(files);
    QCOMPARE(buttonsText(checkMoveSomeButton(cursor, yearly, hasFile)), buttons);
    for (const QString& step : steps) {
        const QStringList parts = step.split(u' ');
        const bool next = parts[0] == u"next";
        if (yearly)
            cursor = next ? goNextSum2Cursor(cursor, hasFile) : goPrevSum2Cursor(cursor, hasFile);
        else
            cursor = next ? goNextMonthCursor(cursor, hasFile) : goPrevMonthCursor(cursor, hasFile);
        QCOMPARE(QString::number(cursor), parts[1]);
        QCOMPARE(buttonsText(checkMoveSomeButton(cursor, yearly, hasFile)), parts[2]);
    }
}

void TestNavigation::monthKeys_data() {
    QTest::addColumn<QString>("now");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QStringList>("keys");

    const QStringList firstBlock{"202304", "202305", "202306", "202307", "202308", "202309",
                                 "202310", "202311", "202312", "202401", "202402", "202403"};
    const QStringList secondBlock{"202204", "202205", "202206", "202207", "202208", "202209",
                                  "202210", "202211", "202212", "202301", "202302", "202303"};
    QTest::newRow("cursor 0") << "20240315120000" << 0 << firstBlock;
    QTest::newRow("cursor 13") << "20240315120000" << 13 << secondBlock;
    QTest::newRow("month end does not carry") << "20240331235959" << 0 << firstBlock;
}

void TestNavigation::monthKeys() {
    QFETCH(QString, now);
    QFETCH(int, cursor);
    QFETCH(QStringList, keys);

    const CalDate date = at(now.toLatin1().constData());
    QCOMPARE(blockMonthKeys(cursor, date), keys);
    QCOMPARE(getDateString(blockOffsets(cursor).front(), date), keys.first());
    QCOMPARE(getDateString(blockOffsets(cursor).back(), date), keys.last());
    QCOMPARE(getDateString(-1, date), std::nullopt);
}

void TestNavigation::indexPredicate() {
    FixedClock clock(at("20240315120000"));
    const MonthHasFile hasFile = monthHasFileIn(
        MonthIndex{{"202403", "TLOG202403.txt"}, {"202310", "TLOG202310.txt"}}, clock);
    QVERIFY(hasFile(0));
    QVERIFY(!hasFile(1));
    QVERIFY(hasFile(5));
    QVERIFY(!hasFile(-1));

    // "Now" is read at each question: a month later the same file is one back.
    clock.set(at("20240415120000"));
    QVERIFY(!hasFile(0));
    QVERIFY(hasFile(1));

    QVERIFY(!monthHasFileIn(std::nullopt, clock)(0));
}

void TestNavigation::titles() {
    QLocale::setDefault(QLocale::c());
    QCOMPARE(monthTitle("202403"), QString("March 2024"));
    QCOMPARE(monthTitle("202413"), QString("202413"));
    QCOMPARE(blockTitle({"202304", "202403"}), QString("Apr 2023 – Mar 2024"));
    QCOMPARE(blockTitle({}), QString());
}

QTEST_GUILESS_MAIN(TestNavigation)
#include "tst_navigation.moc"
