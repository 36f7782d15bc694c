#include "platform/caldate.h"

#include <array>
#include <cmath>
#include <ctime>
#include <limits>

namespace fennick {
namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, CalFields& f) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    f.day = int(doy - (153 * mp + 2) / 5 + 1);
    f.month = int(mp < 10 ? mp + 3 : mp - 9);
    f.year = int(yoe + era * 400 + (f.month <= 2));
}

bool isLeap(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(std::int64_t y, int m) {
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// UTC offset of the local zone at an instant. localtime_r costs far more than
// the arithmetic around it, so offsets are cached per UTC day when the offset
// is the same at both ends of that day.
class ZoneCache {
public:
    long offsetAt(std::int64_t t) {
        const std::int64_t dayIndex = floorDiv(t, kDay);
        Entry& e = entries_[std::size_t(dayIndex) % entries_.size()];
        if (e.generation != generation_ || e.dayIndex != dayIndex) {
            const long start = rawOffset(dayIndex * kDay);
            const long end = rawOffset(dayIndex * kDay + kDay - 1);
            e = Entry{dayIndex, generation_, start, start == end};
        }
        return e.uniform ? e.offset : rawOffset(t);
    }
    void reset() {
        tzset();
        ++generation_;
    }

private:
    struct Entry {
        std::int64_t dayIndex = 0;
        unsigned generation = 0;
        long offset = 0;
        bool uniform = false;
    };
    static long rawOffset(std::int64_t t) {
        const time_t tt = time_t(t);
        struct tm tmv {};
        if (!localtime_r(&tt, &tmv))
            return 0;
        return tmv.tm_gmtoff;
    }
    std::array<Entry, 512> entries_{};
    unsigned generation_ = 1;
};

ZoneCache& zoneCache() {
    static thread_local ZoneCache cache = [] {
        tzset();
        return ZoneCache{};
    }();
    return cache;
}

std::int64_t wallSeconds(const CalFields& f) {
    return daysFromCivil(f.year, f.month, f.day) * kDay + f.hour * 3600 + f.minute * 60 + f.second;
}

CalFields fieldsOfWall(std::int64_t wall) {
    CalFields f;
    const std::int64_t days = floorDiv(wall, kDay);
    civilFromDays(days, f);
    const std::int64_t rest = wall - days * kDay;
    f.hour = int(rest / 3600);
    f.minute = int(rest / 60 % 60);
    f.second = int(rest % 60);
    return f;
}

// Reads `count` ASCII digits at `pos`; -1 when any is missing or not a digit.
int readNumber(QStringView text, qsizetype& pos, int count) {
    if (pos + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    pos += count;
    return value;
}

const char* patternOf(CalFormat format) {
    switch (format) {
    case CalFormat::MonthKey:
        return "%Y%m";
    case CalFormat::Compact:
        return "%Y%m%d%H%M%S";
    case CalFormat::Display:
        return "%Y/%m/%d %H:%M:%S";
    case CalFormat::LogFileName:
        return "TLOG%Y%m.txt";
    }
    return "";
}

bool fieldsInRange(const CalFields& f) {
    return f.year >= 0 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
           f.day <= daysInMonth(f.year, f.month) && f.hour >= 0 && f.hour <= 23 && f.minute >= 0 &&
           f.minute <= 59 && f.second >= 0 && f.second <= 59;
}

// Writes a number zero-padded to at least `width` digits, a minus sign in
// front when negative; returns the end of what was written.
char16_t* writeNumber(char16_t* out, long long value, int width) {
    if (value >= 0 && value < 100 && width == 2) {
        *out++ = char16_t(u'0' + value / 10);
        *out++ = char16_t(u'0' + value % 10);
        return out;
    }
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    if (value < 0)
        *out++ = u'-';
    char16_t digits[20];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    for (int i = count; i < width; ++i)
        *out++ = u'0';
    while (count)
        *out++ = digits[--count];
    return out;
}

} // namespace

CalDate CalDate::fromInstant(std::int64_t t) {
    return CalDate(t, fieldsOfWall(t + zoneCache().offsetAt(t)));
}

CalDate CalDate::fromWall(const CalFields& wall) {
    ZoneCache& zone = zoneCache();
    const std::int64_t u = wallSeconds(wall);
    const long before = zone.offsetAt(u - kDay);
    const long after = zone.offsetAt(u + kDay);
    std::optional<std::int64_t> best;
    for (const long offset : {before, after}) {
        const std::int64_t t = u - offset;
        if (zone.offsetAt(t) == offset && (!best || t < *best))
            best = t;
        if (before == after)
            break;
    }
    // An instant that shows this wall time has exactly these fields.
    if (best)
        return CalDate(*best, wall);
    // No instant shows this wall time: it lies in a gap, which the smaller
    // (earlier) offset moves forward by the size of the gap.
    return fromInstant(u - std::min(before, after));
}

std::optional<CalDate> CalDate::parse(QStringView text, CalFormat format) {
    CalFields f;
    f.day = 1;
    qsizetype pos = 0;
    for (const char* p = patternOf(format); *p; ++p) {
        if (*p != '%') {
            if (pos >= text.size() || text[pos] != QLatin1Char(*p))
                return std::nullopt;
            ++pos;
            continue;
        }
        ++p;
        int* target = nullptr;
        int width = 2;
        switch (*p) {
        case 'Y':
            target = &f.year;
            width = 4;
            break;
        case 'm':
            target = &f.month;
            break;
        case 'd':
            target = &f.day;
            break;
        case 'H':
            target = &f.hour;
            break;
        case 'M':
            target = &f.minute;
            break;
        default:
            target = &f.second;
            break;
        }
        *target = readNumber(text, pos, width);
        if (*target < 0)
            return std::nullopt;
    }
    if (pos != text.size() || !fieldsInRange(f))
        return std::nullopt;
    return fromWall(f);
}

std::optional<CalDate> CalDate::fromFields(const CalFields& fields) {
    if (!fieldsInRange(fields))
        return std::nullopt;
    return fromWall(fields);
}

QString CalDate::format(CalFormat format) const {
    // Formatting runs once per listed punch: build the text in place and
    // allocate once.
    char16_t buffer[64];
    char16_t* out = buffer;
    for (const char* p = patternOf(format); *p; ++p) {
        if (*p != '%') {
            *out++ = char16_t(*p);
            continue;
        }
        switch (*++p) {
        case 'Y':
            out = writeNumber(out, f_.year, 4);
            break;
        case 'm':
            out = writeNumber(out, f_.month, 2);
            break;
        case 'd':
            out = writeNumber(out, f_.day, 2);
            break;
        case 'H':
            out = writeNumber(out, f_.hour, 2);
            break;
        case 'M':
            out = writeNumber(out, f_.minute, 2);
            break;
        default:
            out = writeNumber(out, f_.second, 2);
            break;
        }
    }
    return QString(reinterpret_cast<const QChar*>(buffer), out - buffer);
}

CalDate CalDate::addMonths(int months) const {
    const std::int64_t index = std::int64_t(f_.year) * 12 + (f_.month - 1) + months;
    CalFields wall = f_;
    wall.year = int(floorDiv(index, 12));
    wall.month = int(index - std::int64_t(wall.year) * 12 + 1);
    const int overflow = wall.day - daysInMonth(wall.year, wall.month);
    if (overflow > 0) {
        wall.day = daysInMonth(wall.year, wall.month);
        const CalFields carried = fieldsOfWall(wallSeconds(wall) + std::int64_t(overflow) * kDay);
        return fromWall(carried);
    }
    return fromWall(wall);
}

CalDate CalDate::addDays(int days) const {
    return fromWall(fieldsOfWall(wallSeconds(f_) + std::int64_t(days) * kDay));
}

CalDate CalDate::nextDayStart() const {
    CalFields wall = fieldsOfWall(daysFromCivil(f_.year, f_.month, f_.day) * kDay + kDay);
    return fromWall(wall);
}

CalDate CalDate::nextMonthStart() const {
    CalFields wall;
    wall.year = f_.month == 12 ? f_.year + 1 : f_.year;
    wall.month = f_.month == 12 ? 1 : f_.month + 1;
    return fromWall(wall);
}

void timeZoneChanged() {
    zoneCache().reset();
}

QString monthKeyBefore(const CalDate& date, int monthsBack) {
    const std::int64_t index = std::int64_t(date.year()) * 12 + (date.month() - 1) - monthsBack;
    const std::int64_t year = floorDiv(index, 12);
    char16_t buffer[48];
    char16_t* out = writeNumber(buffer, year, 4);
    out = writeNumber(out, index - year * 12 + 1, 2);
    return QString(reinterpret_cast<const QChar*>(buffer), out - buffer);
}

std::int32_t clampSeconds(double seconds) {
    if (std::isnan(seconds))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (seconds <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (seconds >= hi)
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(seconds);
}

} // namespace fennick
