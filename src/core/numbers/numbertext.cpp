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
    // The C locale gives the fixed shape ("-", "E", two exponent digits, no grouping);
    // only the decimal separator is the user's.
    QString text = QString::number(value, 'G', 15);
    const QString point = locale.decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

} // namespace kelsa
