// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pasting a block into a sorted or filtered table: the block's rows go down the rows as the
// view shows them, not as the schedule holds them, so that every value lands in the row the
// designer sees it land in.

#include "core/schedule/scheduleedit.h"

#include <QList>
#include <QString>

namespace kelsa
{

class ScheduleModel;

// The edit that pastes `text` (a tab-separated block, cellblock.h) with its first cell in
// `column`: block row k into the model row rows[k], where `rows` are the model rows the view
// shows from the first pasted one down; block rows past the end of `rows` become new rows at
// the end of the schedule. Cells on result columns are left out. Empty when nothing changes.
ScheduleEdit pasteAlongRows(
    const ScheduleModel &model, const QList<int> &rows, int column, const QString &text);

} // namespace kelsa
