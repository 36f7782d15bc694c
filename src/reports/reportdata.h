#pragma once

#include "platform/clock.h"
#include "reports/mydspdata.h"
#include "summary/monthsumhandler.h"
#include "timelog/store.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace fennick {

// What the three report windows show for a cursor, computed afresh from the
// files at each fill. The windows and the terminal reports both use these.

// The file of the month key in the index, as "<dir>/<name>"; absent when the
// month has no file or there is no directory.
std::optional<QString> monthFilePath(const std::optional<QString>& logsDir,
                                     const std::optional<MonthIndex>& index, const QString& key);

// The log window: the month's punches in file order; absent when the month
// has no file or it cannot be read.
std::optional<DspRows> logRows(const std::optional<QString>& logsDir,
                               const std::optional<MonthIndex>& index, int cursor,
                               const Clock& clock);

struct SumsTable {
    std::optional<DspRows> rows;
    std::int64_t total = 0;
    QString totalLine; // filled from the localized total format
    DayTotals days;    // the daily sums' day totals (for the chart)
};

// The daily sums window: one row per day with work, in day order, and the
// month's total. No file, an unreadable one or no day at all: no rows, 0.
SumsTable dailySums(const std::optional<QString>& logsDir, const std::optional<MonthIndex>& index,
                    int cursor, const Clock& clock);

// The monthly sums window: twelve rows, oldest first, for the months
// blockStart + 11 down to blockStart, read through a fresh index of the
// directory. With no directory the table is empty and the total 0.
SumsTable monthlySums(const std::optional<QString>& logsDir,
                      const std::optional<MonthIndex>& freshIndex, int blockStart,
                      const Clock& clock);

// The headings of the three reports: "Log – March 2024", "Daily Sums – March
// 2024" and "Monthly Sums – April 2023 – March 2024".
QString logHeading(const QString& monthKey);
QString dailyHeading(const QString& monthKey);
QString monthlyHeading(const QStringList& monthKeysOldestFirst);

// Right-column texts of the two sums tables.
QString dayDuration(std::int64_t seconds);
QString monthDuration(std::int64_t seconds);

} // namespace fennick
