#include "platform/caldate.h"
#include "platform/clock.h"
#include "summary/monthsumhandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <limits>

using namespace fennick;

namespace {

constexpr int kMax = std::numeric_limits<std::int32_t>::max();
constexpr int kMin = std::numeric_limits<std::int32_t>::min();

void useZone(const QByteArray& zone) {
    qputenv("TZ", zone);
    timeZoneChanged();
}

CalDate compact(const QString& text) {
    const auto date = CalDate::parse(text, CalFormat::Compact);
    if (!date)
        qFatal("bad test timestamp %s", qPrintable(text));
    return *date;
}

// "I 20240305090000, O 20240305173000" -> record lines as the store writes
// them; the writing time is deliberately unrelated to the punch time.
QString punches(const QString& list) {
    QString text;
    for (const QString& item : list.split(u',', Qt::SkipEmptyParts)) {
        const QString punch = item.trimmed();
        const QString kind = punch.startsWith(u'I') ? "CheckIn:" : "CheckOut:";
        text += "1999/12/31 23:59:59\t" + kind + "\t" + punch.mid(2) + "\n";
    }
    return text;
}

// "20240305=7200 20240306=21600"; also checks that no entry carries a key.
QString describe(const DayTotals& days) {
    QStringList parts;
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        if (it.value().keyDateStr())
            return "entry with keyDateStr at " + it.key();
        parts << it.key() + "=" + QString::number(it.value().sumValue());
    }
    return parts.join(u' ');
}

qint64 sumOf(const DayTotals& days) {
    qint64 sum = 0;
    for (const sumobject& day : days)
        sum += day.sumValue();
    return sum;
}

// Answers the two kind words from a translation, counting the lookups.
class KindWords : public QTranslator {
public:
    mutable int lookups = 0;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* key, const char*, int) const override {
        if (qstrcmp(context, "InfoPlist") != 0)
            return {};
        ++lookups;
        if (qstrcmp(key, "checkIN") == 0)
            return QStringLiteral("Kommen");
        if (qstrcmp(key, "checkOUT") == 0)
            return QStringLiteral("Gehen");
        return {};
    }
};

} // namespace

class TestMonthSumHandler : public QObject {
    Q_OBJECT

private slots:
    void init() { useZone("Europe/Berlin"); }
    void cleanupTestCase() { useZone("UTC"); }

    void listing_data();
    void listing();
    void listingUsesTranslationOnce();
    void totals_data();
    void totals();
    void monthEndCountsOnce();
    void openIntervalGrows();
    void booking_data();
    void booking();
    void fileLayer();
    void daysAddUpToMonth_data();
    void daysAddUpToMonth();
};

void TestMonthSumHandler::listing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    const auto add = [](const char* name, const QString& text, const QStringList& rows) {
        QTest::newRow(name) << text << rows;
    };
    add("empty", "", {});
    add("comments and blanks only", "# x\n\n   \n\t# 2024/01/01 00:00:00\tCheckIn:\t1\n", {});
    add("file order, unpaired", punches("O 20240305173000, I 20240305090000, I 20240306090000"),
        {"2024/03/05 17:30:00|CheckOut", "2024/03/05 09:00:00|CheckIn",
         "2024/03/06 09:00:00|CheckIn"});
    add("time token, not writing time", "2004/02/15 09:30:00\tCheckIn:\t20040215093001\n",
        {"2004/02/15 09:30:01|CheckIn"});
    add("kind token case and colon",
        "a b checkin: 20240305090000\na b CheckIn 20240305090000\na b CHECKOUT: 20240305090000\n",
        {});
    add("three tokens out, fifth ignored",
        "a b CheckIn:\na b CheckOut: 20240305100000 extra tokens\n",
        {"2024/03/05 10:00:00|CheckOut"});
    add("other month listed", punches("I 20231224080000"), {"2023/12/24 08:00:00|CheckIn"});
    add("time in the spring gap moves forward", punches("I 20240331023000"),
        {"2024/03/31 03:30:00|CheckIn"});
    add("unparsable token keeps its row",
        punches("I 20241305090000, O 2024030509000, I 99999999999999, O 20240332100000"),
        {"|CheckIn", "|CheckOut", "|CheckIn", "|CheckOut"});
    add("crlf, spaces, indent",
        "  2024/03/05 09:00:00 \t CheckIn:  20240305090000\r\n\r\n"
        "\t# a b CheckOut: 20240305120000\r\nx  y CheckOut:\t20240305120000",
        {"2024/03/05 09:00:00|CheckIn", "2024/03/05 12:00:00|CheckOut"});
    add("unicode whitespace separates",
        QString::fromUtf8("a\u00a0b\u2003CheckIn:\v20240305090000\f\u2028x\n"
                          "\u0085a\u3000b\tCheckOut:\u2029 20240305100000\n"),
        {"2024/03/05 09:00:00|CheckIn", "2024/03/05 10:00:00|CheckOut"});
    add("control characters do not separate",
        "x a\x1c\x08\x0e\x1f\x7f\u200bb CheckIn: 20240305090000\n",
        {"2024/03/05 09:00:00|CheckIn"});
    add("carriage returns only: one line",
        "a b CheckIn: 20240305090000\ra b CheckOut: 20240305120000\r",
        {"2024/03/05 09:00:00|CheckIn"});
}

