// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

namespace kelsa
{

// The terms of a moment as a calculation note writes them: each term's Russian name, its symbol
// with a Cyrillic index, its formula in symbols and with the numbers put in, and its value; and
// what every symbol of an input stands for. The values are the engine's terms (moments.h); the
// formulas say how the engine formed them.

// One load of a term's formula, as a drawing of the support shows it.
struct LoadForm {
    enum class Kind {
        Horizontal, // a force at a height above the base (or the heel)
        Vertical, // a weight at an offset from the support's axis
        Couple, // a moment with no force or arm of its own in the formula
    };
    Kind kind;
    double arm; // m: the height, or the offset (+ on the side where a weight adds to the moment)
    QString force; // the force in the formula's notation; for a couple, the moment itself
};

// A term of one moment's formula.
struct TermForm {
    QString name; // «от ветра на провода»
    QString symbol; // «Мпр»
    QString formula; // in the formula's notation, see renderFormula()
    bool subtracted; // the term enters the moment with a minus
    std::vector<LoadForm> loads; // one per share of the engine's term, in its order
};

// The form of the engine's term `key` ("Mwires") in a moment on a track section (the section
// matters for the ordinary support only); nothing for a key the engine does not give.
std::optional<TermForm> termForm(Moment moment, TrackSection section, const char *key);

// A formula of the notation TermForm uses, written out. The notation names the inputs by their
// symbols in the engine's formulas (L, Gp, Gpr, Pnv, Pkv, Pprv, Tn, Tk, Tpr, R, a, V, Lp, D1…D9,
// F1…F9) and writes numbers with a decimal point; the loads are those of `condition`.
// Symbols: the inputs by their Cyrillic symbols («Gп в», «Рнв», «Тк»). Numbers: the inputs'
// texts as typed (an empty one as 0, a signed one in brackets). Both write the constants with
// the locale's decimal separator.
enum class FormulaText { Symbols, Numbers };
QString renderFormula(const QString &formula, FormulaText text, DesignCondition condition,
    const Calculation &inputs, const QLocale &locale);

// One term of a computed moment.
struct TermLine {
    QString name;
    QString symbol;
    QString formula; // in symbols
    QString numbers; // the same with the numbers put in
    double value; // what the formula gives, kgf·m: the engine's term with its sign in the sum taken
                  // off
    bool subtracted;
};

// What a symbol of the inputs stands for: «Gп» and «вес 1 м подвески с гололедом, кгс/м (поле
// «Gп»)». The rows of an additional-load table share one note.
struct SymbolNote {
    QString symbols;
    QString meaning;

    friend bool operator==(const SymbolNote &, const SymbolNote &) = default;
};

struct MomentExplanation {
    std::vector<TermLine> terms; // in the order the moment sums them
    std::vector<SymbolNote> notes; // every input symbol of the formulas, in order of first use
};

// The terms of a computed outcome, with the numbers of `from`, the calculation it was computed
// from, written in `locale`. Empty for an outcome without terms.
MomentExplanation explainMoment(
    const MomentOutcome &outcome, const Calculation &from, const QLocale &locale);

// "Мверт + Мпр − Моп" and "233,30 + 788,75 − 666,90": the sum of the terms in symbols and in
// numbers to 0,01; a negative value that is added is written as its subtraction.
QString sumInSymbols(const std::vector<TermLine> &terms);
QString sumInNumbers(const std::vector<TermLine> &terms, const QLocale &locale);

// A value to 0.01 with two decimals, no grouping and no negative zero: "233,30", "-4,90";
// the words «нет конечного значения» for an infinity or NaN.
QString hundredths(double value, const QLocale &locale);

} // namespace kelsa
