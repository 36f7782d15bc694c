#include "reports/mydatasource.h"

#include <QCoreApplication>

namespace fennick {

namespace {
constexpr int columnTotal = 2;
}

MyDataSource::MyDataSource(ReportColumns columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {}

void MyDataSource::setDataArray(std::optional<DspRows> rows) {
    beginResetModel();
    dataArray_ = std::move(rows);
    endResetModel();
}

void MyDataSource::setTodayKey(const QString& dayKey) {
    if (dayKey == todayKey_)
        return;
    todayKey_ = dayKey;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnTotal - 1), {TodayRole});
}

QString MyDataSource::columnIdentifier(int column) {
    switch (column) {
    case 0:
        return QStringLiteral("keyDateStr");
    case 1:
        return QStringLiteral("dataStr");
    default:
        return {};
    }
}

std::optional<QString> MyDataSource::objectValue(const QString& identifier, int row) const {
    if (!dataArray_ || row < 0 || row >= dataArray_->size())
        return std::nullopt;
    const myDspData& data = dataArray_->at(row);
    if (identifier == u"keyDateStr")
        return data.keyDateStr;
    if (identifier == u"dataStr")
        return data.dataStr;
    return std::nullopt;
}

int MyDataSource::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !dataArray_)
        return 0;
    return int(dataArray_->size());
}

int MyDataSource::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnTotal;
}

QVariant MyDataSource::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool right = index.column() == 1 && columns_.dataIsDuration;
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role == WeekendRole || role == TodayRole || role == Qt::ToolTipRole)
        return dayData(index.row(), role);
    if (role != Qt::DisplayRole)
        return {};
    const auto value = objectValue(columnIdentifier(index.column()), index.row());
    return value ? QVariant(*value) : QVariant();
}

QVariant MyDataSource::dayData(int row, int role) const {
    const QString key = objectValue(QStringLiteral("keyDateStr"), row).value_or(QString());
    const std::optional<QDate> day = dayOfKey(key);
    if (!day)
        return {};
    switch (role) {
    case WeekendRole:
        return isWeekend(*day);
    case TodayRole:
        return key == todayKey_;
    default:
        return dayTitle(*day);
    }
}

QVariant MyDataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == IdentifierRole)
        return columnIdentifier(section);
    if (role == Qt::TextAlignmentRole) {
        const bool right = section == 1 && columns_.dataIsDuration;
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    const char* heading = section == 0 ? columns_.keyHeading : columns_.dataHeading;
    return QCoreApplication::translate("MyDataSource", heading);
}

Qt::ItemFlags MyDataSource::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace fennick
