// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A table of supports written as an .xlsx workbook (with libxlsxwriter), for a spreadsheet to
// open: one sheet, its heading row frozen above the rows and headed by each column's caption
// with its name in brackets ("Длина прол., м [Prolet]", readable back by the import and by
// kelsa --batch), numbers as numbers (a field as typed, a moment to 0.001 kgf·m, a utilisation
// to 0.1 % on its colour), every other cell as text, and column widths by their kind.
//
// Rows are added one at a time and go to a temporary file at once (libxlsxwriter's
// constant-memory mode), so a table of any length takes the memory of one row; finish() puts
// the workbook in place through OutputFile, whole or not at all.
//
// API: TableWorkbookWriter writer(names, locale); writer.addRow(cells) for each row;
// QString problem = writer.finish(path, inputs).

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

namespace kelsa
{

// A sheet of .xlsx holds 1,048,576 rows; the heading takes one.
inline constexpr qint64 kMostWorkbookRows = 1048575;

class TableWorkbookWriter
{
public:
    // `names` are the columns' names (batchcolumns.h); a cell of a number column is written as
    // a number when it reads as one in `locale`.
    TableWorkbookWriter(const QStringList &names, const QLocale &locale);
    TableWorkbookWriter(const TableWorkbookWriter &) = delete;
    TableWorkbookWriter &operator=(const TableWorkbookWriter &) = delete;
    ~TableWorkbookWriter();

    // False once the table cannot be written (finish() then says why): past kMostWorkbookRows
    // rows, or a temporary file that could not be written.
    bool addRow(const QStringList &cells);
    qint64 rows() const;

    // Writes the workbook to `path` (refused when it is one of `inputs`); the empty text on
    // success, else what went wrong, without the path.
    QString finish(const QString &path, const QStringList &inputs = {});

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace kelsa
