// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of number text: the bytes, read as UTF-8, are read as a number under a Russian
// and an English locale. A number read is finite, and what writeNumber() makes of it reads
// back to a number that is written as the same 15-digit text, so that a result copied from a
// label into a field keeps its value. The first eight bytes are also taken as a double and
// written and read back the same way, which reaches values no short text denotes.
#include "fuzzcheck.h"

#include "core/numbers/numbertext.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace
{

// Characters a written number may hold under `locale`: digits, "-", "+", "E" and the decimal
// separator; never a group separator.
bool isWrittenNumber(const QString &text, const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    KELSA_FUZZ_CHECK(point.size() == 1);
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'-' && c != u'+' && c != u'E'
            && c != point.front())
            return false;
    }
    return !text.isEmpty();
}

void checkRoundTrip(double value, const QLocale &locale)
{
    const QString written = kelsa::writeNumber(value, locale);
    KELSA_FUZZ_CHECK(isWrittenNumber(written, locale));
    const std::optional<double> back = kelsa::readNumber(written, locale);
    KELSA_FUZZ_CHECK(back.has_value());
    KELSA_FUZZ_CHECK(kelsa::writeNumber(*back, locale) == written);
}

// Text that no locale reads differently: ASCII digits, signs, exponent letters and spaces.
bool isLocaleFree(const QString &text)
{
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'-' && c != u'+' && c != u'e' && c != u'E'
            && c != u' ')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    std::optional<double> read[2];
    int i = 0;
    for (const QLocale &locale : { ru, en }) {
        read[i] = kelsa::readNumber(text, locale);
        if (read[i]) {
            KELSA_FUZZ_CHECK(std::isfinite(*read[i]));
            checkRoundTrip(*read[i], locale);
        }
        ++i;
    }
    if (isLocaleFree(text))
        KELSA_FUZZ_CHECK(read[0] == read[1]);

    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            checkRoundTrip(value, ru);
            checkRoundTrip(value, en);
        }
    }
    return 0;
}
