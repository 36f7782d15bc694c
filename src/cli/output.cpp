#include "cli/output.h"

#include "platform/texts.h"
#include "reports/csv.h"
#include "reports/mydatasource.h"
#include "reports/navigation.h"
#include "reports/reportdata.h"
#include "timelog/store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace fennick {

namespace {

QStringList headingsOf(const ReportColumns& columns) {
    return {QCoreApplication::translate("MyDataSource", columns.keyHeading),
            QCoreApplication::translate("MyDataSource", columns.dataHeading)};
}

void takeSums(CliReportData& data, SumsTable table) {
    data.rows = table.rows.value_or(DspRows{});
    data.totalLine = table.totalLine;
    data.totalSeconds = table.total;
}

QJsonArray rowsJson(const DspRows& rows) {
    QJsonArray array;
    for (const myDspData& row : rows)
        array.append(QJsonObject{{"key", row.keyDateStr}, {"value", row.dataStr}});
    return array;
}

QJsonObject reportJson(const CliReportData& report) {
    QJsonObject object{{"kind", report.kind}, {"rows", rowsJson(report.rows)}};
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

QJsonObject statusJson(const CliStatusData& status) {
    return QJsonObject{
        {"kind", "status"},
        {"checkedIn", status.checkedIn},
        {"lastPunch", status.lastPunch ? QJsonValue(*status.lastPunch) : QJsonValue()},
        {"day", status.dayKey},
        {"today", dayDuration(status.todaySeconds)},
        {"todaySeconds", qint64(status.todaySeconds)},
    };
}

} // namespace

CliReportData collectReport(CliReport report, int offset, const std::optional<QString>& logsDir,
                            const Clock& clock) {
    // The index is read afresh: the terminal keeps none between runs.
    const TimeLogStore store(logsDir, clock, LogSink{});
    const std::optional<MonthIndex> index = store.getLogFileDic();
    const CalDate now = clock.now();
    const QString key = getDateString(offset, now).value_or(QString());
    CliReportData data;
    data.months = QStringList{key};
    switch (report) {
    case CliReport::Log:
        data.kind = QStringLiteral("log");
        data.heading = logHeading(key);
        data.columns = headingsOf(columns::Log);
        data.rows = logRows(store.logsDirPathStr(), index, offset, clock).value_or(DspRows{});
        break;
    case CliReport::Daily:
        data.kind = QStringLiteral("daily");
        data.heading = dailyHeading(key);
        data.columns = headingsOf(columns::DailySums);
        takeSums(data, dailySums(store.logsDirPathStr(), index, offset, clock));
        break;
    case CliReport::Monthly:
        data.months.clear();
        for (int back = offset + 11; back >= offset; --back)
            data.months << getDateString(back, now).value_or(QString());
        data.kind = QStringLiteral("monthly");
        data.heading = monthlyHeading(data.months);
        data.columns = headingsOf(columns::MonthlySums);
        takeSums(data, monthlySums(store.logsDirPathStr(), index, offset, clock));
        break;
    }
    return data;
}

CliStatusData collectStatus(bool onBusiness, const QString& prevTimeStr,
                            const std::optional<QString>& logsDir, const Clock& clock) {
    CliStatusData status;
    status.checkedIn = onBusiness;
    if (!prevTimeStr.isEmpty()) {
        // A value edited by hand that is no timestamp is shown as it stands.
        const auto punch = CalDate::parse(prevTimeStr, CalFormat::Compact);
        status.lastPunch = punch ? punch->format(CalFormat::Display) : prevTimeStr;
    }
    status.dayKey = clock.now().format(CalFormat::Compact).left(8);
    const TimeLogStore store(logsDir, clock, LogSink{});
    const SumsTable month = dailySums(store.logsDirPathStr(), store.getLogFileDic(), 0, clock);
    status.todaySeconds = month.days.value(status.dayKey).sumValue();
    return status;
}

void writeReport(QTextStream& out, const CliReportData& report, CliFormat format) {
    switch (format) {
    case CliFormat::Text:
        out << report.heading << '\n';
        for (const myDspData& row : report.rows)
            out << row.keyDateStr << '\t' << row.dataStr << '\n';
        if (report.totalLine)
            out << *report.totalLine << '\n';
        break;
    case CliFormat::Csv:
        out << toCsv(report.columns, report.rows, report.totalLine);
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
    const QString word = localized(status.checkedIn ? texts::CheckInWord : texts::CheckOutWord);
    out << fillWord(localized(texts::CkinTitle), word) << '\n';
    out << fillWord(localized(texts::CkinPreTitle), word) << '\t'
        << status.lastPunch.value_or(QString()) << '\n';
    out << CliText::tr("Today:") << '\t' << dayDuration(status.todaySeconds) << '\n';
}

} // namespace fennick
