// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"
#include "core/calc/termformulas.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kelsa
{

// A drawing of the support as data: the loads of a computed moment with the arms its formulas
// give them and their shares of the moment as the engine summed them. A window or a page draws
// it; nothing here is measured that the formulas do not hold.

struct SchemeLoad {
    LoadForm::Kind kind;
    QString term; // the symbol of the term it belongs to, «Мпр»
    QString force; // the force in symbols, «Рнв в × L»; for a couple the moment in symbols
    // kgf. A horizontal force > 0 points the way a positive moment turns the support's top (to
    // the right as drawn); a vertical load > 0 weighs down. 0 for a couple.
    double forceValue;
    double arm; // m: the height above the base, or the offset from the axis (+ to the right)
    double moment; // kgf·m: its share of the moment, with the sign it entered with
    // What the drawing writes beside it, in one or two lines: «Рнв в × L = 25,00 кгс»,
    // «h = 9 м: 225,00 кгс·м»; «Gп в × L + 31 = 131,00 кгс», «плечо 3,3 м: 432,30 кгс·м»;
    // «Мверт (52): −52,00 кгс·м».
    QStringList label;

    friend bool operator==(const SchemeLoad &, const SchemeLoad &) = default;
};

struct SupportScheme {
    QString heading; // the moment's heading: which support, condition and section
    bool heel = false; // the arms are taken from the heel, not from the base
    std::vector<SchemeLoad> loads; // the loads that add to the moment (a share of 0 is left out)
    double moment = 0; // kgf·m, the moment the result label shows
    QString base; // what the arms are taken from: «основание», «пята»
    QString total; // «М = 1463,13 кгс·м»
};

// The scheme of a computed outcome on the track section of `from`, the calculation it was
// computed from, its constants written in `locale`; nothing for an outcome without a finite
// moment.
std::optional<SupportScheme> supportScheme(
    const MomentOutcome &outcome, const Calculation &from, const QLocale &locale);

// «Схема нагрузок опоры (Мо в max, прямая)»: what a drawing of the scheme is called.
QString schemeCaption(const SupportScheme &scheme);

} // namespace kelsa
