// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The calculation report: a saved calculation told in words for printing, as an A4 document in
// the window and as a PDF from the command line. Both take its text from here.

#include "core/calc/supportscheme.h"
#include "core/check/supportcatalogue.h"
#include "core/document/savedcalculation.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
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
        Term, // a term of a moment: its name in `text`, its formula and numbers in `lines`
        Lines, // one line each: the sum of a moment
        Notes, // one line each, smaller: what the symbols of a moment stand for
        Text, // a plain paragraph
        Warning, // inputs changed since the moment was computed
        Scheme, // a drawing of the support: `scheme`, with its labels in `lines`
    };
    Kind kind;
    QString text; // every kind but Table, Grid, Lines, Notes and Scheme
    std::vector<QStringList> rows; // Table, Grid
    bool header = false; // Table, Grid: repeated at the top of every page the table runs on
    QStringList lines; // Term, Lines, Notes, Scheme
    std::optional<SupportScheme> scheme = {}; // Scheme
    // Table, Grid: the width of each column in per cent of the page; empty for even columns.
    QList<int> widths = {};
};

// The report of a calculation, section after section: the title block, the design condition,
// the moments with their values in kgf·m and kN·m, every input with its unit and look-up
// source, and the breakdown of every computed moment as a calculation note writes it (each
// term by its name, symbol, formula and numbers, the sum, what each symbol stands for, the
// fields read as 0, a warning when the inputs changed after it was computed) with a drawing of
// the support beside the ordinary moments and the governing moment of the transition support.
// Numbers are written with the calculation's decimal separator.
std::vector<ReportBlock> buildReport(const ReportInput &input);

// What the foot of every page of the printed report says: the title block's object and support
// ("Перегон Лесная — Озерная, опора № 17", empty without either) and the page's number
// ("стр. 2 из 5").
QString reportFooterTitle(const ReportInput &input);
QString reportPageNumber(int page, int pageCount);

// The report as plain text, one block after another, for the clipboard and for scripts.
QString reportPlainText(const ReportInput &input);

// The report as HTML for a QTextDocument: headings, tables and paragraphs, every text escaped.
// The N-th drawing of the support (from 0, in the order of the Scheme blocks) stands as an
// image named reportSchemeUrl() + N, which the printed document draws in its place.
QString reportHtml(const ReportInput &input);
QString reportHtml(const std::vector<ReportBlock> &blocks);
QString reportSchemeUrl();

} // namespace kelsa
