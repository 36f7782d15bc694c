#include "reports/report.h"
#include "summary/monthsumhandler.h"
#include "support.h"
#include "timelog/record.h"

#include <QDeadlineTimer>

#include <numeric>

using namespace fennick;
using namespace fennick::test;

namespace {

const char* const kBerlin = "Europe/Berlin";

// "I 2024…, O 2024…" -> record lines, written at a time unrelated to the punch.
QString punches(const QString& list) {
    QString text;
    for (const QString& punch : list.split(", ", Qt::SkipEmptyParts)) {
        const QString kind = punch.startsWith(u'I') ? "CheckIn:" : "CheckOut:";
        text += "1999/12/31 23:59:59\t" + kind + "\t" + punch.mid(2) + "\n";
    }
    return text;
}

// "in <token>" / "out <token>" for every record the reader hands over.
QStringList readRecords(QStringView text) {
    QStringList out;
    forEachRecord(text, [&](const Record& r) {
        out << QString(r.kind == PunchKind::CheckIn ? "in " : "out ") + r.timeToken.toString();
    });
    return out;
}

// "20240305=7200 20240306=21600"; day entries never carry a key.
QString describe(const DayTotals& days) {
    QStringList parts;
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        parts << it.key() + "=" + QString::number(it->sumValue()) + (it->keyDateStr() ? "+" : "");
    return parts.join(u' ');
}

qint64 sumOf(const DayTotals& days) {
    return std::accumulate(days.begin(), days.end(), qint64(0),
                           [](qint64 sum, const sumobject& day) { return sum + day.sumValue(); });
}

// Expected: "<month total> <its key, - when absent>: <day entries>".
void add(const char* name, const char* list, const char* expected, const char* zone = kBerlin,
         const char* now = "20300101000000") {
    QTest::newRow(name) << QByteArray(zone) << punches(list) << QString(now) << QString(expected);
}

} // namespace

class TestMonthSumHandler : public QObject {
    Q_OBJECT

private slots:
    void init() { useTimeZone(kBerlin); }
    // One row per record line in file order, showing the punch time.
    void listing() {
        const FixedClock clock(at("20240601000000"));
        const QString text = "\t# b CheckIn: 20240305090000\n\n" +
                             punches("O 20240305173000, I 20231224080000, I 20241305090000");
        QStringList got;
        for (const myDspData& row :
             logRows(MonthSumHandler(std::nullopt, clock).getLogArrayBuff(text)))
            got << row.keyDateStr + "|" + row.dataStr;
        QCOMPARE(got, QStringList({"2024/03/05 17:30:00|CheckOut", "2023/12/24 08:00:00|CheckIn",
                                   "|CheckIn"}));
    }

