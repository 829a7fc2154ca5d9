// SPDX-License-Identifier: GPL-3.0-or-later
// Plain number text on millions of values: what a schedule's cells are read and its moments and
// utilisations written with, against what QLocale and QString::number give for the same. Prints
// for each kind the values tried, how many took the plain way, how many differ (must be 0) and
// the time per value of each way.
//
//   build/bin/bench_plain_numbers [MILLIONS]   (default 10 of each kind)
#include "core/numbers/plainnumber.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

using namespace kelsa;

namespace
{

struct Tally {
    long long tried = 0;
    long long plain = 0;
    long long differ = 0;
    double plainNs = 0;
    double referenceNs = 0;
};

void report(const char *kind, const Tally &tally)
{
    std::printf("%-34s %11lld %11lld %7lld %9.1f ns %9.1f ns\n", kind, tally.tried, tally.plain,
        tally.differ, tally.plainNs / double(tally.tried), tally.referenceNs / double(tally.tried));
}

// Plain texts of up to 20 digits, a sign and a separator now and then: read as bytes, and by
// QLocale::toDouble.
Tally reading(long long count, const QLocale &locale)
{
    const QChar point = locale.decimalPoint().front();
    std::mt19937_64 random(1);
    std::uniform_int_distribution<int> digit(0, 9), length(1, 20), coin(0, 3);
    Tally tally;
    QElapsedTimer timer;
    for (long long n = 0; n < count; ++n) {
        std::string bytes;
        if (coin(random) == 0)
            bytes += '-';
        const int digits = length(random);
        const int pointAt
            = coin(random) == 0 ? 0 : std::uniform_int_distribution<int>(0, digits)(random);
        for (int k = 0; k < digits; ++k) {
            if (k > 0 && k == pointAt)
                bytes += char(point.unicode());
            bytes += char('0' + digit(random));
        }
        const QString text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        timer.start();
        const auto plain = readPlainNumber(bytes, point.unicode());
        tally.plainNs += double(timer.nsecsElapsed());
        timer.start();
        bool ok = false;
        const double expected = locale.toDouble(text, &ok);
        tally.referenceNs += double(timer.nsecsElapsed());
        ++tally.tried;
        tally.plain += plain.has_value();
        if (!ok || !plain || *plain != expected || std::signbit(*plain) != std::signbit(expected))
            ++tally.differ;
    }
    return tally;
}

// Moments: decimals of 0 to 6 places at magnitudes of 1e-6 to 1e17, either sign; written the
// plain way, and by QString::number to 15 digits.
Tally writing(long long count, char point)
{
    std::mt19937_64 random(2);
    std::uniform_int_distribution<int> places(0, 6), exponent(-6, 17);
    std::uniform_real_distribution<double> unit(1, 10);
    Tally tally;
    QElapsedTimer timer;
    for (long long n = 0; n < count; ++n) {
        double value = n % 3 == 0
            ? unit(random) * std::pow(10.0, exponent(random))
            : std::round(unit(random) * std::pow(10.0, exponent(random) + places(random)))
                / std::pow(10.0, places(random));
        if (n % 2)
            value = -value;
        char text[kPlainNumberRoom];
        timer.start();
        const char *end = writePlainNumber(value, point, text);
        tally.plainNs += double(timer.nsecsElapsed());
        timer.start();
        QString expected = QString::number(value == 0 ? 0.0 : value, 'G', 15);
        expected.replace(QLatin1Char('.'), QLatin1Char(point));
        tally.referenceNs += double(timer.nsecsElapsed());
        ++tally.tried;
        if (!end)
            continue;
        ++tally.plain;
        if (QLatin1String(text, end - text) != expected)
            ++tally.differ;
    }
    return tally;
}

// Utilisations: whole tenths of a per cent up to 10^15 %, most below 200 %.
Tally writingTenths(long long count)
{
    QLocale locale(QLocale::Russian, QLocale::Russia);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> usual(0, 2000), any(0, 1e16);
    Tally tally;
    QElapsedTimer timer;
    for (long long n = 0; n < count; ++n) {
        const double value = std::floor(n % 4 ? usual(random) : any(random)) / 10;
        char text[kPlainNumberRoom];
        timer.start();
        const char *end = writePlainTenths(value, ',', text);
        tally.plainNs += double(timer.nsecsElapsed());
        timer.start();
        const QString expected = locale.toString(value, 'f', 1);
        tally.referenceNs += double(timer.nsecsElapsed());
        ++tally.tried;
        if (!end)
            continue;
        ++tally.plain;
        if (QLatin1String(text, end - text) != expected)
            ++tally.differ;
    }
    return tally;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const long long count = (args.size() > 1 ? args[1].toLongLong() : 10) * 1000 * 1000;
    std::printf("%-34s %11s %11s %7s %12s %12s\n", "kind", "values", "plain way", "differ", "plain",
        "QLocale/Qt");
    const Tally tallies[] = { reading(count, QLocale(QLocale::Russian, QLocale::Russia)),
        reading(count, QLocale::c()), writing(count, ','), writing(count, '.'),
        writingTenths(count) };
    const char *kinds[] = { "read, decimal comma", "read, decimal point",
        "write moment, decimal comma", "write moment, decimal point", "write utilisation tenths" };
    long long differ = 0;
    for (int k = 0; k < 5; ++k) {
        report(kinds[k], tallies[k]);
        differ += tallies[k].differ;
    }
    return differ == 0 ? 0 : 1;
}
