#pragma once

#include "cli/args.h"
#include "platform/clock.h"
#include "reports/report.h"
#include "timelog/checkinstate.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>
#include <optional>

namespace fennick {

// The report of the month `offset` months back (for the monthly sums, the
// twelve months ending with it), read from the log folder by the same
// function as the windows, through an index read now.
ReportContent collectReport(ReportKind kind, int offset, const std::optional<QString>& logsDir,
                            const Clock& clock, const WeekTargets& targets = {});

struct CliStatusData {
    CheckInState state;            // what the check-in window shows
    QString prevTimeStr;           // the last punch as a compact timestamp
    QString dayKey;                // today
    std::int64_t todaySeconds = 0; // today's time, as the check-in window shows it
    Account account;               // the same figures, the week's and the targets
    QList<FileFailure> unreadable; // as in ReportContent
    QString folder;                // the log folder
    ConflictIndex conflicts;       // as in ReportContent
};

CliStatusData collectStatus(bool onBusiness, const QString& prevTimeStr, const LogFolder& folder,
                            const Clock& clock, const WeekTargets& targets = {});

// The tray icon's tooltip: the state and today's time so far.
QString trayToolTip(const CliStatusData& status);

void writeReport(QTextStream& out, const ReportContent& report, CliFormat format);
void writeStatus(QTextStream& out, const CliStatusData& status, CliFormat format);

} // namespace fennick
