// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/viewpaste.h"

#include "core/schedule/cellblock.h"
#include "core/schedule/schedulemodel.h"

namespace kelsa
{

ScheduleEdit pasteAlongRows(
    const ScheduleModel &model, const QList<int> &rows, int column, const QString &text)
{
    const QList<QStringList> block = parseCellBlock(text);
    ScheduleEdit edit;
    SetCells cells;
    for (qsizetype k = 0; k < block.size(); ++k) {
        if (k >= rows.size()) {
            // The rest as new rows after the last.
            const ScheduleEdit added
                = pasteEdit(model, model.rowCount(), column, writeCellBlock(block.mid(k)));
            edit.steps.insert(edit.steps.end(), added.steps.begin(), added.steps.end());
            break;
        }
        const ScheduleEdit one = pasteEdit(model, rows[k], column, writeCellBlock({ block[k] }));
        for (const ScheduleStep &step : one.steps)
            if (const auto *set = std::get_if<SetCells>(&step))
                cells.changes += set->changes;
    }
    if (!cells.changes.isEmpty())
        edit.steps.insert(edit.steps.begin(), cells);
    return edit;
}

} // namespace kelsa
