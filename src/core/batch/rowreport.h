// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a schedule's row says besides its moments, in the words of the result table: the
// "errors" and "notes" of each moment, the moment's cell, the track section a cell names and the
// check's three cells. kelsa --batch and the schedule window word a row alike through these.

#include "core/calc/momentcases.h"
#include "core/check/supportcatalogue.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <span>

namespace kelsa
{

// "Label10: not-a-number (Text3)" for a moment without a value; empty for one with a value.
QString momentError(const MomentOutcome &outcome);

// A moment's cell: the moment, or nothing when it has none ("errors" says why). The window's
// "0" for a missing span would be summed and sorted as a moment by a spreadsheet.
QString momentCell(const MomentOutcome &outcome, const QLocale &locale);

// "Label1: txtVm, Text5" for a moment that read empty fields as 0, in the order of the
// window's fields; empty when it read none.
QString momentNote(const MomentOutcome &outcome);

// A section by the caption of its option on the window ("Вне.кривая") or the option's control
// name ("Option19"), in any case.
std::optional<int> sectionIndex(const QString &cell);

// "section: "Кривая" не участок пути (Прямая, Вне.кривая, Вну.кривая)".
QString sectionError(const QString &cell);

// Utilisation in per cent to 0.1, rounded up, without the sign: a number a spreadsheet sums and
// sorts.
QString utilisationCell(double utilisation, const QLocale &locale);

// The check's cells of a row ("governing", "supportType", "utilisation") and its error, if any;
// `chosen` is the row's own type (empty: the pick), which "supportType" keeps unless the pick
// filled it. Without a usable catalogue the cells stay empty and there is no error: that is
// said once for the whole table.
struct RowCheckCells {
    QString governing;
    QString supportType;
    QString utilisation;
    QString error;
};
RowCheckCells rowCheckCells(const SupportCatalogue &catalogue,
    std::span<const MomentOutcome> outcomes, const QString &chosen, const QLocale &locale);

} // namespace kelsa
