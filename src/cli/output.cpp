#include "cli/output.h"

#include "platform/texts.h"
#include "reports/csv.h"
#include "timelog/checkinstate.h"
#include "timelog/store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <utility>

namespace fennick {

namespace {

// Durations as "h:mm:ss", the same in every language.
QString clockDuration(std::int64_t seconds) {
    return fillDuration(QStringLiteral("%d:%02d:%02d"), seconds);
}

QString punchWord(PunchKind kind) {
    return kind == PunchKind::CheckIn ? QStringLiteral("in") : QStringLiteral("out");
}

// The name of a row's key: the punch time, the day or the month.
QString keyName(ReportKind kind) {
    switch (kind) {
    case ReportKind::Log:
        return QStringLiteral("time");
    case ReportKind::DailySums:
        return QStringLiteral("day");
    case ReportKind::MonthlySums:
        return QStringLiteral("month");
    case ReportKind::WeeklySums:
        return QStringLiteral("week");
    }
    return {};
}

QJsonArray rowsJson(const ReportContent& report) {
    QJsonArray array;
    const QString key = keyName(report.kind);
    for (const ReportRowData& row : report.rowData) {
        const QJsonValue isoKey = row.isoKey.isEmpty() ? QJsonValue() : QJsonValue(row.isoKey);
        if (report.kind == ReportKind::Log)
            array.append(QJsonObject{{key, isoKey}, {"punch", punchWord(row.kind)}});
        else
            array.append(QJsonObject{{key, isoKey},
                                     {"seconds", qint64(row.seconds)},
                                     {"duration", clockDuration(row.seconds)}});
    }
    return array;
}

QJsonObject reportJson(const ReportContent& report) {
    QJsonObject object{{"kind", reportKindName(report.kind)}, {"rows", rowsJson(report)}};
    if (report.kind == ReportKind::MonthlySums) {
        QJsonArray months;
        for (const QString& month : report.months)
            months.append(isoMonth(month));
        object.insert("months", months);
    } else {
        object.insert("month", isoMonth(report.months.value(0)));
    }
    if (report.totalLine) {
        object.insert("totalSeconds", qint64(report.totalSeconds));
        object.insert("totalDuration", clockDuration(report.totalSeconds));
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

// One record per row under fixed headings; the sums end with a "total" row.
QString reportCsv(const ReportContent& report) {
    const bool log = report.kind == ReportKind::Log;
    QString csv = keyName(report.kind) +
                  (log ? QLatin1String(",punch\r\n") : QLatin1String(",seconds,duration\r\n"));
    const auto line = [&csv](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        csv += quoted.join(u',') + QLatin1String("\r\n");
    };
    for (const ReportRowData& row : report.rowData) {
        if (log)
            line({row.isoKey, punchWord(row.kind)});
        else
            line({row.isoKey, QString::number(row.seconds), clockDuration(row.seconds)});
    }
    if (report.totalLine)
        line({QStringLiteral("total"), QString::number(report.totalSeconds),
              clockDuration(report.totalSeconds)});
    return csv;
}

QJsonValue lastPunchJson(const QString& prevTimeStr) {
    const auto time = CalDate::parse(prevTimeStr, CalFormat::Compact);
    return time ? QJsonValue(isoDateTime(*time)) : QJsonValue();
}

QJsonObject statusJson(const CliStatusData& status, const QString& prevTimeStr) {
    const QString& day = status.dayKey;
    QJsonObject object{
        {"kind", "status"},
        {"checkedIn", status.state.checkedIn},
        {"lastPunch", lastPunchJson(prevTimeStr)},
        {"day", day.left(4) + u'-' + day.mid(4, 2) + u'-' + day.mid(6, 2)},
        {"todaySeconds", qint64(status.todaySeconds)},
        {"todayDuration", clockDuration(status.todaySeconds)},
        {"folder", status.folder},
    };
    addTargetJson(object, status.account);
    return object;
}

using TextRows = QList<std::pair<QString, QString>>;

// Two columns lined up: the left padded to its widest text, the right
// right-aligned where it holds durations.
void writeColumns(QTextStream& out, const TextRows& rows, bool alignRight) {
    qsizetype left = 0, right = 0;
    for (const auto& [key, value] : rows) {
        left = std::max(left, key.size());
        right = std::max(right, value.size());
    }
    for (const auto& [key, value] : rows) {
        QString line = key.leftJustified(left) + QLatin1String("  ") +
                       (alignRight ? value.rightJustified(right) : value);
        while (line.endsWith(u' '))
            line.chop(1);
        out << line << '\n';
    }
}

// A total line "Monthly sum: \t012:30:00" as label and value.
std::pair<QString, QString> totalRow(const QString& line) {
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0)
        return {line.trimmed(), QString()};
    return {line.left(tab).trimmed(), line.mid(tab + 1)};
}

} // namespace

ReportContent collectReport(ReportKind kind, int offset, const std::optional<QString>& logsDir,
                            const Clock& clock, const WeekTargets& targets) {
    // The index is read afresh: the terminal keeps none between runs.
    return reportContent(kind, offset, LogFolder::scanned(logsDir), clock, targets);
}

CliStatusData collectStatus(bool onBusiness, const QString& prevTimeStr, const LogFolder& folder,
                            const Clock& clock, const WeekTargets& targets) {
    CliStatusData status;
    status.state = checkInState(onBusiness, prevTimeStr);
    // The check-in window's own figures.
    status.account = account(folder, clock, targets);
    status.conflicts = folder.conflicts;
    status.dayKey = status.account.dayKey;
    status.todaySeconds = status.account.todaySeconds;
    status.unreadable = status.account.unreadable;
    status.prevTimeStr = prevTimeStr;
    status.folder = folder.path.value_or(QString());
    return status;
}

QString trayToolTip(const CliStatusData& status) {
    return CliText::tr("fennick: %1\nToday: %2")
        .arg(status.state.title, dayDuration(status.todaySeconds));
}

void writeReport(QTextStream& out, const ReportContent& report, CliFormat format) {
    const DspRows rows = report.rows.value_or(DspRows{});
    switch (format) {
    case CliFormat::Text: {
        out << report.heading << '\n';
        TextRows lines;
        for (const myDspData& row : rows)
            lines.append({row.keyDateStr, row.dataStr});
        if (report.totalLine)
            lines.append(totalRow(*report.totalLine));
        writeColumns(out, lines, reportColumns(report.kind).dataIsDuration);
        break;
    }
    case CliFormat::Csv:
        out << reportCsv(report);
        break;
    case CliFormat::Json:
        out << QJsonDocument(reportJson(report)).toJson(QJsonDocument::Indented);
        break;
    }
}

void writeStatus(QTextStream& out, const CliStatusData& status, CliFormat format) {
    if (format == CliFormat::Json) {
        out << QJsonDocument(statusJson(status, status.prevTimeStr))
                   .toJson(QJsonDocument::Indented);
        return;
    }
    // The check-in window's own lines, then the day's time so far.
    out << status.state.title << '\n';
    TextRows rows{{status.state.lastPunchTitle, status.state.lastPunchTime},
                  {CliText::tr("Today:"), dayDuration(status.todaySeconds)}};
    const Account& account = status.account;
    if (account.weekTargetSeconds) {
        rows << std::pair(CliText::tr("This week:"), dayDuration(account.weekSeconds))
             << std::pair(CliText::tr("Week target:"), dayDuration(*account.weekTargetSeconds))
             << std::pair(CliText::tr("Balance:"),
                          dayDuration(account.balanceSeconds().value_or(0)));
    }
    // Where the records are, so a person can find, back up or sync them.
    rows << std::pair(CliText::tr("Log folder:"), status.folder);
    writeColumns(out, rows, false);
}

} // namespace fennick
