// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/momentcases.h"

#include <QLocale>
#include <QString>

namespace kelsa
{

// What a moment's result label shows after its button was pressed: the moment, "0" when the
// span or Lp is missing (after its message), noFiniteResultText() when an ordinary support
// gave no finite number, and the empty text when the moment was refused (bad inputs, or an
// overflow of the transition support).
QString resultLabelText(const MomentOutcome &outcome, const QLocale &locale = QLocale());

// Why a moment has no value, as a stable code for files and scripts: "span-missing",
// "lp-missing", "not-a-number", "empty" (the first refused field decides between these two),
// "not-finite" (ordinary support), "overflow" (transition support); empty for a value.
QString momentErrorCode(const MomentOutcome &outcome);

// 1 kgf·m in kN·m.
inline constexpr double kKilonewtonMetresPerKgfMetre = 0.00980665;

} // namespace kelsa
