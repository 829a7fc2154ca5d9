// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/schedule/scheduleedit.h"

#include <QList>
#include <QObject>

class QTableView;
class QUndoStack;

namespace kelsa
{

class ScheduleFilterModel;
class ScheduleModel;
struct ScheduleMenu;

// The schedule edited as a spreadsheet: cells typed in, rows inserted, duplicated, removed and
// moved, blocks of cells copied and pasted through the clipboard, input cells emptied; each an
// undoable command on the window's stack. The view may be sorted and filtered: what it edits
// is always what the designer sees selected.
class ScheduleEditing : public QObject
{
    Q_OBJECT
public:
    ScheduleEditing(QTableView &table, ScheduleModel &model, ScheduleFilterModel &filter,
        QUndoStack &undoStack, const ScheduleMenu &menu, QObject *parent = nullptr);

    // Applies an edit as one undoable command named `text`; nothing for an empty edit.
    void push(const QString &text, const ScheduleEdit &edit);

    // The model rows of the selected cells, in the schedule's order.
    QList<qsizetype> selectedRows() const;
    // The model row of the current cell; -1 for none.
    int currentRow() const;
    // Makes the model row current and selects it, showing every row first when the filter
    // hides it.
    void selectRow(int row);

    void insertRow();
    void duplicateRows();
    void removeRows();
    void moveRows(int by);
    void copy() const;
    void paste();
    void clearCells();

private:
    void selectRows(qsizetype first, qsizetype count);
    // The view back in the schedule's order, for moving rows.
    void showScheduleOrder();

    QTableView &m_table;
    ScheduleModel &m_model;
    ScheduleFilterModel &m_filter;
    QUndoStack &m_undoStack;
};

} // namespace kelsa
