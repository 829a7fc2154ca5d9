// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The columns of a schedule (batchrun.h) as --help and the manual page list them: each by its
// name, which is the file format (a control name of the main window, or a name of the schedule's
// own), and by what the main window shows beside it, with the unit.

#include <QString>

#include <vector>

namespace kelsa
{

struct BatchColumnInfo {
    QString name; // "Prolet", "section", "Label1", "errors"
    QString caption; // "Длина прол., м"
    bool result = false; // written by a run (and computed anew when read back)
};

// Every column a schedule may have and every one a run adds, in the order of the result table:
// "support", "section", the input fields, the ten result labels, the check of the support
// type ("governing", "supportType", "utilisation"), "errors", "notes".
std::vector<BatchColumnInfo> batchColumns();

// A column's caption in a table's heading: the main window's for a field or a result label
// ("Длина прол., м"), a short one for the schedule's own ("Опора", "Использование, %"); empty
// for a name that is no column.
QString columnCaption(const QString &name);

// The heading of a column in a workbook: its caption with its name in square brackets at the
// end, "Длина прол., м [Prolet]", readable by a person and by columnNameInHeading().
QString workbookHeading(const QString &name);

// The column name a heading cell gives: the name in square brackets at its end when it has
// one ("Длина прол., м [Prolet]"), else the cell itself, without outer blanks.
QString columnNameInHeading(const QString &cell);

} // namespace kelsa
