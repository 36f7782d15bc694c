#include "reports/reportdata.h"

#include "platform/texts.h"
#include "reports/navigation.h"

#include <QCoreApplication>

namespace fennick {

std::optional<QString> monthFilePath(const std::optional<QString>& logsDir,
                                     const std::optional<MonthIndex>& index, const QString& key) {
    if (!logsDir || !index)
        return std::nullopt;
    const auto found = index->constFind(key);
    if (found == index->constEnd())
        return std::nullopt;
    return *logsDir + u'/' + found.value();
}

namespace {

std::optional<QString> cursorFile(const std::optional<QString>& logsDir,
                                  const std::optional<MonthIndex>& index, int cursor,
                                  const Clock& clock) {
    const auto key = getDateString(cursor, clock.now());
    return key ? monthFilePath(logsDir, index, *key) : std::nullopt;
}

} // namespace

QString logHeading(const QString& monthKey) {
    return QCoreApplication::translate("ReportHeading", "Log – %1").arg(monthTitle(monthKey));
}

QString dailyHeading(const QString& monthKey) {
    return QCoreApplication::translate("ReportHeading", "Daily Sums – %1")
        .arg(monthTitle(monthKey));
}

QString monthlyHeading(const QStringList& monthKeysOldestFirst) {
    return QCoreApplication::translate("ReportHeading", "Monthly Sums – %1")
        .arg(blockTitle(monthKeysOldestFirst));
}

QString dayDuration(std::int64_t seconds) {
    return fillDuration(QStringLiteral("%02d:%02d:%02d"), seconds);
}

QString monthDuration(std::int64_t seconds) {
    return fillDuration(QStringLiteral("%03d:%02d:%02d"), seconds);
}

std::optional<DspRows> logRows(const std::optional<QString>& logsDir,
                               const std::optional<MonthIndex>& index, int cursor,
                               const Clock& clock) {
    const auto path = cursorFile(logsDir, index, cursor, clock);
    if (!path)
        return std::nullopt;
    return MonthSumHandler(path, clock).getLogArray();
}

SumsTable dailySums(const std::optional<QString>& logsDir, const std::optional<MonthIndex>& index,
                    int cursor, const Clock& clock) {
    SumsTable table;
    if (const auto path = cursorFile(logsDir, index, cursor, clock)) {
        table.days = MonthSumHandler(path, clock).calcDaySum().value_or(DayTotals{});
    }
    if (!table.days.isEmpty()) {
        DspRows rows;
        rows.reserve(table.days.size());
        // The map keeps its eight-digit day keys in ascending, so date, order.
        for (auto it = table.days.cbegin(); it != table.days.cend(); ++it) {
            rows.append(myDspData{it.key(), dayDuration(it.value().sumValue())});
            table.total += it.value().sumValue();
        }
        table.rows = std::move(rows);
    }
    table.totalLine = fillDuration(localized(texts::MonthTotal), table.total);
    return table;
}

SumsTable monthlySums(const std::optional<QString>& logsDir,
                      const std::optional<MonthIndex>& freshIndex, int blockStart,
                      const Clock& clock) {
    SumsTable table;
    table.rows = DspRows{};
    if (freshIndex) {
        const CalDate now = clock.now();
        for (int offset = blockStart + 11; offset >= blockStart; --offset) {
            const QString key = getDateString(offset, now).value_or(QString());
            std::int64_t seconds = 0;
            if (const auto path = monthFilePath(logsDir, freshIndex, key)) {
                if (const auto sum = MonthSumHandler(path, clock).calcMonthSum())
                    seconds = sum->sumValue();
            }
            table.rows->append(myDspData{key, monthDuration(seconds)});
            table.total += seconds;
        }
    }
    table.totalLine = fillDuration(localized(texts::YearTotal), table.total);
    return table;
}

} // namespace fennick
