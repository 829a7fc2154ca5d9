// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/scheduleedit.h"

#include <algorithm>
#include <utility>

namespace kelsa
{

namespace
{

bool rowsExist(const Schedule &schedule, qsizetype at, qsizetype count)
{
    return at >= 0 && count >= 0 && at + count <= schedule.rows.size();
}

std::vector<ScheduleStep> apply(Schedule &schedule, const SetCells &step)
{
    for (const CellChange &change : step.changes)
        if (!rowsExist(schedule, change.row, 1))
            return {};
    SetCells undo;
    // Undone from the last change back, so that a cell set twice gets its first text back.
    for (qsizetype k = step.changes.size() - 1; k >= 0; --k) {
        const CellChange &change = step.changes[k];
        undo.changes.append({ change.row, change.cell, schedule.text(change.row, change.cell) });
    }
    for (const CellChange &change : step.changes)
        schedule.text(change.row, change.cell) = change.text;
    return { undo };
}

std::vector<ScheduleStep> apply(Schedule &schedule, const InsertRows &step)
{
    if (step.at < 0 || step.at > schedule.rows.size() || step.rows.isEmpty())
        return {};
    schedule.rows.insert(step.at, step.rows.size(), ScheduleRow());
    std::copy(step.rows.begin(), step.rows.end(), schedule.rows.begin() + step.at);
    return { RemoveRows { step.at, step.rows.size() } };
}

std::vector<ScheduleStep> apply(Schedule &schedule, const RemoveRows &step)
{
    if (!rowsExist(schedule, step.at, step.count) || step.count == 0)
        return {};
    InsertRows undo { step.at, schedule.rows.mid(step.at, step.count) };
    schedule.rows.remove(step.at, step.count);
    return { undo };
}

std::vector<ScheduleStep> apply(Schedule &schedule, const MoveRows &step)
{
    if (!rowsExist(schedule, step.from, step.count) || step.count == 0
        || !rowsExist(schedule, step.to, step.count) || step.to == step.from)
        return {};
    auto first = schedule.rows.begin();
    if (step.to < step.from)
        std::rotate(first + step.to, first + step.from, first + step.from + step.count);
    else
        std::rotate(
            first + step.from, first + step.from + step.count, first + step.to + step.count);
    return { MoveRows { step.to, step.count, step.from } };
}

std::vector<ScheduleStep> apply(Schedule &schedule, const SetCommon &step)
{
    SetCommon undo { std::exchange(schedule.common, step.common) };
    return { undo };
}

std::vector<ScheduleStep> apply(Schedule &schedule, const SetColumns &step)
{
    std::vector<InputField> fields;
    for (const InputField field : step.fields)
        if (std::find(fields.begin(), fields.end(), field) == fields.end())
            fields.push_back(field);
    SetCells restore;
    for (const InputField field : schedule.fields) {
        if (std::find(fields.begin(), fields.end(), field) != fields.end())
            continue;
        for (qsizetype row = 0; row < schedule.rows.size(); ++row)
            if (QString &text = schedule.rows[row].field(field); !text.isEmpty())
                restore.changes.append(
                    { row, ScheduleCell::ofField(field), std::exchange(text, QString()) });
    }
    std::vector<ScheduleStep> undo { SetColumns { std::exchange(schedule.fields, fields) } };
    if (!restore.changes.isEmpty())
        undo.push_back(restore);
    return undo;
}

std::vector<ScheduleStep> apply(Schedule &schedule, const SetTitle &step)
{
    SetTitle undo { std::exchange(schedule.title, step.title) };
    return { undo };
}

} // namespace

std::vector<ScheduleStep> applyStep(Schedule &schedule, const ScheduleStep &step)
{
    return std::visit([&](const auto &s) { return apply(schedule, s); }, step);
}

ScheduleEdit applyEdit(Schedule &schedule, const ScheduleEdit &edit)
{
    std::vector<std::vector<ScheduleStep>> undos;
    for (const ScheduleStep &step : edit.steps)
        undos.push_back(applyStep(schedule, step));
    ScheduleEdit undo;
    for (auto it = undos.rbegin(); it != undos.rend(); ++it)
        undo.steps.insert(undo.steps.end(), it->begin(), it->end());
    return undo;
}

ScheduleEdit setCellEdit(qsizetype row, const ScheduleCell &cell, const QString &text)
{
    return { { SetCells { { { row, cell, text } } } } };
}

ScheduleEdit duplicateRowsEdit(const Schedule &schedule, QList<qsizetype> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    InsertRows insert;
    for (const qsizetype row : rows)
        if (rowsExist(schedule, row, 1))
            insert.rows.append(schedule.rows[row]);
    if (insert.rows.isEmpty())
        return {};
    insert.at = rows.back() + 1;
    return { { insert } };
}

ScheduleEdit removeRowsEdit(QList<qsizetype> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    ScheduleEdit edit;
    // Runs of neighbouring rows, from the last run up, so that each keeps its index.
    for (qsizetype end = rows.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1)
            --start;
        edit.steps.push_back(RemoveRows { rows[start], end - start });
        end = start;
    }
    return edit;
}

ScheduleEdit insertEmptyRowsEdit(qsizetype at, qsizetype count)
{
    if (count <= 0)
        return {};
    return { { InsertRows { at, QList<ScheduleRow>(count) } } };
}

} // namespace kelsa
