// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbers/plainnumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <type_traits>

namespace kelsa
{

namespace
{

// One reading for both kinds of text, so that a cell's bytes and a field's QString agree.
template <typename Char>
std::optional<double> readPlain(std::basic_string_view<Char> text, char16_t decimalPoint)
{
    constexpr std::size_t kLongestPlain = 64;
    const std::size_t size = text.size();
    if (size == 0 || size > kLongestPlain)
        return std::nullopt;
    char ascii[kLongestPlain];
    std::size_t k = 0;
    if (text[0] == Char('-'))
        ascii[k++] = '-';
    const std::size_t firstDigit = k;
    bool point = false;
    for (; k < size; ++k) {
        // Bytes are taken unsigned: a byte of a UTF-8 sequence is no character of its own.
        const auto c = char16_t(std::make_unsigned_t<Char>(text[k]));
        if (sizeof(Char) == 1 && c >= 0x80)
            return std::nullopt;
        if (c >= u'0' && c <= u'9') {
            ascii[k] = char(c);
        } else if (c == decimalPoint && !point && k > firstDigit && k + 1 < size) {
            ascii[k] = '.';
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (k == firstDigit)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(ascii, ascii + size, value);
    if (error != std::errc() || end != ascii + size || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The significant digits of a value rounded to 15, trailing zeros dropped, and its decimal
// exponent.
struct Digits {
    bool negative = false;
    char digits[17];
    int count = 0;
    int exponent = 0;
};

// The 15 significant digits QString::number(value, 'G', 15) writes, from to_chars's 17 digits
// ("-1.4631340000000000e+03"), rounded once more: the 17 are the value's own correctly rounded,
// so that past the 15th they tell which way the value lies from halfway, except when they are
// exactly "50". Then the value may lie halfway, which Qt rounds away from zero where to_chars
// would round to the even digit: such a value is left to QString::number, as are "inf" and "nan".
bool fifteenDigits(double value, Digits &out)
{
    char buffer[40];
    const auto [end, error]
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
    if (error != std::errc())
        return false;
    const char *p = buffer;
    out.negative = *p == '-';
    p += out.negative;
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.' && count < 17)
            out.digits[count++] = *p;
    if (p == end || count != 17)
        return false;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, out.exponent);
    const int past = (out.digits[15] - '0') * 10 + (out.digits[16] - '0');
    if (past == 50)
        return false;
    out.count = 15;
    if (past > 50) {
        int k = 14;
        for (; k >= 0 && out.digits[k] == '9'; --k)
            out.digits[k] = '0';
        if (k >= 0) {
            ++out.digits[k];
        } else { // 9.99…9 up to 10
            out.digits[0] = '1';
            ++out.exponent;
        }
    }
    while (out.count > 1 && out.digits[out.count - 1] == '0')
        --out.count;
    return true;
}

template <typename Char> Char *writePlain(double value, Char decimalPoint, Char *out)
{
    if (value == 0.0)
        value = 0.0; // a negative zero is written "0", not "-0"
    Digits d;
    if (!fifteenDigits(value, d) || d.exponent < -4 || d.exponent > 14)
        return nullptr;
    if (d.negative)
        *out++ = Char('-');
    if (d.exponent < 0) {
        *out++ = Char('0');
        *out++ = decimalPoint;
        for (int k = d.exponent; k < -1; ++k)
            *out++ = Char('0');
        for (int k = 0; k < d.count; ++k)
            *out++ = Char(d.digits[k]);
        return out;
    }
    for (int k = 0; k <= d.exponent; ++k)
        *out++ = Char(k < d.count ? d.digits[k] : '0');
    if (d.count > d.exponent + 1) {
        *out++ = decimalPoint;
        for (int k = d.exponent + 1; k < d.count; ++k)
            *out++ = Char(d.digits[k]);
    }
    return out;
}

} // namespace

std::optional<double> readPlainNumber(std::string_view text, char16_t decimalPoint)
{
    return readPlain(text, decimalPoint);
}

std::optional<double> readPlainNumber(std::u16string_view text, char16_t decimalPoint)
{
    return readPlain(text, decimalPoint);
}

char *writePlainNumber(double value, char decimalPoint, char *out)
{
    return writePlain(value, decimalPoint, out);
}

char16_t *writePlainNumber(double value, char16_t decimalPoint, char16_t *out)
{
    return writePlain(value, decimalPoint, out);
}

char *writePlainTenths(double value, char decimalPoint, char *out)
{
    // Not negative (nor -0, which QLocale writes "0,0"), not NaN, below 10^15.
    if (!(value >= 0 && value < 1e15) || std::signbit(value))
        return nullptr;
    // Halfway between two tenths means x.25 or x.75 exactly, four times which is odd; the
    // product is exact below 10^15.
    const double quarters = value * 4;
    if (quarters == std::floor(quarters) && std::fmod(quarters, 2) == 1)
        return nullptr;
    const auto [end, error]
        = std::to_chars(out, out + kPlainNumberRoom, value, std::chars_format::fixed, 1);
    if (error != std::errc())
        return nullptr;
    std::replace(out, end, '.', decimalPoint);
    return end;
}

} // namespace kelsa