void TestMonthSumHandler::listing() {
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    const FixedClock clock(compact("20240601000000"));
    QStringList got;
    for (const myDspData& row : MonthSumHandler(std::nullopt, clock).getLogArrayBuff(text))
        got << row.keyDateStr + "|" + row.dataStr;
    QCOMPARE(got, rows);
}

void TestMonthSumHandler::listingUsesTranslationOnce() {
    KindWords words;
    QCoreApplication::installTranslator(&words);
    const FixedClock clock(compact("20240601000000"));
    QString text;
    for (int i = 0; i < 50; ++i)
        text += punches("I 20240305090000, O 20240305100000");
    const DspRows rows = MonthSumHandler(std::nullopt, clock).getLogArrayBuff(text);
    QCoreApplication::removeTranslator(&words);
    QCOMPARE(rows.size(), 100);
    QCOMPARE(rows.first().dataStr, QString("Kommen"));
    QCOMPARE(rows.last().dataStr, QString("Gehen"));
    QCOMPARE(words.lookups, 2);
}

namespace {

// One case of both totals: the month total with its key ("" = absent) and the
// day entries as describe() shows them.
void addTotals(const char* name, const char* zone, const QString& text, const char* now, int total,
               const char* key, const QString& days) {
    QTest::newRow(name) << QByteArray(zone) << text << QString(now) << total << QString(key)
                        << days;
}

} // namespace

