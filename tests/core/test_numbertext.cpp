// SPDX-License-Identifier: GPL-3.0-or-later
// Number text both ways, under a Russian and an English locale.
#include "core/numbers/numbertext.h"

#include <QTest>

#include <cmath>
#include <limits>

using kelsa::readNumber;
using kelsa::writeNumber;
using kelsa::writeNumberByQt;

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void read_data();
    void read();
    void write_data();
    void write();
    void defaultLocaleReadAtUse();
    void roundTripOfResults_data();
    void roundTripOfResults();
};

static const QLocale ru(QLocale::Russian, QLocale::Russia);
static const QLocale en(QLocale::English, QLocale::UnitedStates);

void TestNumberText::read_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<double>("value");

    QTest::newRow("ru comma") << ru << "17,5" << true << 17.5;
    QTest::newRow("ru point is not a number") << ru << "50.5" << false << 0.0;
    QTest::newRow("ru two commas") << ru << "1,5,2" << false << 0.0;
    QTest::newRow("ru exponent") << ru << "2e3" << true << 2000.0;
    QTest::newRow("ru exponent with fraction") << ru << "2,5E-3" << true << 0.0025;
    QTest::newRow("ru grouping refused") << ru << QString::fromUtf8("1\u00a0000") << false << 0.0;
    QTest::newRow("ru negative") << ru << "-3,25" << true << -3.25;
    QTest::newRow("ru blanks around") << ru << " 3 " << true << 3.0;
    QTest::newRow("en point") << en << "17.5" << true << 17.5;
    QTest::newRow("en comma is not a decimal") << en << "17,5" << false << 0.0;
    QTest::newRow("en grouping refused") << en << "1,000" << false << 0.0;
    QTest::newRow("en exponent") << en << "1E5" << true << 100000.0;
    QTest::newRow("empty") << ru << "" << false << 0.0;
    QTest::newRow("letters") << ru << "abc" << false << 0.0;
    QTest::newRow("inf is not a quantity") << en << "inf" << false << 0.0;
    QTest::newRow("nan is not a quantity") << en << "nan" << false << 0.0;
    QTest::newRow("overflow") << en << "1e400" << false << 0.0;
    QTest::newRow("lone exponent letter") << en << "1e" << false << 0.0;
}

void TestNumberText::read()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(double, value);
    const auto number = readNumber(text, locale);
    QCOMPARE(number.has_value(), converts);
    if (converts)
        QCOMPARE(*number, value);
}

void TestNumberText::write_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("ru fraction") << ru << 1856.95 << "1856,95";
    QTest::newRow("en fraction") << en << 1856.95 << "1856.95";
    QTest::newRow("ru negative") << ru << -3377.35 << "-3377,35";
    QTest::newRow("integer") << ru << 903.0 << "903";
    QTest::newRow("zero") << ru << 0.0 << "0";
    QTest::newRow("negative zero") << ru << -0.0 << "0";
    QTest::newRow("15 digits") << ru << 0.1 + 0.2 << "0,3";
    QTest::newRow("one third") << ru << 1.0 / 3.0 << "0,333333333333333";
    QTest::newRow("no grouping") << ru << 123456789012345.0 << "123456789012345";
    QTest::newRow("exponent 15") << ru << 1e15 << "1E+15";
    QTest::newRow("exponent 20") << en << 1e20 << "1E+20";
    QTest::newRow("ru mantissa") << ru << 1.5e20 << "1,5E+20";
    QTest::newRow("en mantissa") << en << 1.5e20 << "1.5E+20";
    QTest::newRow("small") << en << 1e-5 << "1E-05";
    QTest::newRow("just above -4") << ru << 0.0001 << "0,0001";
    QTest::newRow("large negative") << en << -2.5e300 << "-2.5E+300";
    QTest::newRow("17 digits rounded to 15") << ru << 1312.6711538461538 << "1312,67115384615";
    QTest::newRow("rounded up to the next power of ten") << ru << 9.9999999999999995 << "10";
    QTest::newRow("rounded up to 10^15") << ru << 999999999999999.9 << "1E+15";
    // Exactly halfway between two 15-digit texts: away from zero, not to the even digit.
    QTest::newRow("halfway rounds up") << ru << 1234567890123.125 << "1234567890123,13";
    QTest::newRow("halfway, negative") << en << -1234567890123.125 << "-1234567890123.13";
    QTest::newRow("just below halfway") << ru << 0.1234567890123125 << "0,123456789012312";
    QTest::newRow("largest double")
        << ru << std::numeric_limits<double>::max() << "1,79769313486231E+308";
    QTest::newRow("largest negative")
        << en << -std::numeric_limits<double>::max() << "-1.79769313486231E+308";
    QTest::newRow("largest written") << ru << 1.79769313486231e308 << "1,79769313486231E+308";
}

void TestNumberText::write()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(writeNumber(value, locale), text);
    QCOMPARE(writeNumberByQt(value, locale), text); // the tables' start-up writer
}

void TestNumberText::defaultLocaleReadAtUse()
{
    QLocale::setDefault(ru);
    QCOMPARE(writeNumber(0.85), QStringLiteral("0,85"));
    QCOMPARE(readNumber(QStringLiteral("0,85")).value_or(-1), 0.85);
    QLocale::setDefault(en);
    QCOMPARE(writeNumber(0.85), QStringLiteral("0.85"));
    QVERIFY(!readNumber(QStringLiteral("0,85")));
}

void TestNumberText::roundTripOfResults_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("ru") << ru;
    QTest::newRow("en") << en;
}

// A cell written from a workbook number is read back by a calculation: the two must agree
// to the 15 digits that are written.
void TestNumberText::roundTripOfResults()
{
    QFETCH(QLocale, locale);
    for (double v : { 0.85, 1463.134, -2206.484, 1e-5, 3.3e17, 2.0 / 3.0 }) {
        const auto back = readNumber(writeNumber(v, locale), locale);
        QVERIFY(back.has_value());
        QCOMPARE(writeNumber(*back, locale), writeNumber(v, locale));
    }
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
