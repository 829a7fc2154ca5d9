// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule of supports computed at once: a table with one support per row, its columns named
// by the control names of the input fields ("Prolet", "txtGp", "TxtD8"), "section" for the track
// section ("Прямая", "Вне.кривая", "Вну.кривая", or the option's name "Option18"…"Option20")
// and, first, an optional "support" with the
// support's number or name. Each row is computed as if every calculation button of the main
// window had been pressed with those fields; a column not in the table keeps the field's
// start-up text. The result repeats each row and adds the ten result labels (a moment, or
// nothing when it has none), in "errors" why a moment has none, and in "notes" the fields an
// ordinary support read as 0 because they were empty. The result columns of an earlier run in
// the table are computed anew: a result file runs again and gives itself back.
//
// Each row's support type is checked against the catalogue: before "errors" come "governing"
// (the label of the governing moment), "supportType" (the type checked) and "utilisation" (its
// utilisation in per cent to 0.1, rounded up). A "supportType" column in the table names the
// type to check instead of the pick; it is written back in the result's place, so that a
// result file keeps its types when it runs again (empty the column to pick anew). A type not in
// the catalogue, a pick that finds none and a row without a moment are row errors; without a
// usable catalogue no row is checked and "utilisation" stays empty.

#include "core/batch/textencoding.h"
#include "core/check/supportcatalogue.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

class QIODevice;

namespace kelsa
{

struct BatchSettings {
    QLocale locale; // numbers are read and the moments written in its decimal separator
    // Called after every kBatchProgressRows rows with the rows done and the input bytes read.
    std::function<void(qint64 rows, qint64 bytesRead)> progress;
    int threads = 0; // threads computing rows; 0 for one per processor thread
    std::optional<TextEncoding> encoding {}; // the table's encoding; none to tell it from the table
    SupportCatalogue catalogue {}; // the support types the rows are checked against
};
inline constexpr qint64 kBatchProgressRows = 10000;

struct BatchSummary {
    qint64 rows = 0;
    qint64 badRows = 0; // rows that could not be computed at all
    qint64 rowsWithErrors = 0; // rows where some moment has no value, the bad ones included
    TextEncoding encoding = TextEncoding::Utf8; // the table's, which the result is written in
};

// Why a table could not be computed: the line it stopped at (0 when it names none) and what is
// wrong there.
struct BatchProblem {
    qint64 line = 0;
    QString text;
};

using BatchResult = std::variant<BatchSummary, BatchProblem>;

// The locale that reads and writes a schedule's numbers: for a given decimal separator ('.' or
// ','), the same one on every computer, as for a calculation file (a user's locale may read
// exponents its own way); the user's own when none is given.
QLocale localeForDecimal(std::optional<QChar> decimalSeparator);

// The track section names a "section" cell may hold, in the order of the option group.
QStringList sectionNames();

// Reads the table from `input` and writes the result to `output` row by row, in the input's
// encoding, byte-order mark, separator and line breaks. A malformed table (an unclosed quote,
// an over-long or over-wide record, text not in its encoding, an unknown or repeated column)
// stops the run; a row with more cells than the header, or a section that is none of the
// three, is written with no moments and its reason in "errors", its extra cells after the
// result columns.
BatchResult runBatch(QIODevice &input, QIODevice &output, const BatchSettings &settings);

} // namespace kelsa
