// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A computed schedule given to a spreadsheet: the table kelsa --batch writes for the same
// supports (its columns, names and cell texts), as CSV or as an .xlsx workbook
// (tableworkbook.h). The columns are the support, its section, the field columns, the ten
// moments, the check ("governing", "supportType", "utilisation"), "errors" and "notes".
//
// The table must compute alike when kelsa --batch or the import reads it back, so what the
// rows take from the common data is written into them: a row's empty section as the common
// one, and every field the schedule holds no column for but whose common text is not the
// start-up one as a column of its own, filled with that text. The other option groups have no
// column; those whose common choice is not the start-up one are listed, for the window to say
// that --batch would compute the table otherwise.
//
// API: scheduleTable(schedule, results) — results as the model holds them (one per row);
// scheduleCsv(table, separator); exportScheduleCsv()/exportScheduleXlsx() write a file through
// OutputFile and give the empty text or what went wrong.

#include "core/schedule/rowcomputation.h"
#include "core/schedule/schedule.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace kelsa
{

struct ScheduleTable {
    QStringList names; // the columns' names, as --batch heads them
    QList<QStringList> rows;
    QList<OptionGroup> optionsNotInTable;
};

ScheduleTable scheduleTable(
    const Schedule &schedule, const std::vector<ScheduleRowResult> &results);

// The table as CSV in UTF-8 with a byte-order mark (a spreadsheet then reads its Cyrillic
// right), cells separated by ';' for a decimal comma and by ',' for a decimal point, lines by
// CR LF.
QByteArray scheduleCsv(const ScheduleTable &table, QChar decimalSeparator);

QString exportScheduleCsv(
    const QString &path, const Schedule &schedule, const std::vector<ScheduleRowResult> &results);
QString exportScheduleXlsx(
    const QString &path, const Schedule &schedule, const std::vector<ScheduleRowResult> &results);

} // namespace kelsa
