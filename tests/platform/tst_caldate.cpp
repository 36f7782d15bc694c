#include "platform/caldate.h"
#include "platform/texts.h"
#include "platform/version.h"
#include "support.h"

#include <cmath>

using namespace fennick;
using namespace fennick::test;

namespace {

// "2024/03/31 03:30:00 1711848600": the local time and the instant; the local
// time must be what the instant reads as.
QString show(const CalDate& date) {
    const bool same = CalDate::fromInstant(date.instant()).fields() == date.fields();
    return date.format(CalFormat::Display) + " " + QString::number(date.instant()) +
           (same ? "" : " misread");
}

// A day's first instant and length; the next day starts where its key followed
// by "000000" reads and where addDays(1) lands.
QString day(const QString& key) {
    const CalDate start = at(key + "000000");
    const CalDate next = start.nextDayStart();
    const QString nextKey = next.format(CalFormat::Compact).left(8);
    const bool agree = next == at(nextKey + "000000") &&
                       start.addDays(1).format(CalFormat::Compact).startsWith(nextKey);
    return start.format(CalFormat::Display) + " " +
           QString::number(next.instant() - start.instant()) + (agree ? "" : " disagrees");
}

} // namespace

class TestCalDate : public QObject {
    Q_OBJECT

private slots:
    void init() { useTimeZone("Europe/Berlin"); }
    void cleanupTestCase() { useTimeZone("UTC"); }

    // Strict parsing: a text reads only when it is a real date in the format.
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("display"); // "" = rejected
        const int c = int(CalFormat::Compact);
        QTest::newRow("leap day") << "20240229120000" << c << "2024/02/29 12:00:00";
        QTest::newRow("year 9999") << "99991231235959" << c << "9999/12/31 23:59:59";
        QTest::newRow("display") << "2024/01/15 23:59:59" << int(CalFormat::Display)
                                 << "2024/01/15 23:59:59";
        QTest::newRow("month 13") << "20241301000000" << c << "";
        QTest::newRow("february 30") << "20240230000000" << c << "";
        QTest::newRow("february 29, no leap year") << "20230229000000" << c << "";
        QTest::newRow("hour 24") << "20240101240000" << c << "";
        QTest::newRow("13 digits") << "2024010100000" << c << "";
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٠٢٤٠١٠١٠٠٠٠٠٠") << c << "";
        QTest::newRow("dashes") << "2024-01-01 00:00:00" << int(CalFormat::Display) << "";
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(int, format);
        QFETCH(QString, display);
        const auto date = CalDate::parse(text, CalFormat(format));
        QCOMPARE(date ? date->format(CalFormat::Display) : QString(), display);
        if (date) {
            QCOMPARE(date->format(CalFormat(format)), text);
            QCOMPARE(CalDate::fromInstant(date->instant()).fields(), date->fields());
        }
    }

    // What the code gives, computed in the row's time zone, and what it must give.
    void results_data() {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& got, const QString& expected) {
            QTest::newRow(name) << got << expected;
        };
        useTimeZone("Europe/Berlin");
        row("gap moves forward", show(at("20240331023000")), "2024/03/31 03:30:00 1711848600");
        row("repeated hour reads first", show(at("20241027023000")),
            "2024/10/27 02:30:00 1729989000");
        row("spring day", day("20240331"), "2024/03/31 00:00:00 82800");
        row("autumn day", day("20241027"), "2024/10/27 00:00:00 90000");
        row("month after december", show(at("20241201000000").addMonths(1)),
            "2025/01/01 00:00:00 1735686000");
        row("month across spring change", show(at("20240301000000").addMonths(1)),
            "2024/04/01 00:00:00 1711922400");
        row("months back across years", show(at("20240315120000").addMonths(-14)),
            "2023/01/15 12:00:00 1673780400");
        row("missing day carries", show(at("20240131000000").addMonths(1)),
            "2024/03/02 00:00:00 1709334000");
        row("month key across a year", monthKeyBefore(at("20240301000000"), 3), "202312");
        row("month key on day 31", monthKeyBefore(at("20240331120000"), 13), "202302");
        useTimeZone("America/Sao_Paulo");
        row("midnight jump", day("20181104"), "2018/11/04 01:00:00 82800");
        row("midnight repeated", day("20190216"), "2019/02/16 00:00:00 90000");
        row("day into the jump", show(at("20181103000000").addDays(1)),
            "2018/11/04 01:00:00 1541300400");
        row("repeated midnight hour reads first", show(at("20190216233000")),
            "2019/02/16 23:30:00 1550367000");
        useTimeZone("Australia/Lord_Howe");
        row("lord howe spring", day("20241006"), "2024/10/06 00:00:00 84600");
        row("lord howe autumn", day("20240407"), "2024/04/07 00:00:00 88200");
        row("lord howe after the gap", show(at("20241006023000")),
            "2024/10/06 02:30:00 1728142200");
        useTimeZone("UTC");
        row("clamp truncates toward zero", QString::number(clampSeconds(-1.9)), "-1");
        row("clamp NaN", QString::number(clampSeconds(std::nan(""))), "0");
        const QString hms = "%02d:%02d:%02d";
        row("widths are minimums", fillDuration("%03d:%02d:%02d", 3600000), "1000:00:00");
        row("negative total", fillDuration("Sum: %03d:%02d:%02d", -3661), "Sum: -001:01:01");
        row("int32 minimum", fillDuration(hms, std::numeric_limits<int>::min()), "-596523:14:08");
        row("percent sign", fillWord("100%% %d %@", "W"), "100% %d W");
        row("older qt refused", QString::number(versionAllowed(queryVersion("6.3.9", 6, 4))), "0");
    }

    void results() {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestCalDate)
#include "tst_caldate.moc"
