#include "reports/mydatasource.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace fennick;

class TestMyDataSource : public QObject {
    Q_OBJECT

private slots:
    void absentAndEmptyLists();
    void cellsFollowColumnIdentifiers();
    void headingsAndAlignment_data();
    void headingsAndAlignment();
};

void TestMyDataSource::absentAndEmptyLists() {
    MyDataSource source(columns::Log);
    QAbstractItemModelTester tester(&source,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(source.rowCount(), 0);
    QCOMPARE(source.columnCount(), 2);

    QSignalSpy reset(&source, &QAbstractItemModel::modelReset);
    source.setDataArray(DspRows{{"2024/03/01 09:00:00", "CheckIn"}});
    QCOMPARE(source.rowCount(), 1);
    source.setDataArray(DspRows{});
    QCOMPARE(source.rowCount(), 0);
    QVERIFY(source.dataArray().has_value());
    source.setDataArray(std::nullopt);
    QCOMPARE(source.rowCount(), 0);
    QVERIFY(!source.dataArray().has_value());
    QCOMPARE(reset.count(), 3);
    QVERIFY(!source.objectValue("keyDateStr", 0));
}

void TestMyDataSource::cellsFollowColumnIdentifiers() {
    MyDataSource source(columns::DailySums);
    QAbstractItemModelTester tester(&source,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    source.setDataArray(DspRows{{"20240103", "08:00:00"}, {"20240105", "-00:01:30"}});

    QCOMPARE(source.headerData(0, Qt::Horizontal, MyDataSource::IdentifierRole).toString(),
             QString("keyDateStr"));
    QCOMPARE(source.headerData(1, Qt::Horizontal, MyDataSource::IdentifierRole).toString(),
             QString("dataStr"));
    QCOMPARE(source.index(1, 0).data().toString(), QString("20240105"));
    QCOMPARE(source.index(1, 1).data().toString(), QString("-00:01:30"));
    QCOMPARE(source.objectValue("dataStr", 0), QString("08:00:00"));
    QCOMPARE(source.objectValue("sumValue", 0), std::nullopt);
    QCOMPARE(source.objectValue("keyDateStr", 2), std::nullopt);
    QCOMPARE(source.objectValue("keyDateStr", -1), std::nullopt);
    QVERIFY(!(source.flags(source.index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!source.setData(source.index(0, 1), "00:00:00"));
    QCOMPARE(source.index(0, 1).data().toString(), QString("08:00:00"));
}

void TestMyDataSource::headingsAndAlignment_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<bool>("rightAligned");
    QTest::newRow("log") << 0 << "Time"
                         << "Event" << false;
    QTest::newRow("daily sums") << 1 << "Day"
                                << "Worked" << true;
    QTest::newRow("monthly sums") << 2 << "Month"
                                  << "Worked" << true;
}

void TestMyDataSource::headingsAndAlignment() {
    QFETCH(int, kind);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(bool, rightAligned);

    const ReportColumns all[] = {columns::Log, columns::DailySums, columns::MonthlySums};
    MyDataSource source(all[kind]);
    source.setDataArray(DspRows{{"a", "b"}});
    QCOMPARE(source.headerData(0, Qt::Horizontal).toString(), left);
    QCOMPARE(source.headerData(1, Qt::Horizontal).toString(), right);
    const auto alignment = Qt::Alignment(source.index(0, 1).data(Qt::TextAlignmentRole).toInt());
    QCOMPARE(bool(alignment & Qt::AlignRight), rightAligned);
    const auto keyAlignment = Qt::Alignment(source.index(0, 0).data(Qt::TextAlignmentRole).toInt());
    QVERIFY(keyAlignment & Qt::AlignLeft);
}

QTEST_GUILESS_MAIN(TestMyDataSource)
#include "tst_mydatasource.moc"
