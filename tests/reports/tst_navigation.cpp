#include "reports/navigation.h"

#include <QTest>

using namespace fennick;

namespace {

void add(const char* name, const QList<int>& files, const char* story) {
    QTest::newRow(name) << files << QString(story);
}

// "NP": both buttons enabled, "-P": only prev, "N-": only next, "--": none.
QString buttons(int cursor, bool yearly, const MonthHasFile& hasFile) {
    const MoveButtons b =
        checkMoveSomeButton(cursor, yearly ? Stride::Block : Stride::Month, hasFile);
    return QString(b.nextEnabled ? "N" : "-") + (b.prevEnabled ? "P" : "-");
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private slots:
    void moves_data();
    void moves();
    void monthsAndTitles();
};

// The story of one window: "M" (log or daily sums window) or "Y" (monthly
// sums window), the cursor and the buttons; then after each step the cursor
// and the buttons. A step is taken even when its button is disabled, as a
// stale click would.
void TestNavigation::moves_data() {
    QTest::addColumn<QList<int>>("files");
    QTest::addColumn<QString>("story");
    add("only current month, monthly", {0}, "M 0 --");
    add("only current month, yearly", {0}, "Y 0 --");
    add("0 and 5 back and forth", {0, 5}, "M 0 -P prev 5 N- next 0 -P");
    add("23 is within reach", {0, 23}, "M 0 -P prev 23 N-");
    add("24 is beyond reach", {0, 24}, "M 0 -- prev 0 --");
    add("skips months without file", {0, 2, 9}, "M 2 NP prev 9 N- next 2 NP next 0 -P");
    add("next stops at the present", {1}, "M 3 N- next 1 -- next 0 -P");
    add("search finds nothing: 0", {0, 10, 40}, "M 40 -- next 0 -P prev 10 N-");
    add("negative cursor reads as 0", {0, 5}, "M -3 -P prev 5 N-");
    add("largest cursor, monthly", {0}, "M 2147483647 -- prev 0 --");
    add("yearly 20 lies in older block", {0, 20}, "Y 0 -P prev 12 N- next 0 -P");
    add("yearly own block is neither way", {0, 11}, "Y 0 --");
    add("yearly older block starts at 12", {0, 12}, "Y 0 -P prev 12 N-");
    add("yearly older block ends at 23", {0, 24}, "Y 0 -- prev 12 NP");
    add("yearly 36 is two blocks back", {0, 36}, "Y 0 --");
    add("yearly first block never goes next", {0, 3}, "Y 5 -- next 0 --");
    add("yearly next finds only current month", {0, 14}, "Y 5 -P prev 17 N- next 0 -P");
    add("yearly next keeps place in block", {0, 3, 14}, "Y 5 -P prev 17 N- next 5 -P");
    add("yearly 0 and 30 from 17", {0, 30}, "Y 17 NP prev 29 --");
    add("yearly prev search reaches 34", {0, 34}, "Y 0 -- prev 12 NP");
    add("yearly prev search stops before 35", {0, 35}, "Y 0 -- prev 0 --");
    add("yearly next search reaches 23 back", {2}, "Y 30 -- next 18 N- next 6 --");
    add("largest cursor, yearly", {0}, "Y 2147483647 -- prev 0 --");
}

void TestNavigation::moves() {
    QFETCH(QList<int>, files);
    QFETCH(QString, story);
    const MonthHasFile hasFile = [files](int offset) {
        if (offset < 0)
            qFatal("asked about negative offset %d", offset);
        return files.contains(offset);
    };
    const QStringList steps = story.split(u' ');
    const bool yearly = steps[0] == "Y";
    const auto moves = yearly ? std::pair(&goNextSum2Cursor, &goPrevSum2Cursor)
                              : std::pair(&goNextMonthCursor, &goPrevMonthCursor);
    int cursor = steps[1].toInt();
    QStringList told;
    for (int i = 0; i < steps.size(); i += 3) {
        if (i > 0)
            cursor = (steps[i] == "next" ? moves.first : moves.second)(cursor, hasFile);
        told << steps[i] << QString::number(cursor) << buttons(cursor, yearly, hasFile);
    }
    QCOMPARE(told.join(u' '), story);
}

// The blocks on either side of their edges; month keys of a block, oldest
// first; the month index read against the clock's "now" at each question;
// readable titles.
void TestNavigation::monthsAndTitles() {
    QList<int> edges;
    for (const int cursor : {11, 12, 23, 24})
        edges << blockOffsets(cursor).front() << blockOffsets(cursor).back();
    QCOMPARE(edges, (QList<int>{11, 0, 23, 12, 23, 12, 35, 24}));
    FixedClock clock(*CalDate::fromFields({2024, 3, 31, 23, 59, 59}));
    QCOMPARE(blockMonthKeys(13, clock.now()).join(u' '),
             "202204 202205 202206 202207 202208 202209 202210 202211 202212 202301 202302 202303");
    QCOMPARE(getDateString(-1, clock.now()), std::nullopt);
    const MonthHasFile hasFile = monthHasFileIn(MonthIndex{{"202403", ""}, {"202310", ""}}, clock);
    QVERIFY(!hasFile(-1) && hasFile(0) && !hasFile(1) && hasFile(5));
    clock.set(*CalDate::fromFields({2024, 4, 1}));
    QVERIFY(!hasFile(0) && hasFile(1));
    QVERIFY(!monthHasFileIn(std::nullopt, clock)(0));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(monthTitle("202403"), "March 2024");
    QCOMPARE(monthTitle("202413"), "202413");
    QCOMPARE(blockTitle({"202304", "202403"}), "Apr 2023 – Mar 2024");
    QCOMPARE(blockTitle({}), QString());
}

QTEST_GUILESS_MAIN(TestNavigation)
#include "tst_navigation.moc"
