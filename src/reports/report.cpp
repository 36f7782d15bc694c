#include "reports/report.h"

#include "platform/texts.h"
#include "timelog/conflicts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QDateTime>

namespace fennick {

namespace {

struct KindName {
    ReportKind kind;
    QStringView name;
};
constexpr KindName kKindNames[] = {
    {ReportKind::Log, u"log"},
    {ReportKind::DailySums, u"daily"},
    {ReportKind::MonthlySums, u"monthly"},
    {ReportKind::WeeklySums, u"weekly"},
};

QString heading(ReportKind kind, const QStringList& months) {
    switch (kind) {
    case ReportKind::Log:
        return QCoreApplication::translate("ReportHeading", "Log – %1")
            .arg(monthTitle(months.value(0)));
    case ReportKind::DailySums:
        return QCoreApplication::translate("ReportHeading", "Daily Sums – %1")
            .arg(monthTitle(months.value(0)));
    case ReportKind::MonthlySums:
        return QCoreApplication::translate("ReportHeading", "Monthly Sums – %1")
            .arg(blockTitle(months));
    case ReportKind::WeeklySums:
        return QCoreApplication::translate("ReportHeading", "Weekly Sums – %1")
            .arg(monthTitle(months.value(0)));
    }
    return {};
}

QStringList columnHeadings(ReportKind kind) {
    const ReportColumns columns = reportColumns(kind);
    return {QCoreApplication::translate("MyDataSource", columns.keyHeading),
            QCoreApplication::translate("MyDataSource", columns.dataHeading)};
}

// The month's text, its file and conflict copies read together; files that
// are there but could not be read are noted.
std::optional<QString> monthText(ReportContent& content, const LogFolder& folder,
                                 const QString& monthKey) {
    MonthRead month = readMonth(folder, monthKey);
    content.unreadable += month.unreadable;
    return month.text;
}

void fillLog(ReportContent& content, const LogFolder& folder, const Clock& clock) {
    if (const auto text = monthText(content, folder, content.months.value(0))) {
        const QList<LoggedPunch> punches =
            MonthSumHandler(std::nullopt, clock).getLogArrayBuff(*text);
        content.rows = logRows(punches);
        for (const LoggedPunch& punch : punches)
            content.rowData.append(
                {punch.time ? isoDateTime(*punch.time) : QString(), 0, punch.kind});
    }
}

// One row per day with work, in day order, and the month's total. No file,
// an unreadable one or no day at all: no rows, 0.
void fillDailySums(ReportContent& content, const LogFolder& folder, const Clock& clock) {
    if (const auto text = monthText(content, folder, content.months.value(0)))
        content.days = MonthSumHandler(std::nullopt, clock).sumDayBuff(*text);
    if (!content.days.isEmpty()) {
        DspRows rows;
        rows.reserve(content.days.size());
        // The map keeps its eight-digit day keys in ascending, so date, order.
        for (auto it = content.days.cbegin(); it != content.days.cend(); ++it) {
            rows.append(myDspData{it.key(), dayDuration(it.value().sumValue())});
            const QString& key = it.key();
            content.rowData.append({key.left(4) + u'-' + key.mid(4, 2) + u'-' + key.mid(6, 2),
                                    it.value().sumValue(), PunchKind::CheckIn});
            content.totalSeconds += it.value().sumValue();
        }
        content.rows = std::move(rows);
    }
    content.totalLine = fillDuration(localized(texts::MonthTotal), content.totalSeconds);
}

// Twelve rows, oldest first, read through a fresh index of the folder: a
// month file added since the index was built counts. With no folder the table
// is empty and the total 0.
void fillMonthlySums(ReportContent& content, const LogFolder& cached, const Clock& clock) {
    const LogFolder folder = LogFolder::scanned(cached.path);
    content.rows = DspRows{};
    if (folder.index) {
        for (const QString& key : content.months) {
            std::int64_t seconds = 0;
            if (const auto text = monthText(content, folder, key))
                seconds = MonthSumHandler(std::nullopt, clock).sumMonthBuff(*text).sumValue();
            content.rows->append(myDspData{key, monthDuration(seconds)});
            content.rowData.append({isoMonth(key), seconds, PunchKind::CheckIn});
            content.totalSeconds += seconds;
        }
    }
    content.totalLine = fillDuration(localized(texts::YearTotal), content.totalSeconds);
}

// The weeks touching the month, read from the files of every month they
// touch. Without a target the right column says only the time worked.
void fillWeeklySums(ReportContent& content, const LogFolder& folder, const Clock& clock,
                    const WeekTargets& targets) {
    const auto month = CalDate::parse(content.months.value(0), CalFormat::MonthKey);
    content.rows = DspRows{};
    if (!month)
        return;
    const QDate first(month->year(), month->month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    const DayTotals days = dayTotalsBetween(weekStart(first), weekStart(last).addDays(6), folder,
                                            clock, content.unreadable);
    WeekRows weeks = weekRows(content.months.value(0), days, targets);
    for (qsizetype i = 0; i < weeks.rows.size(); ++i)
        content.rowData.append({weeks.rows[i].keyDateStr, weeks.workedSeconds[i]});
    content.rows = std::move(weeks.rows);
    content.totalSeconds = weeks.totalSeconds;
    if (targets.any()) {
        content.totalLine = fillDuration(
            QCoreApplication::translate("ReportTotal", "Balance of the month: \t%02d:%02d:%02d"),
            content.totalSeconds);
    } else {
        content.columnHeadings[1] = QCoreApplication::translate("MyDataSource", "Worked");
        content.totalLine = fillDuration(localized(texts::MonthTotal), content.totalSeconds);
    }
}

// A month with only a conflict copy has punches to show too.
MonthHasFile hasFileIn(const LogFolder& folder, const Clock& clock) {
    std::optional<MonthIndex> months = folder.index;
    if (months) {
        for (const QString& key : folder.conflicts.keys())
            months->insert(key, folder.conflicts.value(key).value(0));
    }
    return monthHasFileIn(months, clock);
}

} // namespace

QString reportKindName(ReportKind kind) {
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind)
            return entry.name.toString();
    }
    return {};
}

