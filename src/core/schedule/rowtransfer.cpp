// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/rowtransfer.h"

#include "core/batch/batchrun.h"
#include "core/batch/rowreport.h"
#include "core/schedule/cellblock.h"

namespace kelsa
{

SavedCalculation rowAsCalculation(const Schedule &schedule, qsizetype row, QChar windowSeparator)
{
    SavedCalculation saved;
    saved.calculation = schedule.calculation(row);
    for (QString &text : saved.calculation.texts)
        text = inDecimalSeparator(text, windowSeparator);
    saved.decimalSeparator = windowSeparator;
    const ScheduleRow &cells = schedule.rows[row];
    saved.supportType = cells.supportType.trimmed();
    saved.title = { schedule.title.object, cells.support, schedule.title.author };
    return saved;
}

ScheduleEdit putCalculationEdit(
    const Schedule &schedule, const SavedCalculation &saved, std::optional<qsizetype> replacing)
{
    if (replacing && (*replacing < 0 || *replacing >= schedule.rows.size()))
        return {};
    const QChar separator = schedule.decimalSeparator;
    Calculation calculation = saved.calculation;
    for (QString &text : calculation.texts)
        text = inDecimalSeparator(text, separator);

    ScheduleEdit edit;
    std::vector<InputField> fields = schedule.fields;
    for (const FieldInfo &info : inputFields())
        if (!schedule.holds(info.field)
            && calculation.text(info.field) != schedule.common.text(info.field))
            fields.push_back(info.field);
    if (fields.size() != schedule.fields.size())
        edit.steps.push_back(SetColumns { fields });

    ScheduleRow row;
    row.support = saved.title.support;
    row.supportType = saved.supportType;
    for (const InputField field : fields)
        row.field(field) = calculation.text(field);
    const int section = calculation.option(OptionGroup::TrackSection);
    const QString kept = replacing ? schedule.rows[*replacing].section : QString();
    if (!kept.isEmpty() && sectionIndex(kept) == section)
        row.section = kept;
    else if (section != schedule.common.option(OptionGroup::TrackSection))
        row.section = sectionNames().value(section);

    if (!replacing) {
        edit.steps.push_back(InsertRows { schedule.rows.size(), { row } });
        return edit;
    }
    SetCells cells;
    const auto put = [&](const ScheduleCell &cell) {
        cells.changes.append({ *replacing, cell, row.text(cell) });
    };
    put({ ScheduleCell::Kind::Support });
    put({ ScheduleCell::Kind::Section });
    for (const InputField field : fields)
        put(ScheduleCell::ofField(field));
    put({ ScheduleCell::Kind::SupportType });
    edit.steps.push_back(cells);
    return edit;
}

ScheduleEdit newRowEdit(const Schedule &schedule, qsizetype at)
{
    if (at < 0 || at > schedule.rows.size())
        return {};
    ScheduleRow row;
    for (const InputField field : schedule.fields)
        row.field(field) = schedule.common.text(field);
    return { { InsertRows { at, { row } } } };
}

} // namespace kelsa
