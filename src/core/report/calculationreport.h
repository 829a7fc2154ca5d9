// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The calculation report: a saved calculation told in words for printing, as an A4 document in
// the window and as a PDF from the command line. Both take its text from here.

#include "core/check/supportcatalogue.h"
#include "core/document/savedcalculation.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace kelsa
{

struct ReportInput {
    SavedCalculation saved;
    QString tablesFolder; // shown as is: a path, «образцы»; empty is shown as «—»
    QDate date; // the date the report is made on
    // The file the calculation was read from or last saved to, which a PDF of the report may
    // not be written over; empty when it has none.
    QString calculationPath = {};
    // The catalogue of support types in the tables' folder, for the check of the type.
    SupportCatalogue catalogue = {};
};

// One piece of the report, in reading order.
struct ReportBlock {
    enum class Kind {
        Title, // the document's heading
        Section, // "Исходные данные"
        Subsection, // a moment's heading
        Table, // rows of cells; the first row is the header when `header` is set
        Grid, // a table whose header names every cell of its rows
        Value, // a moment's value, set off
        Lines, // one line each: the terms of a moment
        Text, // a plain paragraph
        Warning, // inputs changed since the moment was computed
    };
    Kind kind;
    QString text; // every kind but Table, Grid and Lines
    std::vector<QStringList> rows; // Table, Grid
    bool header = false; // Table, Grid
    QStringList lines; // Lines
};

// The report of a calculation: the title block, the tables' folder, the design condition,
// every input with its unit and look-up source, and every moment with its value in kgf·m and
// kN·m, its terms, the fields read as 0 and a warning when the inputs changed after it was
// computed. Numbers are written with the calculation's decimal separator.
std::vector<ReportBlock> buildReport(const ReportInput &input);

// The report as plain text, one block after another, for the clipboard and for scripts.
QString reportPlainText(const ReportInput &input);

// The report as HTML for a QTextDocument: headings, tables and paragraphs, every text escaped.
QString reportHtml(const ReportInput &input);

} // namespace kelsa
