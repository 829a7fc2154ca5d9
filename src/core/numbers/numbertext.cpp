// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbers/numbertext.h"

#include <charconv>
#include <cmath>

namespace kelsa
{

namespace
{

// The largest magnitude whose 15-digit text reads back. The few doubles above it, up to
// 1.7976931348623157E+308, would be written "1,79769313486232E+308", which lies beyond the
// largest double, so that a result copied into a field would read as no number at all.
constexpr double kLargestWritten = 1.79769313486231e308;

// The text of most fields is plain: digits, perhaps a "-" and one decimal separator between
// digits. Such text is read here without QLocale, which costs most of the time of a schedule
// of many supports; both read the nearest double, so the value is the same. Anything else
// (blanks, exponents, other signs, grouping) is left to QLocale.
std::optional<double> readPlainNumber(const QString &text, QChar decimalPoint)
{
    constexpr qsizetype kLongestPlain = 64;
    const qsizetype size = text.size();
    if (size == 0 || size > kLongestPlain)
        return std::nullopt;
    char ascii[kLongestPlain];
    qsizetype k = 0;
    if (text[0] == QLatin1Char('-'))
        ascii[k++] = '-';
    const qsizetype firstDigit = k;
    bool point = false;
    for (; k < size; ++k) {
        const char16_t c = text[k].unicode();
        if (c >= u'0' && c <= u'9') {
            ascii[k] = char(c);
        } else if (c == decimalPoint.unicode() && !point && k > firstDigit && k + 1 < size) {
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

// The locale's decimal separator when it is one character, else the null character. Asking
// QLocale builds a string each time; a schedule asks for the same locale's over and over.
QChar decimalPointOf(const QLocale &locale)
{
    thread_local QLocale last = QLocale::c();
    thread_local QChar point = QLatin1Char('.');
    if (!(locale == last)) {
        const QString text = locale.decimalPoint();
        point = text.size() == 1 ? text[0] : QChar();
        last = locale;
    }
    return point;
}

// Most values, moments among them, have a shortest round-trip text of at most 15 significant
// digits and a decimal exponent from -4 to 14. Their 15-digit rounding is those digits (a
// double lies closer to them than half a step of 15 digits), written without an exponent;
// they are written here without going through QString::number. Others give nothing.
std::optional<QString> writePlainNumber(double value, QChar decimalPoint)
{
    char buffer[32];
    const auto [end, error]
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (error != std::errc())
        return std::nullopt;
    // "-1.463134e+03": sign, digits with a point after the first, exponent.
    const char *p = buffer;
    const bool negative = *p == '-';
    p += negative;
    char digits[24];
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            digits[count++] = *p;
    if (p == end || count > 15)
        return std::nullopt;
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    if (exponent < -4 || exponent > 14)
        return std::nullopt;
    QString text;
    text.reserve(count + 8);
    if (negative)
        text += QLatin1Char('-');
    if (exponent < 0) {
        text += QLatin1Char('0');
        text += decimalPoint;
        for (int k = exponent; k < -1; ++k)
            text += QLatin1Char('0');
        for (int k = 0; k < count; ++k)
            text += QLatin1Char(digits[k]);
        return text;
    }
    for (int k = 0; k <= exponent; ++k)
        text += QLatin1Char(k < count ? digits[k] : '0');
    if (count > exponent + 1) {
        text += decimalPoint;
        for (int k = exponent + 1; k < count; ++k)
            text += QLatin1Char(digits[k]);
    }
    return text;
}

} // namespace

std::optional<double> readNumber(const QString &text)
{
    return readNumber(text, QLocale());
}

std::optional<double> readNumber(const QString &text, const QLocale &locale)
{
    if (const QChar point = decimalPointOf(locale); !point.isNull())
        if (const auto value = readPlainNumber(text, point))
            return value;
    QLocale strict = locale;
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    // QLocale accepts "inf" and "nan"; neither is a quantity an engineer types.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString writeNumber(double value)
{
    return writeNumber(value, QLocale());
}

QString writeNumber(double value, const QLocale &locale)
{
    if (value == 0.0)
        value = 0.0; // a negative zero is written "0", not "-0"
    if (std::isfinite(value) && std::fabs(value) > kLargestWritten)
        value = std::copysign(kLargestWritten, value);
    if (const QChar point = decimalPointOf(locale); !point.isNull())
        if (auto text = writePlainNumber(value, point))
            return *text;
    // The C locale gives the fixed shape ("-", "E", two exponent digits, no grouping);
    // only the decimal separator is the user's.
    QString text = QString::number(value, 'G', 15);
    const QString point = locale.decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

} // namespace kelsa
