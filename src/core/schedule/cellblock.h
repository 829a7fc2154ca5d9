// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Blocks of cells to and from a spreadsheet through the clipboard: tab-separated text, rows
// ended by line breaks, a cell that holds a tab, a line break or a quote written in quotes
// with its quotes doubled, as spreadsheets copy them.
//
// A number pasted into a field column takes the schedule's decimal separator: a text that the
// schedule does not read as a number, but reads as one with the other separator ("0.5" into a
// schedule of ','), gets its separator exchanged. Any other text is pasted as it stands, so a
// text that is no number either way stays what it was and shows red with its reason. So does a
// text that may be a number with digit grouping ("1,500" into a schedule of '.', "2.750" into
// one of ','): 1500 and 1,5 are both likely, and the designer decides.

#include "core/schedule/scheduleedit.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelsa
{

class ScheduleModel;

QList<QStringList> parseCellBlock(const QString &text);
QString writeCellBlock(const QList<QStringList> &block);

// A number text in the schedule's separator, as described above.
QString inDecimalSeparator(const QString &text, QChar separator);
// The text a pasted cell of a field column gets: as inDecimalSeparator, but a text that may
// hold digit grouping is kept as it stands.
QString pastedNumberText(const QString &text, QChar separator);

// The cells of the rows and columns (model indexes, each list in the order wanted) as the
// table shows them: input cells as typed, results as shown.
QString copyCells(const ScheduleModel &model, const QList<int> &rows, const QList<int> &columns);

// The edit that pastes the block with its first cell at (row, column): cells that fall on a
// result column or past the last column are left out, rows past the last row are added. Empty
// when nothing would change.
ScheduleEdit pasteEdit(const ScheduleModel &model, int row, int column, const QString &text);

} // namespace kelsa
