// SPDX-License-Identifier: GPL-3.0-or-later
// Number text at the ends of the double range. Every number Kelsa writes must read back to a
// number written the same way, so that a result copied from a label into a field keeps its
// value; the largest doubles once were written as a text beyond the largest double, which
// then read as no number at all.
#include "core/numbers/numbertext.h"

#include <QTest>

#include <cmath>
#include <limits>

using kelsa::readNumber;
using kelsa::writeNumber;

static const QLocale ru(QLocale::Russian, QLocale::Russia);
static const QLocale en(QLocale::English, QLocale::UnitedStates);

class TestNumberLimits : public QObject
{
    Q_OBJECT

private slots:
    void writtenTextReadsBack_data();
    void writtenTextReadsBack();
};

void TestNumberLimits::writtenTextReadsBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const double largest = std::numeric_limits<double>::max();
    QTest::newRow("largest double, ru") << ru << largest << "1,79769313486231E+308";
    QTest::newRow("largest double, en") << en << largest << "1.79769313486231E+308";
    QTest::newRow("negative largest") << ru << -largest << "-1,79769313486231E+308";
    QTest::newRow("next below the largest")
        << en << std::nextafter(largest, 0.0) << "1.79769313486231E+308";
    QTest::newRow("largest written unchanged")
        << en << 1.79769313486231e308 << "1.79769313486231E+308";
    QTest::newRow("just below it rounds as ever")
        << en << 1.797693134862304e308 << "1.7976931348623E+308";
    QTest::newRow("smallest normal") << ru << 2.2250738585072014e-308 << "2,2250738585072E-308";
    QTest::newRow("smallest subnormal")
        << ru << std::numeric_limits<double>::denorm_min() << "4,94065645841247E-324";
}

void TestNumberLimits::writtenTextReadsBack()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(writeNumber(value, locale), text);
    const auto back = readNumber(text, locale);
    QVERIFY(back.has_value());
    QCOMPARE(writeNumber(*back, locale), text);
}

QTEST_GUILESS_MAIN(TestNumberLimits)
#include "test_numberlimits.moc"