std::optional<ReportKind> reportKindNamed(QStringView name) {
    for (const KindName& entry : kKindNames) {
        if (entry.name == name)
            return entry.kind;
    }
    return std::nullopt;
}

ReportColumns reportColumns(ReportKind kind) {
    switch (kind) {
    case ReportKind::Log:
        return {QT_TRANSLATE_NOOP("MyDataSource", "Time"),
                QT_TRANSLATE_NOOP("MyDataSource", "Event"), false};
    case ReportKind::DailySums:
        return {QT_TRANSLATE_NOOP("MyDataSource", "Day"),
                QT_TRANSLATE_NOOP("MyDataSource", "Worked"), true};
    case ReportKind::MonthlySums:
        return {QT_TRANSLATE_NOOP("MyDataSource", "Month"),
                QT_TRANSLATE_NOOP("MyDataSource", "Worked"), true};
    case ReportKind::WeeklySums:
        return {QT_TRANSLATE_NOOP("MyDataSource", "Week"),
                QT_TRANSLATE_NOOP("MyDataSource", "Worked / Target / Difference"), true};
    }
    return {"", "", false};
}

ReportContent reportContent(ReportKind kind, int offset, const LogFolder& folder,
                            const Clock& clock, const WeekTargets& targets) {
    ReportContent content;
    content.kind = kind;
    const CalDate now = clock.now();
    if (kind == ReportKind::MonthlySums) {
        for (int back = offset + 11; back >= offset; --back)
            content.months << getDateString(back, now).value_or(QString());
    } else {
        content.months << getDateString(offset, now).value_or(QString());
    }
    content.heading = heading(kind, content.months);
    content.todayKey = now.format(CalFormat::Compact).left(8);
    content.columnHeadings = columnHeadings(kind);
    content.conflicts = folder.conflicts;
    switch (kind) {
    case ReportKind::Log:
        fillLog(content, folder, clock);
        break;
    case ReportKind::DailySums:
        fillDailySums(content, folder, clock);
        break;
    case ReportKind::MonthlySums:
        fillMonthlySums(content, folder, clock);
        break;
    case ReportKind::WeeklySums:
        fillWeeklySums(content, folder, clock, targets);
        break;
    }
    return content;
}

int shownOffset(ReportKind kind, int cursor) {
    return kind == ReportKind::MonthlySums ? blockStart(cursor) : cursor;
}

QString noPunchesNote(const ReportContent& content) {
    const bool empty = !content.rows || content.rows->isEmpty();
    if (!empty || content.kind == ReportKind::MonthlySums)
        return {};
    return QCoreApplication::translate("ReportHeading", "No punches in %1")
        .arg(monthTitle(content.months.value(0)));
}