void TestMonthSumHandler::totals_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("now");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("days");
    const char* berlin = "Europe/Berlin";
    const char* saoPaulo = "America/Sao_Paulo";
    const char* lordHowe = "Australia/Lord_Howe";
    const char* later = "20300101000000";
    const QString max = QString::number(kMax);
    const QString min = QString::number(kMin);
    const QString march1to5 = "20240301=86400 20240302=86400 20240303=86400 20240304=86400 "
                              "20240305=63000";
    // Pairing.
    addTotals("no punch lines", berlin, "# nothing\n\n", later, 0, "", "");
    addTotals("one pair", berlin, punches("I 20240305090000, O 20240305173000"), later, 30600,
              "202403", "20240305=30600");
    addTotals("second check-out counts again", berlin,
              punches("I 20240305090000, O 20240305120000, O 20240305130000"), later, 25200,
              "202403", "20240305=25200");
    addTotals("unpaired check-in dropped", berlin,
              punches("I 20240305080000, I 20240305090000, O 20240305170000"), later, 28800,
              "202403", "20240305=28800");
    addTotals("check-out from month start", berlin, punches("O 20240303060000"), later, 194400, "",
              "20240301=86400 20240302=86400 20240303=21600");
    addTotals("13-char check-in: from month start", berlin,
              punches("I 2024030509000, O 20240305173000"), later, 408600, "202403", march1to5);
    addTotals("15-char check-in: from month start", berlin,
              punches("I 202403050900000, O 20240305173000"), later, 408600, "202403", march1to5);
    addTotals("key of the latest check-in", berlin,
              punches("I 20240305090000, O 20240305100000, I 20240410090000, O 20240410100000"),
              later, 7200, "202404", "20240305=3600 20240410=3600");
    addTotals("kind without time token leaves the flag", berlin,
              punches("I 20240305090000") + "2024/03/05 10:00:00\tCheckOut:\n", "20240305120000",
              10800, "202403", "20240305=10800");
    addTotals("open at month end", berlin, punches("I 20240131220000"), later, 7200, "202401",
              "20240131=7200");
    // Midnights and negative intervals.
    addTotals("across midnight", berlin, punches("I 20240305220000, O 20240306060000"), later,
              28800, "202403", "20240305=7200 20240306=21600");
    addTotals("ends at midnight stays before", berlin,
              punches("I 20240305220000, O 20240306000000"), later, 7200, "202403",
              "20240305=7200");
    addTotals("several days", berlin, punches("I 20240305200000, O 20240308080000"), later, 216000,
              "202403", "20240305=14400 20240306=86400 20240307=86400 20240308=28800");
    addTotals("zero length", berlin, punches("I 20240305090000, O 20240305090000"), later, 0,
              "202403", "20240305=0");
    addTotals("negative shrinks the total", berlin,
              punches("I 20240305080000, O 20240305100000, I 20240305173000, O 20240305090000"),
              later, -23400, "202403", "20240305=-23400");
    addTotals("negative across midnight: whole to start day", berlin,
              punches("I 20240306010000, O 20240305230000"), later, -7200, "202403",
              "20240306=-7200");
    addTotals("clock set back before check-in", berlin, punches("I 20240615120000"),
              "20240614100000", -93600, "202406", "20240615=-93600");
    // Tokens that do not read as dates count 0; the pass goes on.
    addTotals("month 13 check-in", berlin,
              punches("I 20241305090000, O 20240305100000, I 20240305090000, O 20240305100000"),
              later, 3600, "202403", "20240305=3600");
    addTotals("day 32 check-out", berlin,
              punches("I 20240305090000, O 20240332100000, O 20240305100000"), later, 3600,
              "202403", "20240305=3600");
    addTotals("all nines, short token", berlin,
              punches("O 99999999999999, O 2024, I 99999999999999"), later, 0, "999999", "");
    addTotals("year 0 to 9999 clamps, whole to start day", berlin,
              punches("I 00000101000000, O 99991231235959"), later, kMax, "000001",
              "00000101=" + max);
    addTotals("intervals clamp one by one", berlin,
              punches("I 00000101000000, O 99991231235959, I 99991231235959, O 00000101000000"),
              later, -1, "999912", "00000101=" + max + " 99991231=" + min);
    addTotals("total saturates", berlin,
              punches("I 00000101000000, O 99991231235959, O 99991231235959"), later, kMax,
              "000001", "00000101=" + max);
    addTotals("open in year 9999", berlin, punches("I 99991231220000"), "99991231235959", 7199,
              "999912", "99991231=7199");
    // Days on which the clocks change.
    addTotals("berlin spring day", berlin, punches("I 20240330220000, O 20240401020000"), later,
              97200, "202403", "20240330=7200 20240331=82800 20240401=7200");
    addTotals("berlin autumn day", berlin, punches("I 20241026220000, O 20241028020000"), later,
              104400, "202410", "20241026=7200 20241027=90000 20241028=7200");
    addTotals("sao paulo midnight jump", saoPaulo, punches("I 20181103220000, O 20181105020000"),
              later, 97200, "201811", "20181103=7200 20181104=82800 20181105=7200");
    addTotals("sao paulo from month start over the jump", saoPaulo, punches("O 20181105060000"),
              later, 363600, "",
              "20181101=86400 20181102=86400 20181103=86400 20181104=82800 20181105=21600");
    addTotals("sao paulo open into the jump day", saoPaulo, punches("I 20181103220000"),
              "20181104013000", 9000, "201811", "20181103=7200 20181104=1800");
    addTotals("sao paulo repeated midnight hour", saoPaulo,
              punches("I 20190215220000, O 20190217020000"), later, 104400, "201902",
              "20190215=7200 20190216=90000 20190217=7200");
    addTotals("sao paulo inside the repeated hour", saoPaulo,
              punches("I 20190216233000, O 20190217003000"), later, 7200, "201902",
              "20190216=5400 20190217=1800");
    addTotals("lord howe spring", lordHowe, punches("I 20241005220000, O 20241007020000"), later,
              99000, "202410", "20241005=7200 20241006=84600 20241007=7200");
    addTotals("lord howe autumn", lordHowe, punches("I 20240406220000, O 20240408020000"), later,
              102600, "202404", "20240406=7200 20240407=88200 20240408=7200");
}

void TestMonthSumHandler::totals() {
    QFETCH(QByteArray, zone);
    QFETCH(QString, text);
    QFETCH(QString, now);
    QFETCH(int, total);
    QFETCH(QString, key);
    QFETCH(QString, days);
    useZone(zone);
    const FixedClock clock(compact(now));
    const MonthSumHandler handler(std::nullopt, clock);
    const sumobject sum = handler.sumMonthBuff(text);
    QCOMPARE(int(sum.sumValue()), total);
    QCOMPARE(sum.keyDateStr().value_or(QString()), key);
    QCOMPARE(sum.keyDateStr().has_value(), !key.isEmpty());
    const DayTotals dayTotals = handler.sumDayBuff(text);
    QCOMPARE(describe(dayTotals), days);
    QCOMPARE(sumOf(dayTotals), qint64(total));
}

