#include "reports/navigation.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace fennick {

namespace {

constexpr std::int64_t maxOffset = std::numeric_limits<int>::max();

// The cursor is never negative; a caller's mistake must not move the search
// into the future.
std::int64_t sane(int cursor) {
    return std::max(cursor, 0);
}

// Offsets past the int range have no file; this keeps k + i from overflowing.
bool has(const MonthHasFile& hasFile, std::int64_t offset) {
    return offset >= 0 && offset <= maxOffset && hasFile(int(offset));
}

// True when one of from - 1, from - 2, ... (up to `reach` steps, never below
// 0) has a file.
bool anyNewer(std::int64_t from, int reach, const MonthHasFile& hasFile) {
    for (int i = 1; i <= reach && from - i >= 0; ++i) {
        if (has(hasFile, from - i))
            return true;
    }
    return false;
}

// True when one of from + 1 ... from + reach has a file.
bool anyOlder(std::int64_t from, int reach, const MonthHasFile& hasFile) {
    for (int i = 1; i <= reach; ++i) {
        if (has(hasFile, from + i))
            return true;
    }
    return false;
}

int clampOffset(std::int64_t offset) {
    return int(std::clamp<std::int64_t>(offset, 0, maxOffset));
}

} // namespace

int blockStart(int cursor) {
    return int(sane(cursor) / 12 * 12);
}

MoveButtons checkMoveSomeButton(int cursor, Stride stride, const MonthHasFile& hasFile) {
    const std::int64_t k = sane(cursor);
    if (stride == Stride::Month)
        return {anyNewer(k, monthlyReach, hasFile), anyOlder(k, monthlyReach, hasFile)};
    const std::int64_t b = blockStart(cursor);
    return {anyNewer(b, yearlyReach, hasFile), anyOlder(b + 11, yearlyReach, hasFile)};
}

int getNextExistingMonth(int cursor, bool towardsPresent, const MonthHasFile& hasFile) {
    const std::int64_t k = sane(cursor);
    for (int i = 1; i <= searchReach; ++i) {
        const std::int64_t offset = towardsPresent ? k - i : k + i;
        if (offset < 0)
            break;
        if (has(hasFile, offset))
            return int(offset);
    }
    return 0;
}

int goNextMonthCursor(int cursor, const MonthHasFile& hasFile) {
    return getNextExistingMonth(cursor, true, hasFile);
}

int goPrevMonthCursor(int cursor, const MonthHasFile& hasFile) {
    return getNextExistingMonth(cursor, false, hasFile);
}

int goNextSum2Cursor(int cursor, const MonthHasFile& hasFile) {
    if (getNextExistingMonth(blockStart(cursor), true, hasFile) <= 0)
        return 0;
    return clampOffset(sane(cursor) - 12);
}

int goPrevSum2Cursor(int cursor, const MonthHasFile& hasFile) {
    const std::int64_t lastOfBlock = std::int64_t(blockStart(cursor)) + 11;
    if (lastOfBlock > maxOffset || getNextExistingMonth(int(lastOfBlock), false, hasFile) <= 0)
        return 0;
    return clampOffset(sane(cursor) + 12);
}

std::optional<QString> getDateString(int n, const CalDate& now) {
    if (n < 0)
        return std::nullopt;
    return monthKeyBefore(now, n);
}

std::array<int, 12> blockOffsets(int cursor) {
    std::array<int, 12> offsets{};
    const std::int64_t b = blockStart(cursor);
    for (int i = 0; i < 12; ++i)
        offsets[std::size_t(i)] = clampOffset(b + 11 - i);
    return offsets;
}

QStringList blockMonthKeys(int cursor, const CalDate& now) {
    QStringList keys;
    for (const int offset : blockOffsets(cursor))
        keys << monthKeyBefore(now, offset);
    return keys;
}

MonthHasFile monthHasFileIn(const std::optional<MonthIndex>& index, const Clock& clock) {
    if (!index)
        return [](int) { return false; };
    return [files = *index, &clock](int offset) {
        const auto key = getDateString(offset, clock.now());
        return key && files.contains(*key);
    };
}

namespace {

QString monthName(const QString& monthKey, const QString& format) {
    const auto parsed = CalDate::parse(monthKey, CalFormat::MonthKey);
    const QDate date = parsed ? QDate(parsed->year(), parsed->month(), 1) : QDate();
    if (!date.isValid())
        return monthKey;
    return QLocale().toString(date, format);
}

} // namespace

QString monthTitle(const QString& monthKey) {
    return monthName(monthKey, QStringLiteral("MMMM yyyy"));
}

QString blockTitle(const QStringList& keysOldestFirst) {
    if (keysOldestFirst.isEmpty())
        return {};
    // Short month names keep a block's heading on one line.
    return monthName(keysOldestFirst.first(), QStringLiteral("MMM yyyy")) + QStringLiteral(" – ") +
           monthName(keysOldestFirst.last(), QStringLiteral("MMM yyyy"));
}

} // namespace fennick
