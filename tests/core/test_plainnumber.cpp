// SPDX-License-Identifier: GPL-3.0-or-later
// Plain number text read and written without QLocale: the same numbers and the same texts as
// QLocale and QString::number give, for the cells of a schedule's bytes and for the fields'
// texts, checked on a few hundred thousand values of a fixed-seed generator
// (bench_plain_numbers checks millions).
#include "core/numbers/plainnumber.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace kelsa;

namespace
{

const QLocale ru(QLocale::Russian, QLocale::Russia);
const QLocale en(QLocale::English, QLocale::UnitedStates);

// The text writeNumber() gave every value before the plain way: QString::number to 15
// significant digits, the point replaced by the locale's.
QString numberText(double value, QChar point)
{
    QString text = QString::number(value == 0 ? 0.0 : value, 'G', 15);
    return text.replace(QLatin1Char('.'), point);
}

QString written(double value, QChar point)
{
    char text[kPlainNumberRoom];
    const char *end = writePlainNumber(value, char(point.unicode()), text);
    return end ? QString::fromLatin1(text, end - text) : QString();
}

QString tenthsText(double value, char point)
{
    char text[kPlainNumberRoom];
    const char *end = writePlainTenths(value, point, text);
    return end ? QString::fromLatin1(text, end - text) : QStringLiteral("(QLocale)");
}

// A random text of the plain shape: a sign now and then, up to 20 digits, a decimal
// separator between digits now and then, leading and trailing zeros among them.
QString plainText(std::mt19937_64 &random, QChar point)
{
    std::uniform_int_distribution<int> digit(0, 9), length(1, 20), coin(0, 3);
    QString text;
    if (coin(random) == 0)
        text += QLatin1Char('-');
    const int digits = length(random);
    const int pointAt
        = coin(random) == 0 ? 0 : std::uniform_int_distribution<int>(0, digits)(random);
    for (int k = 0; k < digits; ++k) {
        if (k > 0 && k == pointAt)
            text += point;
        text += QLatin1Char(char('0' + digit(random)));
    }
    return text;
}

} // namespace

class TestPlainNumber : public QObject
{
    Q_OBJECT

private slots:
    void readRefusals_data();
    void readRefusals();
    void readAgreesWithQLocale_data();
    void readAgreesWithQLocale();
    void writeAgreesWithQStringNumber_data();
    void writeAgreesWithQStringNumber();
    void tenths_data();
    void tenths();
    void tenthsAgreeWithQLocale_data();
    void tenthsAgreeWithQLocale();
};

// What is no plain number is left to QLocale, which reads some of it (exponents, blanks) its
// own way: nothing must be read here that QLocale would read otherwise.
void TestPlainNumber::readRefusals_data()
{
    QTest::addColumn<QByteArray>("text"); // UTF-8
    QTest::addColumn<QChar>("point");
    QTest::addColumn<bool>("read");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << QByteArray("1463,134") << QChar(u',') << true << 1463.134;
    QTest::newRow("negative") << QByteArray("-0,3") << QChar(u',') << true << -0.3;
    QTest::newRow("64 characters")
        << QByteArray("1") + QByteArray(63, '0') << QChar(u',') << true << 1e63;
    QTest::newRow("65 characters") << QByteArray(65, '1') << QChar(u',') << false << 0.0;
    QTest::newRow("empty") << QByteArray() << QChar(u',') << false << 0.0;
    QTest::newRow("sign alone") << QByteArray("-") << QChar(u',') << false << 0.0;
    QTest::newRow("plus sign") << QByteArray("+1") << QChar(u',') << false << 0.0;
    QTest::newRow("separator first") << QByteArray(",5") << QChar(u',') << false << 0.0;
    QTest::newRow("separator last") << QByteArray("5,") << QChar(u',') << false << 0.0;
    QTest::newRow("separator after sign") << QByteArray("-,5") << QChar(u',') << false << 0.0;
    QTest::newRow("two separators") << QByteArray("1,5,2") << QChar(u',') << false << 0.0;
    QTest::newRow("the other separator") << QByteArray("1.5") << QChar(u',') << false << 0.0;
    QTest::newRow("exponent") << QByteArray("2e3") << QChar(u'.') << false << 0.0;
    QTest::newRow("blank before") << QByteArray(" 3") << QChar(u'.') << false << 0.0;
    QTest::newRow("blank after") << QByteArray("3 ") << QChar(u'.') << false << 0.0;
    QTest::newRow("no-break space grouping") << QByteArray("1\xc2\xa0"
                                                           "000")
                                             << QChar(u'.') << false << 0.0;
    QTest::newRow("fullwidth digits") << QByteArray("\xef\xbc\x93") << QChar(u'.') << false << 0.0;
    // U+00B7 as a separator must not match the second byte of its own UTF-8 sequence.
    QTest::newRow("byte of a sequence is no separator") << QByteArray("1\xb7"
                                                                      "5")
                                                        << QChar(u'\u00b7') << false << 0.0;
}

