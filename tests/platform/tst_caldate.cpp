#include "platform/caldate.h"
#include "platform/texts.h"
#include "platform/version.h"

#include <QTest>

using namespace fennick;

namespace {

void useZone(const QByteArray& zone) {
    qputenv("TZ", zone);
    timeZoneChanged();
}

CalDate compact(const char* text) {
    const auto date = CalDate::parse(QString::fromLatin1(text), CalFormat::Compact);
    if (!date)
        qFatal("bad test timestamp %s", text);
    return *date;
}

} // namespace

class TestCalDate : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { useZone("UTC"); }

    void roundTrip_data();
    void roundTrip();
    void parseRejects_data();
    void parseRejects();
    void firstInstants_data();
    void firstInstants();
    void arithmetic_data();
    void arithmetic();
    void monthKeys_data();
    void monthKeys();
    void clamp_data();
    void clamp();
    void durations_data();
    void durations();
    void safeFormats_data();
    void safeFormats();
    void versionGate_data();
    void versionGate();
};

void TestCalDate::roundTrip_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("text");
    QTest::newRow("berlin summer") << QByteArray("Europe/Berlin") << "20240715093000";
    QTest::newRow("berlin winter") << QByteArray("Europe/Berlin") << "20240115235959";
    QTest::newRow("sao paulo") << QByteArray("America/Sao_Paulo") << "20181103235959";
    QTest::newRow("lord howe") << QByteArray("Australia/Lord_Howe") << "20241006023000";
    QTest::newRow("year 0") << QByteArray("UTC") << "00000101000000";
    QTest::newRow("year 9999") << QByteArray("Europe/Berlin") << "99991231235959";
    QTest::newRow("leap day") << QByteArray("Europe/Berlin") << "20240229120000";
}

void TestCalDate::roundTrip() {
    QFETCH(QByteArray, zone);
    QFETCH(QString, text);
    useZone(zone);
    const auto date = CalDate::parse(text, CalFormat::Compact);
    QVERIFY(date);
    QCOMPARE(date->format(CalFormat::Compact), text);
    const auto again = CalDate::parse(date->format(CalFormat::Display), CalFormat::Display);
    QVERIFY(again);
    QCOMPARE(again->instant(), date->instant());
    QCOMPARE(CalDate::fromInstant(date->instant()).fields(), date->fields());
}

void TestCalDate::parseRejects_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("format");
    const int c = int(CalFormat::Compact);
    QTest::newRow("month 13") << "20241301000000" << c;
    QTest::newRow("month 00") << "20240001000000" << c;
    QTest::newRow("day 32") << "20240132000000" << c;
    QTest::newRow("february 30") << "20240230000000" << c;
    QTest::newRow("february 29, no leap year") << "20230229000000" << c;
    QTest::newRow("hour 24") << "20240101240000" << c;
    QTest::newRow("minute 60") << "20240101006000" << c;
    QTest::newRow("second 60") << "20240101000060" << c;
    QTest::newRow("13 digits") << "2024010100000" << c;
    QTest::newRow("15 digits") << "202401010000000" << c;
    QTest::newRow("all nines") << "99999999999999" << c;
    QTest::newRow("letters") << "2024O101000000" << c;
    QTest::newRow("trailing space") << "20240101000000 " << c;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٠٢٤٠١٠١٠٠٠٠٠٠") << c;
    QTest::newRow("empty") << "" << c;
    QTest::newRow("display with dashes") << "2024-01-01 00:00:00" << int(CalFormat::Display);
    QTest::newRow("compact as display") << "20240101000000" << int(CalFormat::Display);
}

void TestCalDate::parseRejects() {
    QFETCH(QString, text);
    QFETCH(int, format);
    QVERIFY(!CalDate::parse(text, CalFormat(format)));
}

