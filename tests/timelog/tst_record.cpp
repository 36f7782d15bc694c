#include "timelog/record.h"

#include <QDeadlineTimer>
#include <QTest>

using namespace fennick;

namespace {

// "in <token>" / "out <token>" for every record the reader hands over.
QStringList readRecords(QStringView text) {
    QStringList out;
    forEachRecord(text, [&](const Record& r) {
        out << QString(r.kind == PunchKind::CheckIn ? "in " : "out ") + r.timeToken.toString();
    });
    return out;
}

} // namespace

class TestRecord : public QObject {
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void hugeLines();
    void recordLine();
};

void TestRecord::reading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records");
    const QStringList none, in1{"in 1"};
    QTest::newRow("comments and blank lines") << "# b CheckIn: 1\n\n \t \n#\n" << none;
    QTest::newRow("written lines") << "2004/02/15 09:30:00\tCheckIn:\t20040215093000\n"
                                      "2004/02/15 18:00:00\tCheckOut:\t20040215180000"
                                   << QStringList{"in 20040215093000", "out 20040215180000"};
    QTest::newRow("CRLF, space and tab runs") << "a b CheckIn:  \t1\r\n  c\t\td CheckOut: 2\r\n"
                                              << QStringList{"in 1", "out 2"};
    QTest::newRow("CR only is one line") << "a b CheckIn: 1\rc d CheckOut: 2\r" << in1;
    QTest::newRow("case, colon") << "a b checkin: 1\na b CHECKOUT: 2\na b CheckIn 3\n" << none;
    QTest::newRow("indented hash") << " \t# b CheckIn: 1\n\u3000# b CheckIn: 2" << none;
    QTest::newRow("3 tokens, # later, 5th") << "a b CheckIn:\nc # CheckIn: 1 x CheckOut: 2" << in1;
    QTest::newRow("controls do not separate") << "x a\x1c\x08\x0e\x1f\x7f\u200bb CheckIn: 1" << in1;
    QTest::newRow("Unicode spaces separate tokens, not lines")
        << "\u00a0a\u3000b\u0085CheckIn:\u20291\u2028c d CheckOut: 2" << in1;
}

void TestRecord::reading() {
    QFETCH(QString, text);
    QFETCH(QStringList, records);
    QCOMPARE(readRecords(text), records);
}

// Lines of megabytes are read in linear time and do not disturb their
// neighbours.
void TestRecord::hugeLines() {
    const QString oneToken = QString(4 << 20, u'x') + "\na b CheckIn: 1\n";
    const QString manyTokens =
        "a b CheckOut: 2" + QString(" t").repeated(2 << 20) + "\nc d CheckIn: 3";
    const QDeadlineTimer deadline(5000);
    QCOMPARE(readRecords(oneToken + manyTokens), (QStringList{"in 1", "out 2", "in 3"}));
    QVERIFY2(!deadline.hasExpired(), "reading huge lines took too long");
}

// The writing time, the kind token and the punch time, tab-separated.
void TestRecord::recordLine() {
    QCOMPARE(makeRecordLine(*CalDate::fromFields({2004, 2, 15, 9, 30}), PunchKind::CheckOut,
                            *CalDate::fromFields({2004, 2, 14, 17, 30})),
             QString("2004/02/15 09:30:00\tCheckOut:\t20040214173000\n"));
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
