#include "reports/reportdata.h"
#include "support.h"
#include "timelog/store.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace fennick;
using namespace fennick::test;

namespace {

QByteArray record(const char* kind, const char* compact) {
    const CalDate t = at(QString::fromLatin1(compact));
    return (t.format(CalFormat::Display) + u'\t' + QLatin1String(kind) + u'\t' + compact + u'\n')
        .toLatin1();
}

QByteArray shift(const char* in, const char* out) {
    return record("CheckIn:", in) + record("CheckOut:", out);
}

struct LogDir {
    QTemporaryDir temp;
    QString path() const { return temp.path(); }
    void add(const QString& key, const QByteArray& text) const {
        QVERIFY(put(path() + "/TLOG" + key + ".txt", text));
    }
    std::optional<MonthIndex> index(const Clock& clock) const {
        return TimeLogStore(path(), clock, [](const QString&) {}).getLogFileDic();
    }
};

} // namespace

class TestReportData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("TZ", "Europe/Berlin");
        timeZoneChanged();
    }
    void monthlyBlock_data();
    void monthlyBlock();
    void monthlyWithoutDirectory();
    void daily_data();
    void daily();
    void logRowsFollowTheCursor();
};

void TestReportData::monthlyBlock_data() {
    QTest::addColumn<int>("blockStart");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("total");
    QStringList current;
    for (int m = 4; m <= 12; ++m)
        current << QString("2023%1").arg(m, 2, 10, QChar('0'));
    current << "202401"
            << "202402"
            << "202403";
    QStringList zeros(12, "000:00:00");
    QStringList currentValues = zeros;
    currentValues[0] = "002:00:00";  // 202304
    currentValues[11] = "100:00:00"; // 202403: 100 h, the width is a minimum
    QTest::newRow("cursor 0: the current month and the eleven before")
        << 0 << current << currentValues << "Yearly sum: \t102:00:00";
    QStringList older;
    for (int m = 4; m <= 12; ++m)
        older << QString("2022%1").arg(m, 2, 10, QChar('0'));
    older << "202301"
          << "202302"
          << "202303";
    QStringList olderValues = zeros;
    olderValues[11] = "-000:01:30"; // 202303 holds a check-out before its check-in
    QTest::newRow("cursor 13: offsets 23 down to 12")
        << 12 << older << olderValues << "Yearly sum: \t-000:01:30";
}

void TestReportData::monthlyBlock() {
    QFETCH(int, blockStart);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, values);
    QFETCH(QString, total);
    FixedClock clock(at("20240315120000"));
    LogDir dir;
    dir.add("202304", shift("20230410080000", "20230410100000"));
    dir.add("202403", shift("20240301000000", "20240305040000"));
    dir.add("202303", shift("20230310080130", "20230310080000"));
    // A month whose file cannot be read counts 0 and still has its row.
    QVERIFY(QDir().mkpath(dir.path() + "/TLOG202312.txt"));
    const SumsTable table = monthlySums(dir.path(), dir.index(clock), blockStart, clock);
    QVERIFY(table.rows);
    QStringList gotKeys;
    QStringList gotValues;
    for (const myDspData& row : *table.rows) {
        gotKeys << row.keyDateStr;
        gotValues << row.dataStr;
    }
    QCOMPARE(gotKeys, keys);
    QCOMPARE(gotValues, values);
    QCOMPARE(table.totalLine, total);
}

// With no directory the table empties rather than keeping an earlier fill.
void TestReportData::monthlyWithoutDirectory() {
    FixedClock clock(at("20240315120000"));
    const QString missing = QDir::tempPath() + "/fennick-no-such-dir";
    const auto index = TimeLogStore(missing, clock, [](const QString&) {}).getLogFileDic();
    QVERIFY(!index);
    const SumsTable table = monthlySums(missing, index, 0, clock);
    QCOMPARE(table.rows, std::optional<DspRows>(DspRows{}));
    QCOMPARE(table.totalLine, QString("Yearly sum: \t000:00:00"));
}

void TestReportData::daily_data() {
    QTest::addColumn<QByteArray>("file"); // empty: the month has no file
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");
    QTest::newRow("days sorted, across midnight")
        << QByteArray(shift("20240312220000", "20240313010000") +
                      shift("20240303090000", "20240303100101") +
                      shift("20240305080000", "20240305080000"))
        << QStringList{"20240303=01:01:01", "20240305=00:00:00", "20240312=02:00:00",
                       "20240313=01:00:00"}
        << "Monthly sum: \t004:01:01";
    QTest::newRow("open interval up to now")
        << record("CheckIn:", "20240315090000") << QStringList{"20240315=03:00:00"}
        << "Monthly sum: \t003:00:00";
    QTest::newRow("negative day") << shift("20240310080130", "20240310080000")
                                  << QStringList{"20240310=-00:01:30"}
                                  << "Monthly sum: \t-000:01:30";
    QTest::newRow("no file") << QByteArray() << QStringList{} << "Monthly sum: \t000:00:00";
    QTest::newRow("comments only")
        << QByteArray("# nothing yet\n") << QStringList{} << "Monthly sum: \t000:00:00";
}

void TestReportData::daily() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    FixedClock clock(at("20240315120000"));
    LogDir dir;
    if (!file.isEmpty())
        dir.add("202403", file);
    const SumsTable table = dailySums(dir.path(), dir.index(clock), 0, clock);
    QStringList got;
    for (const myDspData& row : table.rows.value_or(DspRows{}))
        got << row.keyDateStr + u'=' + row.dataStr;
    QCOMPARE(got, rows);
    QCOMPARE(table.rows.has_value(), !rows.isEmpty());
    QCOMPARE(table.totalLine, total);
}

void TestReportData::logRowsFollowTheCursor() {
    FixedClock clock(at("20240301080000"));
    LogDir dir;
    dir.add("202402", shift("20240229220000", "20240301020000"));
    const auto index = dir.index(clock);
    QVERIFY(!logRows(dir.path(), index, 0, clock)); // March has no file
    const auto rows = logRows(dir.path(), index, 1, clock);
    QVERIFY(rows);
    QCOMPARE(*rows,
             DspRows({{"2024/02/29 22:00:00", "CheckIn"}, {"2024/03/01 02:00:00", "CheckOut"}}));
    QVERIFY(!logRows(std::nullopt, index, 1, clock));
}

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_reportdata.moc"
