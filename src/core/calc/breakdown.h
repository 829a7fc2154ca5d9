// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/momentcases.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace kelsa
{

// A moment in words, as its result label's tooltip and the calculation report show it.

// What a result label shows when the arithmetic gave no finite moment (a zero radius in a
// curve, an overflow): never a number, so nobody mistakes it for one.
QString noFiniteResultText();

// "Мо вг, прямая"; "Переходная опора, гололед с ветром, ветер от опоры на путь, пята".
QString momentHeading(Moment moment, TrackSection section);

// "1856,95 кгс·м = 18,21 кН·м": a moment in kgf·m and in kN·m, both to 0.01; the
// no-finite-result text for an infinity or NaN.
QString momentInBothUnits(double kgfMetres, const QLocale &locale = QLocale());

// "Gп, Pкв": the captions of the fields a computed outcome read as 0 because they were empty;
// empty when there were none.
QString emptyAsZeroCaptions(const MomentOutcome &outcome);

// A computed moment in a few lines, as its result label's tooltip shows it: the heading, every
// term by its symbol with its value to 0.01 and its name, the sum in symbols with the moment in
// kgf·m and kN·m, and the fields that were read as 0 because they were empty; `from` is the
// calculation it was computed from, numbers are written in `locale`. For a computed outcome
// only.
QString momentBreakdown(
    const MomentOutcome &outcome, const Calculation &from, const QLocale &locale = QLocale());

// What a moment was computed from that differs now, by the captions the user knows: the fields
// it reads, the track section for the ordinary support, and the options of the design condition
// that choose its loads from the tables. Empty while the moment still belongs to its inputs.
QStringList changedInputs(Moment moment, const Calculation &computedFrom, const Calculation &now);

// The line that opens a moment's tooltip once its inputs have changed.
QString changedInputsNote(const QStringList &changed);

} // namespace kelsa
