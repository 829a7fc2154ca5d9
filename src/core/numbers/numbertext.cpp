// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbers/numbertext.h"

#include "core/numbers/plainnumber.h"

#include <cmath>

namespace kelsa
{

namespace
{

// The largest magnitude whose 15-digit text reads back. The few doubles above it, up to
// 1.7976931348623157E+308, would be written "1,79769313486232E+308", which lies beyond the
// largest double, so that a result copied into a field would read as no number at all.
constexpr double kLargestWritten = 1.79769313486231e308;

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

// -0 as 0, and the largest doubles as the largest whose text reads back.
double writable(double value)
{
    if (value == 0.0)
        return 0.0; // a negative zero is written "0", not "-0"
    if (std::isfinite(value) && std::fabs(value) > kLargestWritten)
        return std::copysign(kLargestWritten, value);
    return value;
}

QString qtNumberText(double value, const QLocale &locale)
{
    // The C locale gives the fixed shape ("-", "E", two exponent digits, no grouping);
    // only the decimal separator is the user's.
    QString text = QString::number(value, 'G', 15);
    const QString point = locale.decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

} // namespace

std::optional<double> readNumber(const QString &text)
{
    return readNumber(text, QLocale());
}

std::optional<double> readNumber(const QString &text, const QLocale &locale)
{
    // Plain text is most fields' (see plainnumber.h): read without QLocale, which costs most of
    // the time of a schedule of many supports; both read the nearest double.
    if (const QChar point = decimalPointOf(locale); !point.isNull())
        if (const auto value = readPlainNumber(
                std::u16string_view(QStringView(text).utf16(), std::size_t(text.size())),
                point.unicode()))
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
    value = writable(value);
    if (const QChar point = decimalPointOf(locale); !point.isNull()) {
        char16_t text[kPlainNumberRoom];
        if (const char16_t *end = writePlainNumber(value, point.unicode(), text))
            return QString(reinterpret_cast<const QChar *>(text), end - text);
    }
    return qtNumberText(value, locale);
}

QString writeNumberByQt(double value, const QLocale &locale)
{
    return qtNumberText(writable(value), locale);
}

} // namespace kelsa