void TestPlainNumber::readRefusals()
{
    QFETCH(QByteArray, text);
    QFETCH(QChar, point);
    QFETCH(bool, read);
    QFETCH(double, value);
    const auto bytes = readPlainNumber(
        std::string_view(text.constData(), std::size_t(text.size())), point.unicode());
    QCOMPARE(bytes.has_value(), read);
    if (read)
        QCOMPARE(*bytes, value);
    const QString utf16 = QString::fromUtf8(text);
    const auto chars = readPlainNumber(
        std::u16string_view(QStringView(utf16).utf16(), std::size_t(utf16.size())),
        point.unicode());
    if (text.contains('\xb7'))
        return; // as text, U+00B7 is that separator and "1·5" a number
    QCOMPARE(chars.has_value(), read);
    if (read)
        QCOMPARE(*chars, value);
}

void TestPlainNumber::readAgreesWithQLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("ru") << ru;
    QTest::newRow("en") << en;
}

// Every plain text reads, as bytes and as text, the double QLocale reads.
void TestPlainNumber::readAgreesWithQLocale()
{
    QFETCH(QLocale, locale);
    const QChar point = locale.decimalPoint().front();
    std::mt19937_64 random(20261208);
    for (int k = 0; k < 150000; ++k) {
        const QString text = plainText(random, point);
        const std::string bytes = text.toStdString();
        const auto fromBytes = readPlainNumber(bytes, point.unicode());
        const auto fromText = readPlainNumber(
            std::u16string_view(QStringView(text).utf16(), std::size_t(text.size())),
            point.unicode());
        bool ok = false;
        const double expected = locale.toDouble(text, &ok);
        if (!ok || !fromBytes || !fromText || *fromBytes != expected || *fromText != expected
            || std::signbit(*fromBytes) != std::signbit(expected))
            QFAIL(qPrintable(QStringLiteral("%1: QLocale %2 %3, plain %4 %5")
                                 .arg(text)
                                 .arg(ok)
                                 .arg(expected, 0, 'g', 17)
                                 .arg(fromBytes.value_or(qQNaN()), 0, 'g', 17)
                                 .arg(fromText.value_or(qQNaN()), 0, 'g', 17)));
    }
}

void TestPlainNumber::writeAgreesWithQStringNumber_data()
{
    QTest::addColumn<QChar>("point");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("leastPlain"); // of the 100,000 values, written the plain way
    // Moments as they come: few decimals at any magnitude, and every bit pattern of a range.
    QTest::newRow("ru, decimals of 0 to 6 places") << QChar(u',') << 0 << 70000;
    QTest::newRow("en, decimals of 0 to 6 places") << QChar(u'.') << 0 << 70000;
    QTest::newRow("ru, any double of 1e-6 to 1e17") << QChar(u',') << 1 << 65000;
    QTest::newRow("ru, quotients of small integers") << QChar(u',') << 2 << 80000;
}

