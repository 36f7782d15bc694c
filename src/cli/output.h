#pragma once

#include "cli/args.h"
#include "platform/clock.h"
#include "reports/mydspdata.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>
#include <optional>

namespace fennick {

// One report as the window shows it: heading, column headings, rows and,
// for the two sums reports, the total line.
struct CliReportData {
    QString kind;        // "log", "daily" or "monthly"
    QString heading;     // the window's heading
    QStringList months;  // the month, or the block's twelve oldest first
    QStringList columns; // the table's column headings
    DspRows rows;
    std::optional<QString> totalLine;
    std::int64_t totalSeconds = 0;
};

// The report of the month `offset` months back (for the monthly sums, the
// twelve months ending with it), read from the log directory by the same
// fills as the windows.
CliReportData collectReport(CliReport report, int offset, const std::optional<QString>& logsDir,
                            const Clock& clock);

struct CliStatusData {
    bool checkedIn = false;
    std::optional<QString> lastPunch; // display timestamp, or the stored text
    QString dayKey;                   // today
    std::int64_t todaySeconds = 0;    // today's entry of the month's day totals
};

CliStatusData collectStatus(bool onBusiness, const QString& prevTimeStr,
                            const std::optional<QString>& logsDir, const Clock& clock);

void writeReport(QTextStream& out, const CliReportData& report, CliFormat format);
void writeStatus(QTextStream& out, const CliStatusData& status, CliFormat format);

} // namespace fennick
