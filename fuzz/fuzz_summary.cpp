// Feeds arbitrary bytes, as a time log file, through the decoder, the record
// reader, the listing and both totals, and checks what must hold for any file.
//
// Input layout: byte 0 picks the time zone, bytes 1-4 move "now" by up to
// about 68 years either way, the rest is the file.

#include "platform/caldate.h"
#include "platform/clock.h"
#include "reports/report.h"
#include "summary/monthsumhandler.h"
#include "timelog/logfile.h"
#include "timelog/record.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace fennick;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_summary: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok)
        fail(what);
}

void useZone(std::uint8_t choice) {
    static const char* const zones[] = {"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe",
                                        "UTC"};
    static int current = -1;
    const int zone = choice % 4;
    if (zone == current)
        return;
    setenv("TZ", zones[zone], 1);
    timeZoneChanged();
    current = zone;
}

void checkListing(const MonthSumHandler& handler, QStringView text) {
    qsizetype records = 0;
    qsizetype checkIns = 0;
    forEachRecord(text, [&](const Record& record) {
        ++records;
        checkIns += record.kind == PunchKind::CheckIn;
        check(!record.timeToken.isEmpty(), "empty time token");
        check(record.timeToken.utf16() >= text.utf16() &&
                  record.timeToken.utf16() + record.timeToken.size() <= text.utf16() + text.size(),
              "time token outside the text");
    });
    const DspRows rows = logRows(handler.getLogArrayBuff(text));
    check(rows.size() == records, "listing rows differ from records");
    for (const myDspData& row : rows) {
        check(row.dataStr == u"CheckIn" || row.dataStr == u"CheckOut", "unknown kind text");
        check(row.keyDateStr.isEmpty() || CalDate::parse(row.keyDateStr, CalFormat::Display),
              "listed time does not read back");
    }
    check(handler.sumMonthBuff(text).keyDateStr().has_value() == (checkIns > 0),
          "month key without a check-in");
}

// The day entries add up to the month total. Every interval puts the same
// amount into both; only a day total clamped to 32 bits can differ, so the
// check holds whenever no entry sits at a limit.
void checkTotals(const MonthSumHandler& handler, QStringView text) {
    const std::int32_t month = handler.sumMonthBuff(text).sumValue();
    const DayTotals days = handler.sumDayBuff(text);
    std::int64_t sum = 0;
    bool clamped = false;
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        check(it.key().size() == 8, "day key is not eight characters");
        check(!it.value().keyDateStr().has_value(), "day entry with a key");
        sum += it.value().sumValue();
        clamped |= it.value().sumValue() == kMax || it.value().sumValue() == kMin;
    }
    if (!clamped && std::clamp<std::int64_t>(sum, kMin, kMax) != month)
        fail("day entries do not add up to the month total");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5)
        return 0;
    useZone(data[0]);
    std::int32_t shift = 0;
    std::memcpy(&shift, data + 1, sizeof shift);
    static const CalDate base = *CalDate::fromFields(CalFields{2024, 3, 20, 12, 0, 0});
    const FixedClock clock(CalDate::fromInstant(base.instant() + shift));

    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data + 5), qsizetype(size - 5));
    const QString text = decodeLogBytes(bytes);
    const MonthSumHandler handler(std::nullopt, clock);
    checkListing(handler, text);
    checkTotals(handler, text);
    return 0;
}
