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

template <typename Char> Char *writePlain(double value, Char decimalPoint, Char *out)
{
    if (value == 0.0)
        value = 0.0; // a negative zero is written "0", not "-0"
    char buffer[32];
    const auto [end, error]
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (error != std::errc())
        return nullptr;
    // "-1.463134e+03": sign, digits with a point after the first, exponent; "inf" and "nan"
    // have no exponent and are left.
    const char *p = buffer;
    const bool negative = *p == '-';
    p += negative;
    char digits[24];
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            digits[count++] = *p;
    if (p == end || count > 15)
        return nullptr;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    if (exponent < -4 || exponent > 14)
        return nullptr;
    if (negative)
        *out++ = Char('-');
    if (exponent < 0) {
        *out++ = Char('0');
        *out++ = decimalPoint;
        for (int k = exponent; k < -1; ++k)
            *out++ = Char('0');
        for (int k = 0; k < count; ++k)
            *out++ = Char(digits[k]);
        return out;
    }
    for (int k = 0; k <= exponent; ++k)
        *out++ = Char(k < count ? digits[k] : '0');
    if (count > exponent + 1) {
        *out++ = decimalPoint;
        for (int k = exponent + 1; k < count; ++k)
            *out++ = Char(digits[k]);
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