// The first instant of a day is its key followed by "000000"; a day is as long
// as the distance to the next day's first instant.
void TestCalDate::firstInstants_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("firstInstant");
    QTest::addColumn<qint64>("dayLength");
    QTest::newRow("berlin spring") << QByteArray("Europe/Berlin") << "20240331"
                                   << "2024/03/31 00:00:00" << qint64(82800);
    QTest::newRow("berlin autumn") << QByteArray("Europe/Berlin") << "20241027"
                                   << "2024/10/27 00:00:00" << qint64(90000);
    QTest::newRow("sao paulo day before jump") << QByteArray("America/Sao_Paulo") << "20181103"
                                               << "2018/11/03 00:00:00" << qint64(86400);
    QTest::newRow("sao paulo midnight jump") << QByteArray("America/Sao_Paulo") << "20181104"
                                             << "2018/11/04 01:00:00" << qint64(82800);
    QTest::newRow("sao paulo midnight repeated") << QByteArray("America/Sao_Paulo") << "20190216"
                                                 << "2019/02/16 00:00:00" << qint64(90000);
    QTest::newRow("lord howe spring") << QByteArray("Australia/Lord_Howe") << "20241006"
                                      << "2024/10/06 00:00:00" << qint64(84600);
    QTest::newRow("lord howe autumn") << QByteArray("Australia/Lord_Howe") << "20240407"
                                      << "2024/04/07 00:00:00" << qint64(88200);
}

void TestCalDate::firstInstants() {
    QFETCH(QByteArray, zone);
    QFETCH(QString, day);
    QFETCH(QString, firstInstant);
    QFETCH(qint64, dayLength);
    useZone(zone);
    const auto start = CalDate::parse(day + QLatin1String("000000"), CalFormat::Compact);
    QVERIFY(start);
    QCOMPARE(start->format(CalFormat::Display), firstInstant);
    const CalDate next = start->nextDayStart();
    QCOMPARE(qint64(next.intervalSince(*start)), dayLength);
    QCOMPARE(next, *CalDate::parse(next.format(CalFormat::Compact).left(8) + "000000",
                                   CalFormat::Compact));
    QCOMPARE(start->addDays(1).format(CalFormat::Compact).left(8),
             next.format(CalFormat::Compact).left(8));
}

void TestCalDate::arithmetic_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qint64>("instant"); // 0 = not checked
    const QByteArray berlin("Europe/Berlin");
    QTest::newRow("gap moves forward") << berlin << "20240331023000" << 0 << 0
                                       << "2024/03/31 03:30:00" << qint64(1711848600);
    QTest::newRow("repeated hour reads first") << berlin << "20241027023000" << 0 << 0
                                               << "2024/10/27 02:30:00" << qint64(1729989000);
    QTest::newRow("repeated at midnight, sao paulo")
        << QByteArray("America/Sao_Paulo") << "20190216233000" << 0 << 0 << "2019/02/16 23:30:00"
        << qint64(1550367000);
    QTest::newRow("month after december") << berlin << "20241201000000" << 1 << 0
                                          << "2025/01/01 00:00:00" << qint64(0);
    QTest::newRow("month across spring change") << berlin << "20240301000000" << 1 << 0
                                                << "2024/04/01 00:00:00" << qint64(0);
    QTest::newRow("day into midnight gap") << QByteArray("America/Sao_Paulo") << "20181103000000"
                                           << 0 << 1 << "2018/11/04 01:00:00" << qint64(0);
    QTest::newRow("month start in lord howe") << QByteArray("Australia/Lord_Howe")
                                              << "20241001000000" << 1 << 0
                                              << "2024/11/01 00:00:00" << qint64(0);
    QTest::newRow("months back across years") << berlin << "20240315120000" << -14 << 0
                                              << "2023/01/15 12:00:00" << qint64(0);
    QTest::newRow("missing day carries") << berlin << "20240131000000" << 1 << 0
                                         << "2024/03/02 00:00:00" << qint64(0);
}

void TestCalDate::arithmetic() {
    QFETCH(QByteArray, zone);
    QFETCH(QString, from);
    QFETCH(int, months);
    QFETCH(int, days);
    QFETCH(QString, expected);
    QFETCH(qint64, instant);
    useZone(zone);
    CalDate date = compact(from.toLatin1().constData());
    if (months)
        date = date.addMonths(months);
    if (days)
        date = date.addDays(days);
    QCOMPARE(date.format(CalFormat::Display), expected);
    if (instant)
        QCOMPARE(qint64(date.instant()), instant);
}

void TestCalDate::monthKeys_data() {
    QTest::addColumn<QString>("now");
    QTest::addColumn<int>("back");
    QTest::addColumn<QString>("key");
    QTest::newRow("current") << "20240331235959" << 0 << "202403";
    QTest::newRow("across a year") << "20240301000000" << 3 << "202312";
    QTest::newRow("thirteen back") << "20240301000000" << 13 << "202302";
    QTest::newRow("day 31 has no trouble") << "20240331120000" << 1 << "202402";
}

