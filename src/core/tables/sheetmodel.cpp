// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tables/sheetmodel.h"

#include <utility>

namespace kelsa
{

SheetModel::SheetModel(QList<QStringList> records, int columnCount, QObject *parent)
    : QAbstractTableModel(parent)
    , m_records(std::move(records))
    , m_columns(columnCount)
{
}

int SheetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int SheetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant SheetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_records.at(index.row()).value(index.column());
}

bool SheetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() >= m_columns)
        return false;
    m_records[index.row()][index.column()] = value.toString();
    emit dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
    return true;
}

Qt::ItemFlags SheetModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

} // namespace kelsa
