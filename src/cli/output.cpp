#include "cli/output.h"

#include "reports/csv.h"
#include "timelog/checkinstate.h"
#include "timelog/store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace fennick {

namespace {

QJsonArray rowsJson(const DspRows& rows) {
    QJsonArray array;
    for (const myDspData& row : rows)
        array.append(QJsonObject{{"key", row.keyDateStr}, {"value", row.dataStr}});
    return array;
}

QJsonObject reportJson(const ReportContent& report) {
    QJsonObject object{{"kind", reportKindName(report.kind)},
                       {"rows", rowsJson(report.rows.value_or(DspRows{}))}};
    if (report.months.size() == 1)
        object.insert("month", report.months.first());
    else
        object.insert("months", QJsonArray::fromStringList(report.months));
    if (report.totalLine) {
        object.insert("total", *report.totalLine);
        object.insert("totalSeconds", qint64(report.totalSeconds));
    }
    return object;
}

// The week's figures, only where there is a target.
void addTargetJson(QJsonObject& object, const Account& account) {
    if (!account.weekTargetSeconds)
        return;
    object.insert("weekSeconds", qint64(account.weekSeconds));
    object.insert("weekTargetSeconds", qint64(*account.weekTargetSeconds));
    object.insert("balanceSeconds", qint64(account.balanceSeconds().value_or(0)));
    object.insert("todayTargetSeconds", qint64(account.todayTargetSeconds.value_or(0)));
    object.insert("leftTodaySeconds", qint64(account.leftTodaySeconds().value_or(0)));
}

QJsonObject statusJson(const CliStatusData& status) {
    QJsonObject object{
        {"kind", "status"},
        {"checkedIn", status.state.checkedIn},
        {"lastPunch", status.state.lastPunchTime.isEmpty()
                          ? QJsonValue()
                          : QJsonValue(status.state.lastPunchTime)},
        {"day", status.dayKey},
        {"today", dayDuration(status.todaySeconds)},
        {"todaySeconds", qint64(status.todaySeconds)},
    };
    addTargetJson(object, status.account);
    return object;
}

} // namespace

ReportContent collectReport(ReportKind kind, int offset, const std::optional<QString>& logsDir,
                            const Clock& clock, const WeekTargets& targets) {
    // The index is read afresh: the terminal keeps none between runs.
    return reportContent(kind, offset, LogFolder::scanned(logsDir), clock, targets);
}

CliStatusData collectStatus(bool onBusiness, const QString& prevTimeStr,
                            const std::optional<QString>& logsDir, const Clock& clock,
                            const WeekTargets& targets) {
    CliStatusData status;
    status.state = checkInState(onBusiness, prevTimeStr);
    // The check-in window's own figures.
    status.account = account(LogFolder::scanned(logsDir), clock, targets);
    status.dayKey = status.account.dayKey;
    status.todaySeconds = status.account.todaySeconds;
    status.unreadable = status.account.unreadable;
    return status;
}

void writeReport(QTextStream& out, const ReportContent& report, CliFormat format) {
    const DspRows rows = report.rows.value_or(DspRows{});
    switch (format) {
    case CliFormat::Text:
        out << report.heading << '\n';
        for (const myDspData& row : rows)
            out << row.keyDateStr << '\t' << row.dataStr << '\n';
        if (report.totalLine)
            out << *report.totalLine << '\n';
        break;
    case CliFormat::Csv:
        out << toCsv(report.columnHeadings, rows, report.totalLine);
        break;
    case CliFormat::Json:
        out << QJsonDocument(reportJson(report)).toJson(QJsonDocument::Indented);
        break;
    }
}

void writeStatus(QTextStream& out, const CliStatusData& status, CliFormat format) {
    if (format == CliFormat::Json) {
        out << QJsonDocument(statusJson(status)).toJson(QJsonDocument::Indented);
        return;
    }
    // The check-in window's own lines, then the day's time so far.
    out << status.state.title << '\n';
    out << status.state.lastPunchTitle << '\t' << status.state.lastPunchTime << '\n';
    out << CliText::tr("Today:") << '\t' << dayDuration(status.todaySeconds) << '\n';
    const Account& account = status.account;
    if (!account.weekTargetSeconds)
        return;
    out << CliText::tr("This week:") << '\t' << dayDuration(account.weekSeconds) << '\n';
    out << CliText::tr("Week target:") << '\t' << dayDuration(*account.weekTargetSeconds) << '\n';
    out << CliText::tr("Balance:") << '\t' << dayDuration(account.balanceSeconds().value_or(0))
        << '\n';
}

} // namespace fennick
