// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Number text of the plain shape that most fields, cells and moments have ("1463,134", "-0,3",
// "1500"), read and written without QString or QLocale. readNumber() and writeNumber() take this
// way for every text it covers, and a schedule takes it for its cells' bytes, so both give the
// same numbers and the same texts; anything else (blanks, exponents, grouping, other signs) is
// theirs to read and write through QLocale.

#include <optional>
#include <string_view>

namespace kelsa
{

// The number a plain text denotes: an optional "-", then digits with at most one
// `decimalPoint` between two of them, 64 characters at most. Nothing for any other text (it may
// still be a number to QLocale), nor for one beyond the largest double. Bytes are UTF-8: a byte
// of a longer sequence is no decimal separator, whatever `decimalPoint` is.
std::optional<double> readPlainNumber(std::string_view text, char16_t decimalPoint);
std::optional<double> readPlainNumber(std::u16string_view text, char16_t decimalPoint);

// Room for any text writePlainNumber() writes ("-0,0001" and 15 digits is the longest).
inline constexpr int kPlainNumberRoom = 32;

// Writes `value` as writeNumber() writes it (QString::number's 15 significant digits, trailing
// zeros dropped), when that text has no exponent: its 15-digit rounding has a decimal exponent
// from -4 to 14. Left to QString::number: other exponents, "inf" and "nan", and a value that
// may lie exactly halfway between two 15-digit texts (its 16-digit rounding ends in 5), which
// Qt rounds away from zero and to_chars to the even digit. `out` has room for kPlainNumberRoom
// characters. Returns the end of the text, or nullptr (nothing written).
char *writePlainNumber(double value, char decimalPoint, char *out);
char16_t *writePlainNumber(double value, char16_t decimalPoint, char16_t *out);

// Writes `value` to one decimal as QLocale::toString(value, 'f', 1) writes it in a locale with
// the digits '0' to '9' and no grouping (a utilisation in per cent, "44,8"), for 0 <= value <
// 10^15. Returns the end of the text, or nullptr (nothing written) for any other value and for
// one exactly halfway between two tenths (x.25 and x.75 are doubles): QLocale rounds those away
// from zero, to_chars to the even tenth. `out` has room for kPlainNumberRoom characters.
char *writePlainTenths(double value, char decimalPoint, char *out);

} // namespace kelsa
