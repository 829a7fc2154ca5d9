// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every change of a schedule as a small value: set cells, insert rows (also a duplicate or a
// paste past the last row), remove rows, move rows, change the common data, the field columns
// or the title block. Applying an edit gives back the edit that undoes it, so that a window
// wraps each in an undo command: redo applies the edit, undo applies what that returned.

#include "core/schedule/schedule.h"

#include <QList>

#include <variant>
#include <vector>

namespace kelsa
{

struct CellChange {
    qsizetype row = 0;
    ScheduleCell cell;
    QString text;

    friend bool operator==(const CellChange &, const CellChange &) = default;
};

struct SetCells {
    QList<CellChange> changes;
};
struct InsertRows {
    qsizetype at = 0; // the new rows' first index, 0 to the row count
    QList<ScheduleRow> rows;
};
struct RemoveRows {
    qsizetype at = 0;
    qsizetype count = 0;
};
// Rows [from, from + count) taken out and put back so that the first of them is at `to`
// (0 to rowCount - count).
struct MoveRows {
    qsizetype from = 0;
    qsizetype count = 0;
    qsizetype to = 0;
};
struct SetCommon {
    Calculation common;
};
// The field columns, in order. A field's texts leave the rows with its column (an undo brings
// them back): the field then takes the common data.
struct SetColumns {
    std::vector<InputField> fields;
};
struct SetTitle {
    ScheduleTitle title;
};

using ScheduleStep
    = std::variant<SetCells, InsertRows, RemoveRows, MoveRows, SetCommon, SetColumns, SetTitle>;

// One edit as the designer sees it (a paste is one, however many cells and rows it changes),
// applied step by step in order.
struct ScheduleEdit {
    std::vector<ScheduleStep> steps;

    bool isEmpty() const { return steps.empty(); }
};

// Applies one step and returns the steps that undo it, in the order they are to be applied. A
// step that names rows the schedule does not have changes nothing and returns no steps.
std::vector<ScheduleStep> applyStep(Schedule &schedule, const ScheduleStep &step);

// Applies an edit and returns the edit that undoes it.
ScheduleEdit applyEdit(Schedule &schedule, const ScheduleEdit &edit);

// Edits as the window asks for them.
ScheduleEdit setCellEdit(qsizetype row, const ScheduleCell &cell, const QString &text);
// Copies of the rows (any order, each once) inserted after the last of them.
ScheduleEdit duplicateRowsEdit(const Schedule &schedule, QList<qsizetype> rows);
// The rows (any order, each once), removed from the last up.
ScheduleEdit removeRowsEdit(QList<qsizetype> rows);
// `count` new empty rows at `at`.
ScheduleEdit insertEmptyRowsEdit(qsizetype at, qsizetype count);

} // namespace kelsa
