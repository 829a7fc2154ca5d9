// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A calculation kept on disk: a .kelsa file, a JSON document that names every field, option,
// table and result label by its control name (docs/calculation-file.md describes it).

#include "core/document/savedcalculation.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <variant>

namespace kelsa
{

inline constexpr int kCalculationFileVersion = 1;
inline constexpr const char *kCalculationFileSuffix = "kelsa";

// The first thing wrong with a file that could not be opened, in the user's words, without
// the file's name (the caller names it).
struct CalculationFileProblem {
    QString text;
};

using CalculationFileReading = std::variant<SavedCalculation, CalculationFileProblem>;

// The document for a calculation, as UTF-8 JSON.
QByteArray calculationToJson(const SavedCalculation &saved);

// The locale every number of a calculation file is read in, by the file's decimal separator:
// the Russian locale for ',', the C locale for '.'. Never the computer's, so that one file gives
// one set of moments wherever it is opened.
QLocale calculationFileLocale(QChar separator);

// Reads a document. Its numbers are read by the file's own separator (calculationFileLocale),
// and result labels must follow from the inputs they were computed from there, whatever
// `locale` is; the record numbers are checked by whoever knows the tables.
//
// The texts are then given in `locale`'s separator, for a window that reads them in `locale`:
// the file's separator and `locale`'s are exchanged in every field and result text. A number
// stays the same number and any other text stays no number, since a number text holds no digit
// grouping (readNumber refuses it) and so never both separators. Titles and look-up sources are
// no numbers and stay as written. A field that `locale` would still read otherwise than the file
// (some locales write an exponent with another letter) refuses the file: the window would show
// another moment than the file holds.
CalculationFileReading calculationFromJson(
    const QByteArray &json, const QLocale &locale = QLocale());

// Reads a file (at most kLargestCalculationFile bytes), as calculationFromJson().
inline constexpr qint64 kLargestCalculationFile = qint64(10) * 1024 * 1024;
CalculationFileReading readCalculationFile(const QString &path, const QLocale &locale = QLocale());

// Reads a file keeping the decimal separator it was written with, for output that must match
// the file rather than the computer (kelsa --compute, kelsa --report).
CalculationFileReading readCalculationFileAsWritten(const QString &path);

// A locale that reads and writes numbers with the given decimal separator: `preferred` when
// it has that separator, else the Russian locale for ',' and the C locale for '.'.
QLocale localeWithSeparator(QChar separator, const QLocale &preferred = QLocale());

// Writes a file atomically: the old file stays in place unless the new one was written whole.
// The empty text on success, else what went wrong.
QString writeCalculationFile(const QString &path, const SavedCalculation &saved);

} // namespace kelsa
