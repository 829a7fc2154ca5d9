// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A schedule row's errors in Russian words, for the printed schedule, where a checker reads them
// rather than a script: the fields by their captions («Длина прол., м»), the moments by their
// short names as the status bar gives them («Мо в max»), the reasons as the main window and
// the report word them. The "errors" cell of files keeps its stable codes (rowreport.h).

#include "core/calc/momentcases.h"
#include "core/check/supportcatalogue.h"
#include "core/check/supportcheck.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <span>

namespace kelsa
{

// Why one moment has no value: «нет длины пролета», «не заполнено поле «Lр от переходной до»»;
// empty for a moment with a value.
QString momentReason(const MomentOutcome &outcome);

// The moments without a value, one line per reason in the order the moments come, each naming
// its moments: «нет длины пролета: Мо вг; Мо в max»; «…: все моменты» when all ten share it,
// «…: все моменты переходной опоры» when its eight do.
QStringList momentReasons(std::span<const MomentOutcome> outcomes);

// A cell that cannot be read, by its column's caption: «Длина прол., м: не число: «5О»»; a
// field of the common data says so: «Тн кгс (общие данные): …».
QString cellReason(const QString &columnName, const QString &reason, bool common = false);

// The check's error for one row; empty when there is none and when no catalogue is usable
// (that is said once for the whole schedule).
QString checkReason(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale);

} // namespace kelsa
