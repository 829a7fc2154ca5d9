// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule made from a table of supports: a CSV file as kelsa --batch reads it (every
// encoding, both separators, the same column names in any case, "support" first, "section",
// "supportType", the result columns of an earlier run and unnamed columns left out), or the
// first sheet of an .xlsx or .ods workbook with the same names in its heading row (a heading
// "Длина прол., м [Prolet]", as the export writes it, names the column in its brackets). The
// workbook is parsed in the workbook reader's isolated child.
//
// The field columns become the schedule's field columns in the table's order; every other
// field, and the options, come from the common data given (the window's current ones). Number
// texts take the schedule's decimal separator as a paste does (cellblock.h: "0.5" into a
// schedule of ',' becomes "0,5"; a text that is no number either way stays as it is and shows
// red). A table the schedule could not keep whole is refused, never cut: a row with more filled
// cells than the heading, a text longer than a schedule file holds, more rows than a schedule
// holds.
//
// API: importSchedule(path, common) for the window («Импорт»), by the file's extension;
// importScheduleCsv() for a device; scheduleImportProblemText() words a refusal with the file's
// name and place.

#include "core/batch/textencoding.h"
#include "core/schedule/schedule.h"

#include <QString>

#include <optional>
#include <variant>

class QIODevice;

namespace kelsa
{

// A workbook's first sheet is read up to this many columns; a sheet that fills the last of
// them may have more, and is refused rather than read in part.
inline constexpr int kMostImportColumns = 1024;

// Why a table was not imported: the CSV line or the sheet's row it stopped at (0: none), and
// what is wrong there, in the user's words without the file's name.
struct ScheduleImportProblem {
    qint64 line = 0;
    QString text;

    friend bool operator==(const ScheduleImportProblem &, const ScheduleImportProblem &) = default;
};

using ScheduleImportResult = std::variant<Schedule, ScheduleImportProblem>;

// `common` gives the new schedule's decimal separator, common data and title block; its field
// columns and rows are replaced by the table's.
ScheduleImportResult importScheduleCsv(
    QIODevice &input, const Schedule &common, std::optional<TextEncoding> encoding = std::nullopt);

// A heading row and the rows below it, as read from a workbook: `firstLine` is the sheet row
// of the heading (1), so that a problem names the row the designer sees.
ScheduleImportResult importScheduleRows(const QStringList &heading, const QList<QStringList> &rows,
    const Schedule &common, qint64 firstLine = 1);

// .csv (and any other name) as CSV; .xlsx and .ods as a workbook.
ScheduleImportResult importSchedule(const QString &path, const Schedule &common);

// "перегон.csv:7: неизвестный столбец "Prolett"" (without ":line" when it names none).
QString scheduleImportProblemText(const QString &path, const ScheduleImportProblem &problem);

} // namespace kelsa
