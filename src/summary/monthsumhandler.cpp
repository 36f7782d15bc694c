#include "summary/monthsumhandler.h"

#include "timelog/logfile.h"
#include "timelog/record.h"

#include <algorithm>
#include <limits>
#include <map>

namespace fennick {
namespace {

// An interval longer than this is not cut at midnights but booked whole to its
// start day. A month's own punches span a month at most, so only a mistyped
// time token gets here; cutting a mistyped decade into thousands of daily rows
// would stall the window and bury the mistake, and the walk must stay bounded
// for any text. The amount is the same either way, so the days still add up.
constexpr std::int64_t kLongestSplitInterval = 366 * 86400;

std::optional<CalDate> parseCompact(QStringView token) {
    return CalDate::parse(token, CalFormat::Compact);
}

// The first instant of a time token's month: its first six characters followed
// by "01000000". Absent when those are not a valid month.
std::optional<CalDate> monthStartOf(QStringView token) {
    if (token.size() < 6)
        return std::nullopt;
    char16_t text[14] = {0, 0, 0, 0, 0, 0, u'0', u'1', u'0', u'0', u'0', u'0', u'0', u'0'};
    std::copy_n(token.utf16(), 6, text);
    return parseCompact(QStringView(text, 14));
}

// Pairs the punch lines of a text in file order and hands every counted
// interval to onInterval(start, end), either of which may be absent when a
// time token does not read as a date. Hands back the remembered check-in.
//
// A kind token without a time token leaves the line with fewer than four
// tokens, so the reader yields no record for it: such a line changes nothing
// here, not even whether the last punch was a check-in.
template <typename OnInterval>
std::optional<QStringView> pairPunches(QStringView text, const CalDate& now,
                                       OnInterval&& onInterval) {
    std::optional<QStringView> checkIn;
    std::optional<CalDate> checkInDate;
    bool checkedIn = false;
    forEachRecord(text, [&](const Record& record) {
        if (record.kind == PunchKind::CheckIn) {
            checkIn = record.timeToken;
            checkInDate = parseCompact(record.timeToken);
            checkedIn = true;
            return;
        }
        // A check-out without a usable check-in before it continues a stretch
        // that began in the previous month: count it from this month's start.
        // A later check-out counts again from the same check-in.
        const bool paired = checkIn && checkIn->size() == 14;
        onInterval(paired ? checkInDate : monthStartOf(record.timeToken),
                   parseCompact(record.timeToken));
        checkedIn = false;
    });
    if (checkIn && checkedIn) {
        // Still checked in: this month counts up to now, or up to the end of
        // the month written in the token when that lies in the past; the next
        // month's file counts the rest from its first instant. The token's
        // month, not the parsed time's: a time in clock time skipped at a
        // month's end reads as the next month, which would count it twice.
        std::optional<CalDate> end;
        const std::optional<CalDate> tokenMonth = monthStartOf(*checkIn);
        if (checkInDate && tokenMonth)
            end = std::min(now, tokenMonth->nextMonthStart());
        onInterval(checkInDate, end);
    }
    return checkIn;
}

std::int32_t clampTotal(std::int64_t seconds) {
    return std::int32_t(std::clamp<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

// An interval whose start or end is absent counts 0.
std::int64_t countedSeconds(const std::optional<CalDate>& start,
                            const std::optional<CalDate>& end) {
    return start && end ? clampSeconds(end->intervalSince(*start)) : 0;
}

bool sameDay(const CalDate& a, const CalDate& b) {
    return a.day() == b.day() && a.month() == b.month() && a.year() == b.year();
}

// Cuts the interval at every local midnight and hands each piece to
// book(pieceStart, seconds). A piece that ends exactly at midnight stays with
// the day before. An interval that ends before it starts, or that is too long
// to cut, goes whole to its start day with the amount the month total counts.
template <typename Book>
void splitAtMidnights(const CalDate& from, const CalDate& to, Book&& book) {
    const std::int64_t length = to.instant() - from.instant();
    if (length <= 0 || length > kLongestSplitInterval) {
        book(from, clampSeconds(to.intervalSince(from)));
        return;
    }
    CalDate start = from;
    while (!sameDay(start, to)) {
        const CalDate midnight = start.nextDayStart();
        if (to <= midnight)
            break;
        book(start, midnight.instant() - start.instant());
        start = midnight;
    }
    book(start, to.instant() - start.instant());
}

// Day keys as numbers (year * 10000 + month * 100 + day) sort like their texts.
std::int64_t dayNumber(const CalDate& date) {
    return std::int64_t(date.year()) * 10000 + date.month() * 100 + date.day();
}

QString dayKeyOf(std::int64_t number) {
    std::int64_t year = number / 10000;
    std::int64_t rest = number % 10000;
    if (rest < 0) {
        year -= 1;
        rest += 10000;
    }
    QString key = year < 0 ? QStringLiteral("-") : QString();
    key += QString::number(year < 0 ? -year : year).rightJustified(4, u'0');
    key += QString::number(rest).rightJustified(4, u'0');
    return key.left(8);
}

void addTo(sumobject& sum, std::int64_t seconds) {
    sum.setSumValue(clampTotal(sum.sumValue() + seconds));
}

// The file layer shared by the three results: no path, or a file that cannot
// be read, gives nothing; otherwise the text operation runs on a fresh read.
template <typename Result, typename Work>
std::optional<Result> readAndRun(const std::optional<QString>& path,
                                 std::optional<ReadFailure>& failure, Work&& work) {
    failure.reset();
    if (!path)
        return std::nullopt;
    ReadFailure why;
    const std::optional<LogFileText> file = readLogFile(*path, &why);
    if (!file) {
        failure = why;
        return std::nullopt;
    }
    return work(QStringView(file->text));
}

} // namespace

MonthSumHandler::MonthSumHandler(std::optional<QString> monthFilePath, const Clock& clock)
    : path_(std::move(monthFilePath)), clock_(clock) {}

std::optional<QList<LoggedPunch>> MonthSumHandler::getLogArray() const {
    return readAndRun<QList<LoggedPunch>>(
        path_, failure_, [this](QStringView text) { return getLogArrayBuff(text); });
}

std::optional<sumobject> MonthSumHandler::calcMonthSum() const {
    return readAndRun<sumobject>(path_, failure_,
                                 [this](QStringView text) { return sumMonthBuff(text); });
}

std::optional<DayTotals> MonthSumHandler::calcDaySum() const {
    return readAndRun<DayTotals>(path_, failure_,
                                 [this](QStringView text) { return sumDayBuff(text); });
}

QList<LoggedPunch> MonthSumHandler::getLogArrayBuff(QStringView text) const {
    QList<LoggedPunch> punches;
    forEachRecord(text, [&](const Record& record) {
        punches.append(LoggedPunch{parseCompact(record.timeToken), record.kind});
    });
    return punches;
}

sumobject MonthSumHandler::sumMonthBuff(QStringView text) const {
    std::int64_t total = 0;
    const auto checkIn =
        pairPunches(text, clock_.now(),
                    [&](const std::optional<CalDate>& start, const std::optional<CalDate>& end) {
                        total += countedSeconds(start, end);
                    });
    sumobject sum;
    sum.setSumValue(clampTotal(total));
    if (checkIn)
        sum.setKeyDateStr(checkIn->left(6).toString());
    return sum;
}

DayTotals MonthSumHandler::sumDayBuff(QStringView text) const {
    // Booked by day number first: cheaper than text keys, and a day's amount
    // is clamped once, after every piece has been added.
    std::map<std::int64_t, std::int64_t> booked;
    auto hint = booked.end();
    const auto book = [&](const CalDate& pieceStart, std::int64_t seconds) {
        const std::int64_t day = dayNumber(pieceStart);
        if (hint == booked.end() || hint->first != day)
            hint = booked.try_emplace(day, 0).first;
        hint->second += seconds;
    };
    pairPunches(text, clock_.now(),
                [&](const std::optional<CalDate>& start, const std::optional<CalDate>& end) {
                    if (start && end)
                        splitAtMidnights(*start, *end, book);
                });
    DayTotals days;
    for (const auto& [day, seconds] : booked)
        addTo(days[dayKeyOf(day)], seconds);
    return days;
}

DayTotals& MonthSumHandler::calcDayByDaySums(DayTotals& days, const CalDate& to,
                                             const CalDate& from) {
    splitAtMidnights(from, to, [&](const CalDate& pieceStart, std::int64_t seconds) {
        addTo(days[dayKeyOf(dayNumber(pieceStart))], seconds);
    });
    return days;
}

} // namespace fennick