// A stretch across a month end: each month's file counts its own part.
void TestMonthSumHandler::monthEndCountsOnce() {
    const FixedClock clock(compact("20240315000000"));
    const MonthSumHandler handler(std::nullopt, clock);
    const QString january = punches("I 20240131220000");
    const QString february = punches("O 20240201060000");
    const int whole = int(compact("20240201060000").intervalSince(compact("20240131220000")));
    QCOMPARE(int(handler.sumMonthBuff(january).sumValue()), 7200);
    QCOMPARE(handler.sumMonthBuff(january).sumValue() + handler.sumMonthBuff(february).sumValue(),
             whole);
    QCOMPARE(describe(handler.sumDayBuff(january)), QString("20240131=7200"));
    QCOMPARE(describe(handler.sumDayBuff(february)), QString("20240201=21600"));
}

void TestMonthSumHandler::openIntervalGrows() {
    FixedClock clock(compact("20240615120000"));
    const MonthSumHandler handler(std::nullopt, clock);
    const QString text = punches("I 20240615090000");
    QCOMPARE(int(handler.sumMonthBuff(text).sumValue()), 10800);
    clock.advance(90000);
    QCOMPARE(int(handler.sumMonthBuff(text).sumValue()), 100800);
    QCOMPARE(describe(handler.sumDayBuff(text)), QString("20240615=54000 20240616=46800"));
}

void TestMonthSumHandler::booking_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<int>("preset"); // already on 5 March 2024; 0: no entry
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("firstEntry");
    QTest::addColumn<qint64>("sum");
    const auto add = [](const char* name, const char* zone, int preset, const char* from,
                        const char* to, int entries, const QString& first, qint64 sum) {
        QTest::newRow(name) << QByteArray(zone) << preset << QString(from) << QString(to) << entries
                            << first << sum;
    };
    add("a year, cut every midnight", "UTC", 0, "20230101000000", "20240102000000", 366,
        "20230101=86400", 31622400);
    add("a second longer: whole", "UTC", 0, "20230101000000", "20240102000001", 1,
        "20230101=31622401", 31622401);
    add("adds to an existing entry", "Europe/Berlin", 1000, "20240304230000", "20240305010000", 2,
        "20240304=3600", 1000 + 7200);
    add("negative, days apart: start day only", "Europe/Berlin", 1000, "20240310120000",
        "20240305120000", 2, "20240305=1000", 1000 - 432000);
    add("entry saturates", "Europe/Berlin", kMax - 100, "20240305100000", "20240305110000", 1,
        "20240305=" + QString::number(kMax), kMax);
}

void TestMonthSumHandler::booking() {
    QFETCH(QByteArray, zone);
    QFETCH(int, preset);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, entries);
    QFETCH(QString, firstEntry);
    QFETCH(qint64, sum);
    useZone(zone);
    DayTotals days;
    if (preset)
        days["20240305"].setSumValue(preset);
    DayTotals& result = MonthSumHandler::calcDayByDaySums(days, compact(to), compact(from));
    QCOMPARE(&result, &days);
    QCOMPARE(days.size(), entries);
    QCOMPARE(days.firstKey() + "=" + QString::number(days.first().sumValue()), firstEntry);
    QCOMPARE(sumOf(days), sum);
}

void TestMonthSumHandler::fileLayer() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const FixedClock clock(compact("20240615120000"));
    const MonthSumHandler none(std::nullopt, clock);
    QVERIFY(!none.getLogArray() && !none.calcMonthSum() && !none.calcDaySum());

    const QString path = dir.filePath("TLOG202403.txt");
    MonthSumHandler handler(path, clock);
    QVERIFY(!handler.getLogArray() && !handler.calcMonthSum() && !handler.calcDaySum());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(handler.getLogArray(), DspRows{}); // present, empty: read again
    QCOMPARE(handler.calcMonthSum()->sumValue(), 0);
    QVERIFY(handler.calcDaySum()->isEmpty());

    QVERIFY(file.open(QIODevice::WriteOnly));
    const QString text = punches("I 20240305220000, O 20240306060000");
    file.write("\xFF\xFE");
    file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    file.close();
    QCOMPARE(handler.getLogArray()->size(), 2);
    QCOMPARE(handler.calcMonthSum()->sumValue(), 28800);
    QCOMPARE(describe(*handler.calcDaySum()), QString("20240305=7200 20240306=21600"));

    handler.setMonthFilePath(dir.path()); // a directory cannot be read as a file
    QVERIFY(!handler.getLogArray() && !handler.calcMonthSum() && !handler.calcDaySum());
    handler.setMonthFilePath(path + "/below-a-file");
    QVERIFY(!handler.getLogArray());
}

