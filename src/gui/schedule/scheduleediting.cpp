// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/scheduleediting.h"

#include "core/schedule/cellblock.h"
#include "core/schedule/rowtransfer.h"
#include "core/schedule/schedulefilter.h"
#include "core/schedule/schedulemodel.h"
#include "core/schedule/viewpaste.h"
#include "gui/schedule/schedulecommand.h"
#include "gui/schedule/schedulemenu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>
#include <set>

namespace kelsa
{

ScheduleEditing::ScheduleEditing(QTableView &table, ScheduleModel &model,
    ScheduleFilterModel &filter, QUndoStack &undoStack, const ScheduleMenu &menu, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_model(model)
    , m_filter(filter)
    , m_undoStack(undoStack)
{
    // A cell typed in is applied by the model at once; the stack takes it as done.
    connect(&m_model, &ScheduleModel::edited, this,
        [this](const ScheduleEdit &edit, const ScheduleEdit &undo) {
            m_undoStack.push(new ScheduleCommand(m_model, QStringLiteral("ввод"), edit, undo));
        });
    connect(menu.insertRow, &QAction::triggered, this, &ScheduleEditing::insertRow);
    connect(menu.duplicateRows, &QAction::triggered, this, &ScheduleEditing::duplicateRows);
    connect(menu.removeRows, &QAction::triggered, this, &ScheduleEditing::removeRows);
    connect(menu.moveUp, &QAction::triggered, this, [this] { moveRows(-1); });
    connect(menu.moveDown, &QAction::triggered, this, [this] { moveRows(1); });
    connect(menu.copy, &QAction::triggered, this, &ScheduleEditing::copy);
    connect(menu.paste, &QAction::triggered, this, &ScheduleEditing::paste);
    connect(menu.clearCells, &QAction::triggered, this, &ScheduleEditing::clearCells);
}

void ScheduleEditing::push(const QString &text, const ScheduleEdit &edit)
{
    if (!edit.isEmpty())
        m_undoStack.push(new ScheduleCommand(m_model, text, edit));
}

QList<qsizetype> ScheduleEditing::selectedRows() const
{
    std::set<qsizetype> rows;
    for (const QModelIndex &index : m_table.selectionModel()->selectedIndexes())
        rows.insert(m_filter.mapToSource(index).row());
    if (rows.empty() && currentRow() >= 0)
        rows.insert(currentRow());
    return { rows.begin(), rows.end() };
}

int ScheduleEditing::currentRow() const
{
    return m_filter.mapToSource(m_table.currentIndex()).row();
}

void ScheduleEditing::selectRow(int row)
{
    if (row < 0 || row >= m_model.rowCount())
        return;
    QModelIndex index = m_filter.mapFromSource(m_model.index(row, 0));
    if (!index.isValid()) {
        m_filter.setFilter(ScheduleFilterModel::Filter::All);
        index = m_filter.mapFromSource(m_model.index(row, 0));
    }
    const int column = std::max(0, m_table.currentIndex().column());
    m_table.setCurrentIndex(index.siblingAtColumn(column));
    m_table.selectionModel()->select(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table.scrollTo(index);
}

void ScheduleEditing::selectRows(qsizetype first, qsizetype count)
{
    QItemSelection selection;
    for (qsizetype row = first; row < first + count; ++row) {
        const QModelIndex index = m_filter.mapFromSource(m_model.index(int(row), 0));
        if (index.isValid())
            selection.select(index, index);
    }
    const QModelIndex current = m_filter.mapFromSource(m_model.index(int(first), 0));
    if (current.isValid())
        m_table.setCurrentIndex(
            current.siblingAtColumn(std::max(0, m_table.currentIndex().column())));
    m_table.selectionModel()->select(
        selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ScheduleEditing::insertRow()
{
    const int current = currentRow();
    const qsizetype at = current >= 0 ? current + 1 : m_model.rowCount();
    push(QStringLiteral("новая строка"), newRowEdit(m_model.schedule(), at));
    selectRow(int(at));
}

void ScheduleEditing::duplicateRows()
{
    const QList<qsizetype> rows = selectedRows();
    if (rows.isEmpty())
        return;
    push(QStringLiteral("дублирование строк"), duplicateRowsEdit(m_model.schedule(), rows));
    selectRows(rows.back() + 1, rows.size());
}

void ScheduleEditing::removeRows()
{
    const QList<qsizetype> rows = selectedRows();
    if (rows.isEmpty())
        return;
    push(QStringLiteral("удаление строк"), removeRowsEdit(rows));
    selectRow(int(std::min<qsizetype>(rows.front(), m_model.rowCount() - 1)));
}

// The selected rows from the first to the last, one row up or down.
void ScheduleEditing::moveRows(int by)
{
    const QList<qsizetype> rows = selectedRows();
    if (rows.isEmpty())
        return;
    const qsizetype first = rows.front();
    const qsizetype count = rows.back() - first + 1;
    const qsizetype to = first + by;
    if (to < 0 || to + count > m_model.rowCount())
        return;
    showScheduleOrder();
    push(by < 0 ? QStringLiteral("строки вверх") : QStringLiteral("строки вниз"),
        { { MoveRows { first, count, to } } });
    selectRows(to, count);
}

void ScheduleEditing::showScheduleOrder()
{
    if (m_filter.sortColumn() >= 0) {
        m_table.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        m_filter.sort(-1);
    }
}

// The selection's rows in the view's order and its columns, as one rectangle.
void ScheduleEditing::copy() const
{
    std::set<int> viewRows;
    std::set<int> columns;
    for (const QModelIndex &index : m_table.selectionModel()->selectedIndexes()) {
        viewRows.insert(index.row());
        columns.insert(index.column());
    }
    if (viewRows.empty())
        return;
    QList<int> rows;
    for (const int row : viewRows)
        rows << m_filter.mapToSource(m_filter.index(row, 0)).row();
    QGuiApplication::clipboard()->setText(
        copyCells(m_model, rows, QList<int>(columns.begin(), columns.end())));
}

// The block from the current cell down the rows the view shows.
void ScheduleEditing::paste()
{
    const QModelIndex current = m_table.currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    const int first = current.isValid() ? current.row() : m_filter.rowCount();
    QList<int> rows;
    for (int row = first; row < m_filter.rowCount(); ++row)
        rows << m_filter.mapToSource(m_filter.index(row, 0)).row();
    push(QStringLiteral("вставка"),
        pasteAlongRows(m_model, rows, column, QGuiApplication::clipboard()->text()));
}

void ScheduleEditing::clearCells()
{
    SetCells cells;
    for (const QModelIndex &index : m_table.selectionModel()->selectedIndexes()) {
        const QModelIndex source = m_filter.mapToSource(index);
        if (const auto cell = m_model.cellOf(source.column());
            cell && !m_model.schedule().text(source.row(), *cell).isEmpty())
            cells.changes.append({ source.row(), *cell, QString() });
    }
    if (!cells.changes.isEmpty())
        push(QStringLiteral("очистка ячеек"), { { cells } });
}

} // namespace kelsa
