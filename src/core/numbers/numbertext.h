// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace kelsa
{

// Number text as the user sees it in every field, cell and result of Kelsa.
//
// Reading follows the user's locale: "17,5" under a Russian locale, "17.5" under an English
// one. Digit grouping is refused (a "1 000" typed by mistake must not become 1), an exponent
// such as "2e3" is accepted, surrounding blanks are ignored. Text that does not denote a
// finite number, the empty text included, yields nothing; each caller decides what follows.
//
// Writing gives at most 15 significant digits, no trailing zeros, no digit grouping, the
// locale's decimal separator, a leading "-" for negative values and the exponent form
// "1E+20", "1E-05", "1,5E+20" when the decimal exponent is 15 or more or below -4. The
// largest doubles, whose 15 digits would round past the largest double, are written as
// "1,79769313486231E+308" (or its negative), so that every text written reads back.
//
// The overloads without a locale read QLocale() at the moment of the call, so that
// QLocale::setDefault() at start-up or in a test takes effect at once.

std::optional<double> readNumber(const QString &text);
std::optional<double> readNumber(const QString &text, const QLocale &locale);

QString writeNumber(double value);
QString writeNumber(double value, const QLocale &locale);

// The same text as writeNumber(), made by Qt's conversion alone: slower, but it needs no code
// that a window's start-up has not loaded already. For the few hundred numbers of the
// reference tables, where writeNumber()'s fast path would bring some 200 KB of the C++ library's
// conversion code and tables into memory at every start.
QString writeNumberByQt(double value, const QLocale &locale);

} // namespace kelsa
