#pragma once

#include "platform/clock.h"
#include "reports/mydspdata.h"
#include "reports/navigation.h"
#include "summary/monthsumhandler.h"
#include "timelog/store.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace fennick {

// The three reports differ in their columns, their total line and whether
// they step by month or by twelve-month block.
enum class ReportKind { Log, DailySums, MonthlySums };
inline constexpr ReportKind kReportKinds[] = {ReportKind::Log, ReportKind::DailySums,
                                              ReportKind::MonthlySums};

// The terminal's word for a kind ("log", "daily", "monthly") and back.
QString reportKindName(ReportKind kind);
std::optional<ReportKind> reportKindNamed(QStringView name);

// Column headings of one report table, as untranslated source texts of the
// "MyDataSource" translation context, and whether the right column holds
// durations (shown right-aligned so the colons line up).
struct ReportColumns {
    const char* keyHeading;
    const char* dataHeading;
    bool dataIsDuration;
};
ReportColumns reportColumns(ReportKind kind);

// One row as data, for output that reads the same in every language.
struct ReportRowData {
    // ISO 8601: the log's punch time (empty when its token is no timestamp),
    // the day ("2024-03-04") or the month ("2024-03") of a sum.
    QString isoKey;
    std::int64_t seconds = 0;            // the sums
    PunchKind kind = PunchKind::CheckIn; // the log
};

// Everything a report window or the terminal shows of one report.
struct ReportContent {
    ReportKind kind = ReportKind::Log;
    QString heading;
    QStringList months;               // the month, or the block's twelve oldest first
    QStringList columnHeadings;       // translated
    std::optional<DspRows> rows;      // absent shows as an empty table
    std::optional<QString> totalLine; // the sums reports only
    std::int64_t totalSeconds = 0;
    DayTotals days; // daily sums: the totals behind the rows, for the chart
    // Month files that are there but could not be read: the rows and totals
    // count them as empty, and the window and the terminal say so.
    QList<FileFailure> unreadable;
    QList<ReportRowData> rowData; // one for each row, in the same order
};

// The report of the month `offset` months back; for the monthly sums, of the
// twelve months ending with it, read through a fresh index of the folder.
// Computed afresh from the files at each call.
ReportContent reportContent(ReportKind kind, int offset, const LogFolder& folder,
                            const Clock& clock);

// The offset a report window at `cursor` shows: the monthly sums window shows
// the block holding the cursor, the others the cursor's month.
int shownOffset(ReportKind kind, int cursor);

enum class MoveDirection { Earlier, Later };

// The window's Earlier/Later buttons for the cursor, and the cursor after a
// move, judged by the months that have a file in the folder's index.
MoveButtons moveButtons(ReportKind kind, int cursor, const LogFolder& folder, const Clock& clock);
int movedCursor(ReportKind kind, int cursor, MoveDirection direction, const LogFolder& folder,
                const Clock& clock);

// Rows of the log: the punch time in display form (empty when its token is
// no timestamp) and the localized kind word.
DspRows logRows(const QList<LoggedPunch>& punches);

// ISO 8601 forms: a local time with its offset from UTC
// ("2024-03-04T08:00:00+01:00"), and a month key as "2024-03".
QString isoDateTime(const CalDate& time);
QString isoMonth(const QString& monthKey);

// Right-column texts of the two sums tables.
QString dayDuration(std::int64_t seconds);
QString monthDuration(std::int64_t seconds);

} // namespace fennick
