#include "timelog/timeentry.h"

namespace fennick {
namespace {

// Long enough for any year the calendar takes, short enough never to overflow.
constexpr qsizetype kMaxDigits = 6;

std::optional<int> wholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > kMaxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : trimmed) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

std::optional<CalDate> enteredTime(const EntryTexts& fields) {
    const auto year = wholeNumber(fields.year);
    const auto month = wholeNumber(fields.month);
    const auto day = wholeNumber(fields.day);
    const auto hour = wholeNumber(fields.hour);
    const auto minute = wholeNumber(fields.minute);
    if (!year || !month || !day || !hour || !minute)
        return std::nullopt;
    return CalDate::fromFields(CalFields{*year, *month, *day, *hour, *minute, 0});
}

std::optional<CalDate> acceptEntry(const EntryTexts& fields, const QString& prevTimeStr,
                                   const QString& nowFieldText) {
    const std::optional<CalDate> entry = enteredTime(fields);
    const std::optional<CalDate> latest = CalDate::parse(nowFieldText, CalFormat::Display);
    if (!entry || !latest || *entry > *latest)
        return std::nullopt;
    const std::optional<CalDate> earliest = CalDate::parse(prevTimeStr, CalFormat::Compact);
    if (earliest && *entry < *earliest)
        return std::nullopt;
    return entry;
}

} // namespace fennick