void TestCalDate::monthKeys() {
    QFETCH(QString, now);
    QFETCH(int, back);
    QFETCH(QString, key);
    QCOMPARE(monthKeyBefore(compact(now.toLatin1().constData()), back), key);
    QCOMPARE(compact("20240101000000").format(CalFormat::LogFileName), QString("TLOG202401.txt"));
}

void TestCalDate::clamp_data() {
    QTest::addColumn<double>("in");
    QTest::addColumn<int>("out");
    QTest::newRow("truncates toward zero") << -1.9 << -1;
    QTest::newRow("positive") << 30600.7 << 30600;
    QTest::newRow("too large") << 1e12 << std::numeric_limits<int>::max();
    QTest::newRow("too small") << -1e12 << std::numeric_limits<int>::min();
    QTest::newRow("not a number") << std::nan("") << 0;
}

void TestCalDate::clamp() {
    QFETCH(double, in);
    QFETCH(int, out);
    QCOMPARE(int(clampSeconds(in)), out);
}

void TestCalDate::durations_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("expected");
    const QString day = QStringLiteral("%02d:%02d:%02d");
    const QString month = QStringLiteral("%03d:%02d:%02d");
    QTest::newRow("3661") << day << qint64(3661) << "01:01:01";
    QTest::newRow("zero") << day << qint64(0) << "00:00:00";
    QTest::newRow("100 hours, day") << day << qint64(360000) << "100:00:00";
    QTest::newRow("100 hours, month") << month << qint64(360000) << "100:00:00";
    QTest::newRow("widths are minimums") << month << qint64(3600000) << "1000:00:00";
    QTest::newRow("negative day") << day << qint64(-90) << "-00:01:30";
    QTest::newRow("negative month total")
        << QStringLiteral("Monthly sum: \t%03d:%02d:%02d") << qint64(-3661)
        << "Monthly sum: \t-001:01:01";
    QTest::newRow("int32 minimum") << day << qint64(std::numeric_limits<int>::min())
                                   << "-596523:14:08";
}

void TestCalDate::durations() {
    QFETCH(QString, format);
    QFETCH(qint64, seconds);
    QFETCH(QString, expected);
    QCOMPARE(fillDuration(format, seconds), expected);
}

void TestCalDate::safeFormats_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    QTest::newRow("word") << "Now %@..." << "CheckIn" << "Now CheckIn...";
    QTest::newRow("no placeholder") << "Hello" << "CheckIn" << "Hello";
    QTest::newRow("printf sequences stay") << "%s %n %x %@ %" << "W" << "%s %n %x W %";
    QTest::newRow("percent sign") << "100%% %@" << "W" << "100% W";
    QTest::newRow("int placeholder without value") << "%d %@" << "W" << "%d W";
}

void TestCalDate::safeFormats() {
    QFETCH(QString, format);
    QFETCH(QString, word);
    QFETCH(QString, expected);
    QCOMPARE(fillWord(format, word), expected);
    QCOMPARE(fillInts(QStringLiteral("%s%03d:%x:%02d %@"), {5, 7}), QString("%s005:%x:07 %@"));
}

void TestCalDate::versionGate_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("10.4.0 passes") << 0 << 0x1040u << true;
    QTest::newRow("later passes") << 0 << 0x1100u << true;
    QTest::newRow("10.3.15 refused") << 0 << 0x103Fu << false;
    QTest::newRow("error refused") << -1 << 0x1040u << false;
}

void TestCalDate::versionGate() {
    QFETCH(int, error);
    QFETCH(uint, value);
    QFETCH(bool, allowed);
    QCOMPARE(versionAllowed(VersionAnswer{error, value}), allowed);
    QVERIFY(versionAllowed(queryVersion("6.4.2", 6, 4)));
    QVERIFY(versionAllowed(queryVersion("7.0.0", 6, 4)));
    QVERIFY(!versionAllowed(queryVersion("6.3.9", 6, 4)));
    QVERIFY(!versionAllowed(queryVersion("garbage", 6, 4)));
    QVERIFY(!versionAllowed(queryVersion(nullptr, 6, 4)));
}

QTEST_GUILESS_MAIN(TestCalDate)
#include "tst_caldate.moc"
