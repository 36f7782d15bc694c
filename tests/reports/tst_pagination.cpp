#include "reports/pagination.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace fennick;

namespace {
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
} // namespace

class TestPagination : public QObject {
    Q_OBJECT

private slots:
    void pageHeight_data();
    void pageHeight();
    void pages_data();
    void pages();
    void rectangles();
};

void TestPagination::pageHeight_data() {
    QTest::addColumn<float>("paper");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("bottom");
    QTest::addColumn<float>("row");
    QTest::addColumn<std::optional<float>>("scale");
    QTest::addColumn<float>("height");
    QTest::addColumn<int>("rows");

    using S = std::optional<float>;
    QTest::newRow("letter 100%") << 792.f << 72.f << 72.f << 17.f << S(1.f) << 646.f << 38;
    QTest::newRow("letter 50%") << 792.f << 72.f << 72.f << 17.f << S(0.5f) << 1292.f << 76;
    QTest::newRow("letter 75%") << 792.f << 72.f << 72.f << 17.f << S(0.75f) << 861.33f << 50;
    QTest::newRow("rows counted before scaling")
        << 100.f << 0.f << 0.f << 30.f << S(0.4f) << 225.f << 7;
    QTest::newRow("no scale is 100%") << 792.f << 72.f << 72.f << 17.f << S() << 646.f << 38;
    QTest::newRow("zero scale is 100%") << 792.f << 72.f << 72.f << 17.f << S(0.f) << 646.f << 38;
    QTest::newRow("NaN scale is 100%")
        << 792.f << 72.f << 72.f << 17.f << S(notANumber) << 646.f << 38;
    QTest::newRow("paper too small holds one row")
        << 100.f << 72.f << 72.f << 17.f << S(1.f) << 17.f << 1;
    QTest::newRow("one row at 50%") << 100.f << 40.f << 50.f << 17.f << S(0.5f) << 34.f << 2;
    QTest::newRow("NaN row height") << 792.f << 72.f << 72.f << notANumber << S(1.f) << 0.f << 1;
    QTest::newRow("infinite paper") << infinity << 72.f << 72.f << 17.f << S(1.f) << 0.f << 1;
}

void TestPagination::pageHeight() {
    QFETCH(float, paper);
    QFETCH(float, top);
    QFETCH(float, bottom);
    QFETCH(float, row);
    QFETCH(std::optional<float>, scale);
    QFETCH(float, height);
    QFETCH(int, rows);

    const float got = calculatePrintHeight({paper, top, bottom, row, scale});
    QVERIFY2(std::abs(got - height) < 0.01f, qPrintable(QString::number(got)));
    QCOMPARE(rowsPerPage(got, row), rows);
}

void TestPagination::pages_data() {
    QTest::addColumn<float>("table");
    QTest::addColumn<float>("page");
    QTest::addColumn<int>("count");

    QTest::newRow("empty table") << 0.f << 646.f << 1;
    QTest::newRow("less than a page") << 600.f << 646.f << 1;
    QTest::newRow("exactly one page, no blank one") << 646.f << 646.f << 1;
    QTest::newRow("exactly two pages") << 1292.f << 646.f << 2;
    QTest::newRow("a bit more than two") << 1300.f << 646.f << 3;
    QTest::newRow("scaled page 861.33, 100 rows") << 1700.f << 646.f / 0.75f << 2;
    QTest::newRow("no page height") << 1300.f << 0.f << 1;
    QTest::newRow("NaN table") << notANumber << 646.f << 1;
    QTest::newRow("huge table stays in range") << 1e30f << 1.f << 1000000000;
}

void TestPagination::pages() {
    QFETCH(float, table);
    QFETCH(float, page);
    QFETCH(int, count);
    QCOMPARE(pageCount(table, page), count);
}

void TestPagination::rectangles() {
    const QRectF bounds(0, 0, 468, 1700);
    QCOMPARE(rectForPage(bounds, 646, 2), QRectF(0, 646, 468, 646));
    // The last page may reach below the table's end.
    QCOMPARE(rectForPage(bounds, 646, 3), QRectF(0, 1292, 468, 646));
    QCOMPARE(rectForPage(QRectF(10, 20, 300, 100), 50, 2), QRectF(10, 70, 300, 50));
}

QTEST_GUILESS_MAIN(TestPagination)
#include "tst_pagination.moc"