MoveButtons moveButtons(ReportKind kind, int cursor, const LogFolder& folder, const Clock& clock) {
    const Stride stride = kind == ReportKind::MonthlySums ? Stride::Block : Stride::Month;
    MoveButtons buttons = checkMoveSomeButton(cursor, stride, hasFileIn(folder, clock));
    buttons.nowEnabled = cursor != 0;
    return buttons;
}

int movedCursor(ReportKind kind, int cursor, MoveDirection direction, const LogFolder& folder,
                const Clock& clock) {
    if (direction == MoveDirection::ThisMonth)
        return 0;
    const MonthHasFile hasFile = hasFileIn(folder, clock);
    const bool later = direction == MoveDirection::Later;
    if (kind == ReportKind::MonthlySums)
        return later ? goNextSum2Cursor(cursor, hasFile) : goPrevSum2Cursor(cursor, hasFile);
    return later ? goNextMonthCursor(cursor, hasFile) : goPrevMonthCursor(cursor, hasFile);
}

DspRows logRows(const QList<LoggedPunch>& punches) {
    const QString checkInWord = localized(texts::CheckInWord);
    const QString checkOutWord = localized(texts::CheckOutWord);
    DspRows rows;
    rows.reserve(punches.size());
    for (const LoggedPunch& punch : punches) {
        rows.append(myDspData{punch.time ? punch.time->format(CalFormat::Display) : QString(),
                              punch.kind == PunchKind::CheckIn ? checkInWord : checkOutWord});
    }
    return rows;
}

std::optional<QDate> dayOfKey(QStringView key) {
    if (key.size() != 8)
        return std::nullopt;
    const QDate date = QDate::fromString(key.toString(), QStringLiteral("yyyyMMdd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

bool isWeekend(const QDate& date) {
    return !QLocale().weekdays().contains(Qt::DayOfWeek(date.dayOfWeek()));
}

QString dayTitle(const QDate& date) {
    return QLocale().toString(date, QLocale::LongFormat);
}

QString dayToolTip(const QDate& date, std::optional<std::int64_t> seconds) {
    const QString worked =
        seconds ? dayDuration(*seconds) : QCoreApplication::translate("MyDataSource", "no punches");
    return QCoreApplication::translate("MyDataSource", "%1: %2").arg(dayTitle(date), worked);
}

WeekRows weekRows(const QString& monthKey, const DayTotals& days, const WeekTargets& targets) {
    WeekRows result;
    const auto month = CalDate::parse(monthKey, CalFormat::MonthKey);
    if (!month)
        return result;
    const QDate first(month->year(), month->month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    const bool withTarget = targets.any();
    for (QDate monday = weekStart(first); monday <= last; monday = monday.addDays(7)) {
        std::int64_t worked = 0;
        for (int i = 0; i < 7; ++i)
            worked += days.value(dayKeyOf(monday.addDays(i))).sumValue();
        int isoYear = 0;
        const int week = monday.weekNumber(&isoYear);
        const QString key = QStringLiteral("%1-W%2").arg(isoYear).arg(week, 2, 10, QChar(u'0'));
        const std::int64_t target = targets.weekSeconds();
        result.workedSeconds.append(worked);
        result.rows.append(myDspData{key, withTarget
                                              ? QStringLiteral("%1 / %2 / %3")
                                                    .arg(dayDuration(worked), dayDuration(target),
                                                         dayDuration(worked - target))
                                              : dayDuration(worked)});
    }
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        result.totalSeconds += days.value(dayKeyOf(day)).sumValue();
        if (withTarget)
            result.totalSeconds -= targets.daySeconds(day.dayOfWeek());
    }
    return result;
}

QString isoDateTime(const CalDate& time) {
    const CalFields& f = time.fields();
    const QDateTime wall(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second), Qt::UTC);
    const auto offset = int(wall.toSecsSinceEpoch() - time.instant());
    return QDateTime::fromSecsSinceEpoch(time.instant(), Qt::OffsetFromUTC, offset)
        .toString(Qt::ISODate);
}

QString isoMonth(const QString& monthKey) {
    return monthKey.left(4) + u'-' + monthKey.mid(4);
}

QString dayDuration(std::int64_t seconds) {
    return fillDuration(QStringLiteral("%02d:%02d:%02d"), seconds);
}

QString monthDuration(std::int64_t seconds) {
    return fillDuration(QStringLiteral("%03d:%02d:%02d"), seconds);
}

} // namespace fennick
