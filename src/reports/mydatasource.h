#pragma once

#include "reports/mydspdata.h"
#include "reports/report.h"

#include <QAbstractTableModel>
#include <optional>

namespace fennick {

// The rows of one report table. Column 0 is identified "keyDateStr" and
// column 1 "dataStr"; a cell shows the row's field of that name. An absent
// list shows as an empty table. Read-only.
class MyDataSource : public QAbstractTableModel {
    Q_OBJECT

public:
    // headerData with this role answers the column's identifier.
    static constexpr int IdentifierRole = Qt::UserRole + 1;
    // data() of a row whose key is a day ("%Y%m%d"): true on a weekend, and
    // true on the day of setTodayKey; the views mark such rows. Such a row's
    // tooltip is the full date with its weekday.
    static constexpr int WeekendRole = Qt::UserRole + 2;
    static constexpr int TodayRole = Qt::UserRole + 3;

    explicit MyDataSource(ReportColumns columns, QObject* parent = nullptr);

    const std::optional<DspRows>& dataArray() const { return dataArray_; }
    // Replaces the rows; views reload at once.
    void setDataArray(std::optional<DspRows> rows);

    // The day key of today, from the clock; the row with it is marked.
    void setTodayKey(const QString& dayKey);

    const ReportColumns& columns() const { return columns_; }

    // "keyDateStr", "dataStr", or an empty text for any other column.
    static QString columnIdentifier(int column);
    // The row's field named by the identifier; absent for an unknown
    // identifier or a row out of range.
    std::optional<QString> objectValue(const QString& identifier, int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVariant dayData(int row, int role) const;

    ReportColumns columns_;
    QString todayKey_;
    std::optional<DspRows> dataArray_;
};

} // namespace fennick
