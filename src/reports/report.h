#pragma once

#include "platform/clock.h"
#include "reports/account.h"
#include "reports/mydspdata.h"
#include "reports/navigation.h"
#include "summary/monthsumhandler.h"
#include "timelog/store.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace fennick {

// The reports differ in their columns, their total line and whether they
// step by month or by twelve-month block.
enum class ReportKind { Log, DailySums, MonthlySums, WeeklySums };
inline constexpr ReportKind kReportKinds[] = {ReportKind::Log, ReportKind::DailySums,
                                              ReportKind::MonthlySums, ReportKind::WeeklySums};

// The terminal's word for a kind ("log", "daily", "monthly", "weekly") and
// back.
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
    DayTotals days;   // daily sums: the totals behind the rows, for the chart
    QString todayKey; // "%Y%m%d" of the clock's day, to mark today
    // Month files that are there but could not be read: the rows and totals
    // count them as empty, and the window and the terminal say so.
    QList<FileFailure> unreadable;
    QList<ReportRowData> rowData; // one for each row, in the same order
    // The conflict copies of every month of the folder: until merged, the
    // window and the terminal say so.
    ConflictIndex conflicts;
};

// The short line shown over the empty table of a month without punches ("No
// punches in March 2024"): no file, or a file without a punch, as the current
// month's file is once a window has opened. Empty for a month with punches
// and for the monthly sums, whose twelve rows are always there.
QString noPunchesNote(const ReportContent& content);

// The report of the month `offset` months back; for the monthly sums, of the
// twelve months ending with it, read through a fresh index of the folder.
// Computed afresh from the files at each call. Only the weekly sums look at
// the targets: with one they show target and difference per week and the
// month's balance.
ReportContent reportContent(ReportKind kind, int offset, const LogFolder& folder,
                            const Clock& clock, const WeekTargets& targets = {});

// The offset a report window at `cursor` shows: the monthly sums window shows
// the block holding the cursor, the others the cursor's month.
int shownOffset(ReportKind kind, int cursor);

// ThisMonth goes back to the current month from anywhere.
enum class MoveDirection { Earlier, Later, ThisMonth };

// The window's Earlier/Later/This Month buttons for the cursor, and the
// cursor after a move, judged by the months that have a file in the folder's
// index.
MoveButtons moveButtons(ReportKind kind, int cursor, const LogFolder& folder, const Clock& clock);
int movedCursor(ReportKind kind, int cursor, MoveDirection direction, const LogFolder& folder,
                const Clock& clock);

// Rows of the log: the punch time in display form (empty when its token is
// no timestamp) and the localized kind word.
DspRows logRows(const QList<LoggedPunch>& punches);

// The date of an eight-digit day key ("%Y%m%d"); absent for any other text.
std::optional<QDate> dayOfKey(QStringView key);
// Not one of the locale's working days.
bool isWeekend(const QDate& date);
// The full date with its weekday, in the user's locale.
QString dayTitle(const QDate& date);
// A day of the chart: its full date and the time worked, in the table's form,
// or "no punches" for a day without any.
QString dayToolTip(const QDate& date, std::optional<std::int64_t> seconds);
// One row per ISO week touching the month `monthKey` ("%Y%m"), Monday first,
// from the day totals of every day of those weeks: "2024-W05" and the time
// worked, or with a target "worked / target / difference". The total is the
// month's own days: the time worked in them, or with a target the month's
// balance (worked minus the targets of its days).
struct WeekRows {
    DspRows rows;
    QList<std::int64_t> workedSeconds; // of each row's week
    std::int64_t totalSeconds = 0;
};
WeekRows weekRows(const QString& monthKey, const DayTotals& days, const WeekTargets& targets);
// ISO 8601 forms: a local time with its offset from UTC
// ("2024-03-04T08:00:00+01:00"), and a month key as "2024-03".
QString isoDateTime(const CalDate& time);
QString isoMonth(const QString& monthKey);

// Right-column texts of the two sums tables.
QString dayDuration(std::int64_t seconds);
QString monthDuration(std::int64_t seconds);

} // namespace fennick
