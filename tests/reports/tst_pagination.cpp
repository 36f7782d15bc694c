#include "reports/pagination.h"

#include <QTest>
#include <cmath>

using namespace fennick;

class TestPagination : public QObject {
    Q_OBJECT

private slots:
    void heights_data();
    void heights();
    void pages();
    void printedPages_data();
    void printedPages();
};

// US Letter is 792 points high; with one-inch margins and 17-point rows a
// page holds 38 rows, 646 points of table at 100 %.
void TestPagination::heights_data() {
    QTest::addColumn<PrintMetrics>("metrics");
    QTest::addColumn<float>("height");
    QTest::addColumn<int>("rows");
    QTest::newRow("letter 100%") << PrintMetrics{792, 72, 72, 17, 1.f} << 646.f << 38;
    QTest::newRow("letter 50%") << PrintMetrics{792, 72, 72, 17, .5f} << 1292.f << 76;
    QTest::newRow("letter 75%") << PrintMetrics{792, 72, 72, 17, .75f} << 861.33f << 50;
    QTest::newRow("rows counted before scaling") << PrintMetrics{100, 0, 0, 30, .4f} << 225.f << 7;
    QTest::newRow("no scale: 100%") << PrintMetrics{792, 72, 72, 17, {}} << 646.f << 38;
    QTest::newRow("zero scale: 100%") << PrintMetrics{792, 72, 72, 17, 0.f} << 646.f << 38;
    QTest::newRow("NaN scale: 100%") << PrintMetrics{792, 72, 72, 17, NAN} << 646.f << 38;
    QTest::newRow("paper too small: one row") << PrintMetrics{100, 72, 72, 17, 1.f} << 17.f << 1;
    QTest::newRow("NaN row height") << PrintMetrics{792, 72, 72, NAN, 1.f} << 0.f << 1;
}

void TestPagination::heights() {
    QFETCH(PrintMetrics, metrics);
    QFETCH(float, height);
    QFETCH(int, rows);
    QCOMPARE(calculatePrintHeight(metrics), height);
    QCOMPARE(rowsPerPage(height, metrics.rowHeight), rows);
}

// ceil(table / page) pages, at least one, and no blank page after an exact
// fit; page n prints the slice (n - 1) pages below the table's top.
void TestPagination::pages() {
    QCOMPARE(pageCount(0, 646), 1);
    QCOMPARE(pageCount(646, 646), 1);
    QCOMPARE(pageCount(1292, 646), 2);
    QCOMPARE(pageCount(1300, 646), 3);
    QCOMPARE(pageCount(1700, 646 / .75f), 2);
    QCOMPARE(pageCount(1300, 0), 1);
    QCOMPARE(pageCount(NAN, 646), 1);
    QCOMPARE(pageCount(1e30f, 1), 1000000000);
    QCOMPARE(rectForPage(QRectF(10, 20, 300, 100), 50, 2), QRectF(10, 70, 300, 50));
    // Fit to width shrinks a table too wide, never enlarges, never below the floor.
    QCOMPARE(fitWidthScale(400, 200, .25f), 1.f);
    QCOMPARE(fitWidthScale(400, 800, .25f), .5f);
    QCOMPARE(fitWidthScale(400, 8000, .25f), .25f);
}

// A range beyond the report is cut to the report's pages, one wholly beyond
// it prints nothing (not a blank page), and last page first is honoured.
void TestPagination::printedPages_data() {
    QTest::addColumn<PageSpans>("spans");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<std::vector<int>>("pages");
    QTest::newRow("no range: all") << PageSpans{} << 3 << false << std::vector{1, 2, 3};
    QTest::newRow("clamped") << PageSpans{{2, 9}} << 3 << false << std::vector{2, 3};
    QTest::newRow("wholly beyond") << PageSpans{{12, 20}} << 10 << false << std::vector<int>{};
    QTest::newRow("several") << PageSpans{{1, 1}, {3, 4}} << 5 << false << std::vector{1, 3, 4};
    QTest::newRow("reversed range") << PageSpans{{2, 5}} << 3 << true << std::vector{3, 2};
}

void TestPagination::printedPages() {
    QFETCH(PageSpans, spans);
    QFETCH(int, count);
    QFETCH(bool, reverse);
    QFETCH(std::vector<int>, pages);
    QCOMPARE(pagesToPrint(spans, count, reverse), pages);
}

QTEST_GUILESS_MAIN(TestPagination)
#include "tst_pagination.moc"
