// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace kelsa
{

// The records of one reference sheet as the window shows them: texts addressed by record and
// field (column 0 is "F1"); every record holds columnCount texts. Cells are editable; an edit
// stays here and never reaches the workbook.
class SheetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    SheetModel(QList<QStringList> records, int columnCount, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<QStringList> m_records;
    int m_columns;
};

} // namespace kelsa