    void totals_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("expected");
        add("one pair", "I 20240305090000, O 20240305173000", "30600 202403: 20240305=30600");
        add("unpaired check-in dropped", "I 20240305080000, I 20240305090000, O 20240305170000",
            "28800 202403: 20240305=28800");
        add("check-out from month start", "O 20240303060000",
            "194400 -: 20240301=86400 20240302=86400 20240303=21600");
        add("key of the latest check-in",
            "I 20240305090000, O 20240305100000, I 20240410090000, O 20240410100000",
            "7200 202404: 20240305=3600 20240410=3600");
        add("open at year end", "I 20241231220000", "7200 202412: 20241231=7200");
        add("across midnight", "I 20240305220000, O 20240306060000",
            "28800 202403: 20240305=7200 20240306=21600");
        add("negative shrinks the total",
            "I 20240305080000, O 20240305100000, I 20240305173000, O 20240305090000",
            "-23400 202403: 20240305=-23400");
        add("negative: whole to start day", "I 20240306010000, O 20240305230000",
            "-7200 202403: 20240306=-7200");
        add("clock set back before check-in", "I 20240615120000", "-93600 202406: 20240615=-93600",
            kBerlin, "20240614100000");
        add("unreadable tokens count 0",
            "O 2024, I 20241305090000, O 20240305100000, I 20240305090000, O 20240332100000, "
            "O 20240305100000",
            "3600 202403: 20240305=3600");
        add("intervals clamp one by one",
            "I 00000101000000, O 99991231235959, I 99991231235959, O 00000101000000",
            "-1 999912: 00000101=2147483647 99991231=-2147483648");
        add("total saturates", "I 00000101000000, O 99991231235959, O 99991231235959",
            "2147483647 000001: 00000101=2147483647");
        add("berlin spring", "I 20240330220000, O 20240401020000",
            "97200 202403: 20240330=7200 20240331=82800 20240401=7200");
        add("berlin autumn", "I 20241026220000, O 20241028020000",
            "104400 202410: 20241026=7200 20241027=90000 20241028=7200");
        add("sao paulo midnight jump", "I 20181103220000, O 20181105020000",
            "97200 201811: 20181103=7200 20181104=82800 20181105=7200", "America/Sao_Paulo");
        // Skipped clock time reads as the next month's first hour, still ending at its token's.
        add("open, skipped time at month end", "I 19160430233000", "-1800 191604: 19160501=-1800");
    }

    void totals() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, text);
        QFETCH(QString, now);
        QFETCH(QString, expected);
        useTimeZone(zone.constData());
        const FixedClock clock(at(now));
        const MonthSumHandler handler(std::nullopt, clock);
        const sumobject sum = handler.sumMonthBuff(text);
        QCOMPARE(QString::number(sum.sumValue()) + " " + sum.keyDateStr().value_or("-") + ": " +
                     describe(handler.sumDayBuff(text)),
                 expected);
    }

    // 366 days are cut at every midnight; anything longer goes whole to its start day.
    void booking() {
        DayTotals days;
        days["20230101"].setSumValue(1000);
        MonthSumHandler::calcDayByDaySums(days, at("20240102000000"), at("20230101000000"));
        QCOMPARE(days.size(), 366);
        QCOMPARE(sumOf(days), 1000 + 366 * 86400);
        DayTotals whole;
        MonthSumHandler::calcDayByDaySums(whole, at("20240102000001"), at("20230101000000"));
        QCOMPARE(describe(whole), QString("20230101=31622401"));
    }

    void reading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("records");
        const auto row = [](const char* name, const char* text, const QStringList& records) {
            QTest::newRow(name) << QString(text) << records;
        };
        row("comments and blank lines", "# b CheckIn: 1\n\n \t \n#\n", {});
        row("written lines",
            "2004/02/15 09:30:00\tCheckIn:\t20040215093000\n"
            "2004/02/15 18:00:00\tCheckOut:\t20040215180000",
            {"in 20040215093000", "out 20040215180000"});
        row("CRLF, space and tab runs", "a b CheckIn:  \t1\r\n  c\t\td CheckOut: 2\r\n",
            {"in 1", "out 2"});
        row("CR only is one line", "a b CheckIn: 1\rc d CheckOut: 2\r", {"in 1"});
        row("case, colon", "a b checkin: 1\na b CHECKOUT: 2\na b CheckIn 3\n", {});
        row("indented hash", " \t# b CheckIn: 1\n\u3000# b CheckIn: 2", {});
        row("3 tokens, # later, 5th", "a b CheckIn:\nc # CheckIn: 1 x CheckOut: 2", {"in 1"});
        row("controls do not separate", "x a\x1c\x08\x0e\x1f\x7f\u200bb CheckIn: 1", {"in 1"});
        row("Unicode spaces separate tokens, not lines",
            "\u00a0a\u3000b\u0085CheckIn:\u20291\u2028c d CheckOut: 2", {"in 1"});
        // Lines of megabytes, read in linear time, leave their neighbours alone.
        QTest::newRow("huge lines")
            << QString(4 << 20, u'x') + "\na b CheckIn: 1\na b CheckOut: 2" +
                   QString(" t").repeated(2 << 20) + "\nc d CheckIn: 3"
            << QStringList{"in 1", "out 2", "in 3"};
    }
    // The record lines a reader takes from a month file's text.
    void reading() {
        QFETCH(QString, text);
        QFETCH(QStringList, records);
        const QDeadlineTimer deadline(5000);
        QCOMPARE(readRecords(text), records);
        QVERIFY2(!deadline.hasExpired(), "reading took too long");
    }
};

QTEST_GUILESS_MAIN(TestMonthSumHandler)
#include "tst_monthsumhandler.moc"