// Where the plain way writes a value its text is QString::number's; it writes most moments
// and most doubles of 16 and 17 digits.
void TestPlainNumber::writeAgreesWithQStringNumber()
{
    QFETCH(QChar, point);
    QFETCH(int, kind);
    QFETCH(int, leastPlain);
    std::mt19937_64 random(kind + 1);
    std::uniform_int_distribution<int> places(0, 6), exponent(-6, 17), small(-5000, 5000);
    std::uniform_real_distribution<double> unit(1, 10);
    int plain = 0;
    constexpr int kValues = 100000;
    for (int k = 0; k < kValues; ++k) {
        double value = 0;
        if (kind == 0)
            value = std::round(unit(random) * std::pow(10.0, exponent(random) + places(random)))
                / std::pow(10.0, places(random));
        else if (kind == 1)
            value = unit(random) * std::pow(10.0, exponent(random));
        else
            value = double(small(random)) / double(small(random) | 1);
        if (k % 2)
            value = -value;
        const QString text = written(value, point);
        if (text.isEmpty())
            continue;
        ++plain;
        if (text != numberText(value, point))
            QFAIL(qPrintable(QStringLiteral("%1: plain %2, QString::number %3")
                                 .arg(value, 0, 'g', 17)
                                 .arg(text, numberText(value, point))));
    }
    QVERIFY2(plain >= leastPlain, qPrintable(QString::number(plain)));
}

void TestPlainNumber::tenths_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text"); // "(QLocale)": left to QLocale

    QTest::newRow("ordinary") << 44.8 << "44,8";
    QTest::newRow("whole") << 100.0 << "100,0";
    QTest::newRow("zero") << 0.0 << "0,0";
    QTest::newRow("negative zero") << -0.0 << "(QLocale)";
    QTest::newRow("negative") << -0.1 << "(QLocale)";
    QTest::newRow("halfway .25") << 0.25 << "(QLocale)";
    QTest::newRow("halfway .75") << 562949953421312.75 << "(QLocale)";
    QTest::newRow("just below halfway") << std::nextafter(0.25, 0.0) << "0,2";
    QTest::newRow("just above halfway") << std::nextafter(0.25, 1.0) << "0,3";
    QTest::newRow("largest below 10^15") << std::nextafter(1e15, 0.0) << "999999999999999,9";
    QTest::newRow("10^15") << 1e15 << "(QLocale)";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "(QLocale)";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "(QLocale)";
}

void TestPlainNumber::tenths()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(tenthsText(value, ','), text);
}

void TestPlainNumber::tenthsAgreeWithQLocale_data()
{
    QTest::addColumn<double>("top");
    QTest::newRow("below 200 %") << 200.0;
    QTest::newRow("below 10^9 %") << 1e9;
    // Doubles an eighth apart: some tenths fall on x.25 and x.75.
    QTest::newRow("2^49 to 10^15 %") << 1e15;
}

// Utilisations are whole tenths of a per cent (n / 10): where they are written without
// QLocale, the text is QLocale's.
void TestPlainNumber::tenthsAgreeWithQLocale()
{
    QFETCH(double, top);
    QLocale plain = ru;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> tenthsUpTo(top == 1e15 ? 0x1p49 * 10 : 0, top * 10);
    int written = 0;
    constexpr int kValues = 100000;
    for (int k = 0; k < kValues; ++k) {
        const double value = std::floor(tenthsUpTo(random)) / 10;
        const QString text = tenthsText(value, ',');
        if (text == QLatin1String("(QLocale)"))
            continue;
        ++written;
        if (text != plain.toString(value, 'f', 1))
            QFAIL(qPrintable(QStringLiteral("%1: plain %2, QLocale %3")
                                 .arg(value, 0, 'g', 17)
                                 .arg(text, plain.toString(value, 'f', 1))));
    }
    QVERIFY2(written > kValues / 2, qPrintable(QString::number(written)));
}

QTEST_GUILESS_MAIN(TestPlainNumber)
#include "test_plainnumber.moc"