namespace {

// A compact timestamp up to `spread` seconds either side of `base`, sometimes
// mangled the way hand edits mangle them.
QString randomToken(QRandomGenerator& rng, const CalDate& base, qint64 spread, bool absurd) {
    const qint64 offset = qint64(rng.bounded(2 * double(spread))) - spread;
    const QString token = CalDate::fromInstant(base.instant() + offset).format(CalFormat::Compact);
    switch (rng.bounded(absurd ? 14 : 12)) {
    case 0:
        return token.left(13);
    case 1:
        return token + "0";
    case 2:
        return token.left(4) + "13" + token.mid(6);
    case 3:
        return token.left(6) + "32" + token.mid(8);
    case 12:
        return rng.bounded(2) ? "00000101000000" : "99991231235959";
    case 13:
        return QString("%1").arg(rng.bounded(10000), 4, 10, QChar(u'0')) + token.mid(4);
    default:
        return token;
    }
}

QString randomText(QRandomGenerator& rng, const CalDate& month, bool absurd) {
    QString text;
    const int lines = rng.bounded(40);
    for (int i = 0; i < lines; ++i) {
        const QString token = randomToken(rng, month, 50 * 86400, absurd);
        const char* kind = rng.bounded(2) ? "CheckIn:" : "CheckOut:";
        switch (rng.bounded(10)) {
        case 0:
            text += QString("# 2024/01/01 00:00:00\t%1\t%2\n").arg(kind, token);
            break;
        case 1:
            text += QString("2024/01/01 00:00:00\t%1\r\n").arg(kind);
            break;
        default:
            text += QString("2024/01/01 00:00:00\t%1\t%2\n").arg(kind, token);
        }
    }
    return text;
}

const QList<QByteArray> kZones{"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe", "UTC"};

} // namespace

void TestMonthSumHandler::daysAddUpToMonth_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<bool>("absurd");
    for (const QByteArray& zone : kZones) {
        QTest::newRow(zone.constData()) << zone << false;
        QTest::newRow((zone + ", absurd tokens").constData()) << zone << true;
    }
}

// For the same text and the same now, the day entries add up to the month
// total. Realistic spans never reach the 32-bit limits, so the sums are equal
// exactly. Absurd tokens (years 0000 to 9999) may clamp a day total; only
// when none is clamped must the days add up to the clamped month total.
void TestMonthSumHandler::daysAddUpToMonth() {
    QFETCH(QByteArray, zone);
    QFETCH(bool, absurd);
    useZone(zone);
    QRandomGenerator rng(20240305);
    int checked = 0;
    for (int round = 0; round < 300; ++round) {
        const CalDate month = compact(QString("%1%2")
                                          .arg(2017 + rng.bounded(9))
                                          .arg(1 + rng.bounded(12), 2, 10, QChar(u'0')) +
                                      "01000000");
        const QString text = randomText(rng, month, absurd);
        const FixedClock clock(CalDate::fromInstant(month.instant() + rng.bounded(80 * 86400)));
        const MonthSumHandler handler(std::nullopt, clock);
        const DayTotals days = handler.sumDayBuff(text);
        const qint64 monthTotal = handler.sumMonthBuff(text).sumValue();
        for (auto it = days.cbegin(); it != days.cend(); ++it)
            QVERIFY2(CalDate::parse(it.key() + "000000", CalFormat::Compact), qPrintable(it.key()));
        const bool clamped = std::any_of(days.cbegin(), days.cend(), [](const sumobject& day) {
            return day.sumValue() == kMax || day.sumValue() == kMin;
        });
        if (!absurd) {
            QCOMPARE(sumOf(days), monthTotal);
        } else if (!clamped) {
            ++checked;
            QCOMPARE(std::clamp<qint64>(sumOf(days), kMin, kMax), monthTotal);
        }
    }
    QVERIFY(!absurd || checked > 100);
}

QTEST_GUILESS_MAIN(TestMonthSumHandler)
#include "tst_monthsumhandler.moc"
