// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/momentcases.h"

#include <QLocale>
#include <QString>

namespace kelsa
{

// A moment in words, as its result label's tooltip and the calculation report show it.

// What a result label shows when the arithmetic gave no finite moment (a zero radius in a
// curve, an overflow): never a number, so nobody mistakes it for one.
QString noFiniteResultText();

// "Мо вг, прямая"; "Переходная опора, гололед с ветром, ветер от опоры на путь, пята".
QString momentHeading(Moment moment, TrackSection section);

// The heading, every term with the sign it entered the moment with, and the moment in kgf·m,
// one per line; numbers are written in `locale`. For a computed outcome only.
QString momentBreakdown(
    const MomentOutcome &outcome, TrackSection section, const QLocale &locale = QLocale());

} // namespace kelsa
