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

    explicit MyDataSource(ReportColumns columns, QObject* parent = nullptr);

    const std::optional<DspRows>& dataArray() const { return dataArray_; }
    // Replaces the rows; views reload at once.
    void setDataArray(std::optional<DspRows> rows);

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
    ReportColumns columns_;
    std::optional<DspRows> dataArray_;
};

} // namespace fennick
