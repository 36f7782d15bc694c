#include "timelog/logfile.h"
#include "timelog/record.h"

#include <QElapsedTimer>
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

QByteArray utf8(const char16_t* text) {
    return QString::fromUtf16(text).toUtf8();
}

} // namespace

class TestRecord : public QObject {
    Q_OBJECT

private slots:
    void readingRules_data();
    void readingRules();
    void hugeLines();
    void recordLine();
};

void TestRecord::readingRules_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("records");
    const QStringList none;
    const QStringList in1{"in 1"};
    QTest::newRow("zero bytes") << QByteArray() << none;
    QTest::newRow("comments and blank lines")
        << QByteArray("# a b CheckIn: 1\n\n \t \n#\n") << none;
    QTest::newRow("written lines") << QByteArray("2004/02/15 09:30:00\tCheckIn:\t20040215093000\n"
                                                 "2004/02/15 18:00:00\tCheckOut:\t20040215180000\n")
                                   << QStringList{"in 20040215093000", "out 20040215180000"};
    QTest::newRow("no line feed at the end")
        << QByteArray("a b CheckIn: 1\nc d CheckOut: 2") << QStringList{"in 1", "out 2"};
    QTest::newRow("CRLF") << QByteArray("a b CheckIn: 1\r\nc d CheckOut: 2\r\n")
                          << QStringList{"in 1", "out 2"};
    QTest::newRow("CR only is one line") << QByteArray("a b CheckIn: 1\rc d CheckOut: 2\r") << in1;
    QTest::newRow("spaces and tab runs") << QByteArray("  a  \t b\t\t CheckIn: \t1  ") << in1;
    QTest::newRow("letter case") << QByteArray("a b checkin: 1\na b CHECKOUT: 2\n") << none;
    QTest::newRow("missing colon") << QByteArray("a b CheckIn 1\na b CheckOut 2\n") << none;
    QTest::newRow("writing time without its space")
        << QByteArray("2004/02/1509:30:00\tCheckIn:\t20040215093000 x\n") << none;
    QTest::newRow("indented hash") << QByteArray("  \t# a b CheckIn: 1\n") << none;
    QTest::newRow("hash later in a line") << QByteArray("a # CheckIn: 1\n") << in1;
    QTest::newRow("fifth token") << QByteArray("a b CheckOut: 2 junk CheckIn: 3\n")
                                 << QStringList{"out 2"};
    QTest::newRow("three tokens, next line read")
        << QByteArray("a b CheckIn:\nc d CheckIn: 1") << in1;
    QTest::newRow("any time token") << QByteArray("a b CheckIn: soon\n") << QStringList{"in soon"};
    QTest::newRow("NUL bytes") << QByteArrayLiteral("a\0b c CheckIn: 1\na b CheckOut: 2\0\n")
                               << QStringList{"in 1", QStringLiteral("out 2") + QChar(0)};
    QTest::newRow("invalid UTF-8")
        << QByteArray("\xc3( b CheckIn: 1\na b Check\xffOut: 2\n") << in1;
    QTest::newRow("U+2028 separates tokens, not lines")
        << utf8(u"a\u2028b\u2028CheckIn:\u20281\u2028c d CheckOut: 2") << in1;
    QTest::newRow("U+00A0 and U+0085")
        << utf8(u"\u00a0a\u00a0b\u0085CheckOut:\u00852\n") << QStringList{"out 2"};
    QTest::newRow("U+3000 indents a comment") << utf8(u"\u3000# a b CheckIn: 1") << none;
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray("\xff\xfe") +
               QByteArray(reinterpret_cast<const char*>(u"a b CheckIn: 1\n"), 30)
        << in1;
}

void TestRecord::readingRules() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, records);
    QCOMPARE(readRecords(decodeLogBytes(bytes)), records);
}

// Lines of megabytes are read in linear time and do not disturb their
// neighbours.
void TestRecord::hugeLines() {
    const QString oneToken = QString(4 << 20, u'x') + QStringLiteral("\na b CheckIn: 1\n");
    QString manyTokens = QStringLiteral("a b CheckOut: 2");
    manyTokens += QString(" t").repeated(2 << 20) + QStringLiteral("\nc d CheckIn: 3");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(readRecords(oneToken), QStringList{"in 1"});
    QCOMPARE(readRecords(manyTokens), (QStringList{"out 2", "in 3"}));
    QVERIFY2(timer.elapsed() < 5000, "reading huge lines took too long");
}

void TestRecord::recordLine() {
    qputenv("TZ", "Europe/Berlin");
    timeZoneChanged();
    const auto at = CalDate::parse(u"20040215093000", CalFormat::Compact);
    const auto punch = CalDate::parse(u"20040214173000", CalFormat::Compact);
    const QString in = makeRecordLine(*at, PunchKind::CheckIn, *at);
    const QString out = makeRecordLine(*at, PunchKind::CheckOut, *punch);
    QCOMPARE(in, QString("2004/02/15 09:30:00\tCheckIn:\t20040215093000\n"));
    QCOMPARE(out.size(), 45);
    QCOMPARE(readRecords(in + out), (QStringList{"in 20040215093000", "out 20040214173000"}));
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
