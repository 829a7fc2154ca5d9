// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator engine: postfix texts, values, error reports, locales, nesting and
// robustness against arbitrary input.
#include "support/errorrecorder.h"

#include "core/expr/expressionengine.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <cmath>

namespace
{

const QLocale en(QLocale::English, QLocale::UnitedStates);
const QLocale ru(QLocale::Russian, QLocale::Russia);

const double storedPi = 3.14159265358979;
const double storedE = 2.718282;

QString repeated(const QString &piece, int times)
{
    return piece.repeated(times);
}

// "1+(1+(1+ ... 1))" with `ones` ones.
QString onesNestedRight(int ones)
{
    return repeated(QStringLiteral("1+("), ones - 1) + QStringLiteral("1")
        + repeated(QStringLiteral(")"), ones - 1);
}

} // namespace

class TestExpressionEvaluator : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(en); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void postfix_data();
    void postfix();
    void value_data();
    void value();
    void storedConstantsExactly_data();
    void storedConstantsExactly();
    void errors_data();
    void errors();
    void newEvaluatorGivesZeroSilently();
    void newExpressionReplacesPostfix();
    void leftoversOfFailedEvaluationDiscarded();
    void manyPendingValues_data();
    void manyPendingValues();
    void nesting_data();
    void nesting();
    void tooDeepStopsOnce_data();
    void tooDeepStopsOnce();
    void longInputs_data();
    void longInputs();
    void randomInputs();
};

void TestExpressionEvaluator::postfix_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("postfix");

    QTest::newRow("precedence") << "2+3*4"
                                << "2 3 4 * + ";
    QTest::newRow("sign on first factor") << "-2*3"
                                          << "-2 3 * ";
    QTest::newRow("sign after operator") << "2*-3"
                                         << "2 -3 * ";
    QTest::newRow("function of group") << "sin(pi/2)"
                                       << "pi 2 / sin ";
    QTest::newRow("negated function") << "-cos(0)"
                                      << "0 -cos ";
    QTest::newRow("missing operand") << "2+"
                                     << "2  + ";
    QTest::newRow("re-spaced and lower-cased") << "2*SIN( Pi/6 )+3"
                                               << "2 pi 6 / sin * 3 + ";
    QTest::newRow("rest after ) ignored") << "2)+3"
                                          << "2 ";
    QTest::newRow("second operand ignored") << "2 3"
                                            << "2 ";
    QTest::newRow("missing ) tolerated") << "(2+3"
                                         << "2 3 + ";
    QTest::newRow("power left to right") << "2^3^2"
                                         << "2 3 ^ 2 ^ ";
    QTest::newRow("power above times") << "2*3^2"
                                       << "2 3 2 ^ * ";
    QTest::newRow("power of a group") << "(1+1)^2*3"
                                      << "1 1 + 2 ^ 3 * ";
    QTest::newRow("function takes a factor") << "sin x^2"
                                             << "x sin 2 ^ ";
    QTest::newRow("function of signed operand") << "sin -x"
                                                << "-x sin ";
    QTest::newRow("negated sum") << "-(2+3)"
                                 << "2 3 + -1 * ";
    QTest::newRow("negated product") << "-(2*3)"
                                     << "2 3 * -1 * ";
    QTest::newRow("negated group in function") << "-sin(-(1))"
                                               << "1 -1 * -sin ";
    QTest::newRow("plus sign dropped") << "+(2)"
                                       << "2 ";
    QTest::newRow("doubled sign") << "--3"
                                  << "-- ";
    QTest::newRow("empty") << ""
                           << " ";
    QTest::newRow("lone plus") << "+"
                               << " ";
    QTest::newRow("lone minus") << "-"
                                << "- ";
    QTest::newRow("lone times") << "*"
                                << "* ";
    QTest::newRow("empty group") << "()"
                                 << ") ";
    QTest::newRow("exponent split at minus") << "1e-5"
                                             << "1e 5 - ";
    QTest::newRow("exponent") << "1E5"
                              << "1e5 ";
    QTest::newRow("spaces") << "  7 %   3  "
                            << "7 3 % ";
    QTest::newRow("comma stays in number") << "2,5*2"
                                           << "2,5 2 * ";
    QTest::newRow("tab is a token character") << "A\tB"
                                              << "a\tb ";
}

void TestExpressionEvaluator::postfix()
{
    QFETCH(QString, expression);
    QFETCH(QString, postfix);
    kelsa::ExpressionEngine evaluator;
    evaluator.setExpression(expression);
    QCOMPARE(evaluator.expression(), expression);
    QCOMPARE(evaluator.postfix(), postfix);
}

void TestExpressionEvaluator::value_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");

    QTest::newRow("precedence") << en << "2+3*4" << 14.0;
    QTest::newRow("group") << en << "(2+3)*4" << 20.0;
    QTest::newRow("minus left to right") << en << "10-4-3" << 3.0;
    QTest::newRow("division left to right") << en << "100/10/5" << 2.0;
    QTest::newRow("power left to right") << en << "2^3^2" << 64.0;
    QTest::newRow("power before times") << en << "2*3^2" << 18.0;
    QTest::newRow("wind pressure") << en << "0.6*30^2" << 540.0;
    QTest::newRow("power before division") << en << "36/3^2" << 4.0;
    QTest::newRow("power before mod") << en << "10%3^2" << 1.0;
    QTest::newRow("signed exponent") << en << "2^-1" << 0.5;
    QTest::newRow("function before power")
        << en << "sin pi^2" << std::sin(3.14159265358979) * std::sin(3.14159265358979);
    QTest::newRow("sign belongs to the 2") << en << "-2^2" << 4.0;
    QTest::newRow("times negative") << en << "2*-3" << -6.0;
    QTest::newRow("negated sum") << en << "-(2+3)" << -5.0;
    QTest::newRow("negated product") << en << "-(2*3)" << -6.0;
    QTest::newRow("negated group squared") << en << "-(2)^2" << 4.0;
    QTest::newRow("negated group in function") << en << "-sin(-(1))" << std::sin(1.0);
    QTest::newRow("doubly negated group") << en << "-(-(7))" << 7.0;
    QTest::newRow("names case-insensitive") << en << "SIN(PI/2)" << 1.0;
    QTest::newRow("sin of stored pi") << en << "sin pi" << std::sin(storedPi);
    QTest::newRow("negated pi") << en << "-pi" << -storedPi;
    QTest::newRow("re-spaced") << en << "2*SIN( Pi/6 )+3" << 2 * std::sin(storedPi / 6) + 3;
    QTest::newRow("exp") << en << "exp(1)" << std::exp(1.0);
    QTest::newRow("log of stored e") << en << "log e" << std::log(storedE);
    QTest::newRow("atn") << en << "4*atn 1" << 4 * std::atan(1.0);
    QTest::newRow("tan") << en << "tan(1)" << std::tan(1.0);
    QTest::newRow("cos") << en << "cos 0" << 1.0;
    QTest::newRow("mod") << en << "7%3" << 1.0;
    QTest::newRow("mod negative dividend") << en << "-7%3" << -1.0;
    QTest::newRow("mod negative divisor") << en << "7%-3" << 1.0;
    QTest::newRow("mod 2.5 rounds to 2") << en << "2.5%2" << 0.0;
    QTest::newRow("mod 3.5 rounds to 4") << en << "3.5%2" << 0.0;
    QTest::newRow("mod -3.5 rounds to -4") << en << "-3.5%3" << -1.0;
    QTest::newRow("mod 4.6 rounds to 5") << en << "4.6%3" << 2.0;
    QTest::newRow("mod largest long") << en << "2147483647.4%2" << 1.0;
    QTest::newRow("mod smallest long by -1") << en << "-2147483648%-1" << 0.0;
    QTest::newRow("negative base integer power") << en << "(-2)^3" << -8.0;
    QTest::newRow("missing ) tolerated") << en << "(2+3" << 5.0;
    QTest::newRow("rest after ) ignored") << en << "2)+3" << 2.0;
    QTest::newRow("second operand ignored") << en << "2 3" << 2.0;
    QTest::newRow("missing right operand of +") << en << "2+" << 2.0;
    QTest::newRow("missing right operand of -") << en << "2-" << -2.0;
    QTest::newRow("missing right operand of /") << en << "2/" << 0.0;
    QTest::newRow("lone times") << en << "*" << 0.0;
    QTest::newRow("lone minus") << en << "-" << 0.0;
    QTest::newRow("function without argument") << en << "sin" << 0.0;
    QTest::newRow("exponent") << en << "1e5" << 100000.0;
    QTest::newRow("underflow is no error") << en << "1/1e300/1e300" << 0.0;
    QTest::newRow("en point") << en << "2.5*2" << 5.0;
    QTest::newRow("ru comma") << ru << "2,5*2" << 5.0;
    QTest::newRow("ru exponent") << ru << "1,5E2" << 150.0;
    QTest::newRow("ru mod") << ru << "2,5%2" << 0.0;
}

void TestExpressionEvaluator::value()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expression);
    QFETCH(double, value);
    QLocale::setDefault(locale);
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    evaluator.setExpression(expression);
    QCOMPARE(evaluator.evaluate(), value);
    QCOMPARE(evaluator.evaluate(), value);
    QCOMPARE(recorder.reports.size(), 0);
}

void TestExpressionEvaluator::storedConstantsExactly_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");
    QTest::newRow("pi") << "pi" << storedPi;
    QTest::newRow("e") << "E" << storedE;
    QTest::newRow("-e") << "-e" << -storedE;
}

void TestExpressionEvaluator::storedConstantsExactly()
{
    QFETCH(QString, expression);
    QFETCH(double, value);
    kelsa::ExpressionEngine evaluator;
    evaluator.setExpression(expression);
    // Bit for bit: the stored constants, not the true pi and e.
    QVERIFY(evaluator.evaluate() == value);
}

void TestExpressionEvaluator::errors_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("number");

    QTest::newRow("unknown word") << en << "x+1" << 13;
    QTest::newRow("parenthesis as operand") << en << "()" << 13;
    QTest::newRow("doubled sign") << en << "--3" << 13;
    QTest::newRow("empty") << en << "" << 13;
    QTest::newRow("lone plus") << en << "+" << 13;
    QTest::newRow("exponent with minus") << en << "1e-5" << 13;
    QTest::newRow("en comma") << en << "3,5" << 13;
    QTest::newRow("ru point") << ru << "3.5" << 13;
    QTest::newRow("grouping") << en << "1,000" << 13;
    QTest::newRow("inf is no number") << en << "inf" << 13;
    QTest::newRow("line break after name") << en << "2*pi\n" << 13;
    QTest::newRow("divide by zero") << en << "1/0" << 11;
    QTest::newRow("mod by zero") << en << "5%0.4" << 11;
    QTest::newRow("zero by zero") << en << "0/0" << 6;
    QTest::newRow("sum overflow") << en << "1e308+1e308" << 6;
    QTest::newRow("difference overflow") << en << "-1e308-1e308" << 6;
    QTest::newRow("product overflow") << en << "1e308*10" << 6;
    QTest::newRow("quotient overflow") << en << "1e308/(1/1e10)" << 6;
    QTest::newRow("exp overflow") << en << "exp(1000)" << 6;
    QTest::newRow("power overflow") << en << "10^400" << 6;
    QTest::newRow("zero to negative power") << en << "0^-1" << 6;
    QTest::newRow("mod dividend beyond long") << en << "2147483647.5%2" << 6;
    QTest::newRow("mod divisor beyond long") << en << "2%-2147483649" << 6;
    QTest::newRow("log zero") << en << "log(0)" << 5;
    QTest::newRow("log negative") << en << "log(-1)" << 5;
    QTest::newRow("negative base fractional power") << en << "(-8)^(1/3)" << 5;
    QTest::newRow("stops at first error") << en << "1/0+x" << 11;
    QTest::newRow("word before division by zero") << en << "x+1/0" << 13;
    QTest::newRow("error inside function") << en << "sin(1/0)" << 11;
}

void TestExpressionEvaluator::errors()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expression);
    QFETCH(int, number);
    QLocale::setDefault(locale);
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    evaluator.setExpression(expression);
    QCOMPARE(evaluator.evaluate(), 0.0);
    QCOMPARE(recorder.reports.size(), 1);
    QCOMPARE(recorder.reports.front().routine, QStringLiteral("Evaluate"));
    QCOMPARE(recorder.reports.front().number, number);
    QVERIFY(!recorder.reports.front().description.isEmpty());
}

void TestExpressionEvaluator::newEvaluatorGivesZeroSilently()
{
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    QCOMPARE(evaluator.evaluate(), 0.0);
    QVERIFY(evaluator.postfix().isEmpty());
    QVERIFY(recorder.reports.isEmpty());
}

void TestExpressionEvaluator::newExpressionReplacesPostfix()
{
    kelsa::ExpressionEngine evaluator;
    evaluator.setExpression(QStringLiteral("2+3"));
    evaluator.setExpression(QStringLiteral("4*5"));
    QCOMPARE(evaluator.postfix(), QStringLiteral("4 5 * "));
    QCOMPARE(evaluator.evaluate(), 20.0);
    QCOMPARE(evaluator.evaluate(), 20.0);
}

void TestExpressionEvaluator::leftoversOfFailedEvaluationDiscarded()
{
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    evaluator.setExpression(QStringLiteral("1+(2/0)")); // stops with 1 on the stack
    QCOMPARE(evaluator.evaluate(), 0.0);
    evaluator.setExpression(QStringLiteral("2+")); // 0+2 only on an empty stack
    QCOMPARE(evaluator.evaluate(), 2.0);
    QCOMPARE(recorder.reports.size(), 1);
}

void TestExpressionEvaluator::manyPendingValues_data()
{
    QTest::addColumn<int>("ones");
    QTest::newRow("201") << 201;
    QTest::newRow("202") << 202;
    QTest::newRow("2999, one below the nesting limit") << 2999;
}

// The operand stack grows as needed: every pending value is kept and no error is raised.
void TestExpressionEvaluator::manyPendingValues()
{
    QFETCH(int, ones);
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    evaluator.setExpression(onesNestedRight(ones));
    QCOMPARE(evaluator.evaluate(), double(ones));
    QVERIFY(recorder.reports.isEmpty());
}

void TestExpressionEvaluator::nesting_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");

    const int limit = kelsa::ExpressionEngine::maxNestingDepth;
    QTest::newRow("1000 groups") << repeated("(", 1000) + "7" + repeated(")", 1000) << 7.0;
    QTest::newRow("1000 negated groups") << repeated("-(", 1000) + "7" + repeated(")", 1000) << 7.0;
    QTest::newRow("1000 sums nested left")
        << repeated("(", 999) + "1" + repeated("+1)", 999) << 1000.0;
    double arctangents = 1.0;
    for (int i = 0; i < 1000; ++i)
        arctangents = std::atan(arctangents);
    QTest::newRow("1000 functions with groups")
        << repeated("atn(", 1000) + "1" + repeated(")", 1000) << arctangents;
    QTest::newRow("1000 functions without groups") << repeated("atn ", 1000) + "1" << arctangents;
    QTest::newRow("groups up to the limit")
        << repeated("(", limit) + "7" + repeated(")", limit) << 7.0;
    QTest::newRow("unclosed groups up to the limit") << repeated("(", limit) + "7" << 7.0;
}

void TestExpressionEvaluator::nesting()
{
    QFETCH(QString, expression);
    QFETCH(double, value);
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    evaluator.setExpression(expression);
    QCOMPARE(evaluator.evaluate(), value);
    QVERIFY(recorder.reports.isEmpty());
}

void TestExpressionEvaluator::tooDeepStopsOnce_data()
{
    QTest::addColumn<QString>("expression");

    const int over = kelsa::ExpressionEngine::maxNestingDepth + 1;
    QTest::newRow("groups") << repeated("(", over) + "7" + repeated(")", over);
    QTest::newRow("functions") << repeated("sin ", over) + "1";
    QTest::newRow("functions with groups") << repeated("sin(", over / 2 + 1) + "1";
    QTest::newRow("sums nested right") << onesNestedRight(over + 1);
    QTest::newRow("two deep operands") << repeated("(", over) + "1" + repeated(")", over) + "+"
            + repeated("(", over) + "1" + repeated(")", over);
    QTest::newRow("100000 open parentheses") << repeated("(", 100000);
}

void TestExpressionEvaluator::tooDeepStopsOnce()
{
    QFETCH(QString, expression);
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    evaluator.setExpression(expression);
    QCOMPARE(recorder.reports.size(), 1);
    QCOMPARE(recorder.reports.front().routine, QStringLiteral("ParseFactor"));
    QCOMPARE(recorder.reports.front().number, 28);
    QCOMPARE(recorder.reports.front().description, QStringLiteral("Out of stack space"));
    QCOMPARE(evaluator.evaluate(), 0.0);
    QCOMPARE(recorder.reports.size(), 1);
}

void TestExpressionEvaluator::longInputs_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("errors");

    const int n = 100000;
    QTest::newRow("sum") << repeated("+1", n / 2) << double(n) / 2 << 0;
    QTest::newRow("mixed operators") << "1" + repeated("*2/2+1-1", n / 8) << 1.0 << 0;
    QTest::newRow("spaces") << QString(n, u' ') + "5" << 5.0 << 0;
    QTest::newRow("minus signs") << QString(n, u'-') << 0.0 << 1;
    QTest::newRow("closing parentheses") << QString(n, u')') << 0.0 << 1;
    QTest::newRow("one long word") << QString(n, u'x') << 0.0 << 1;
    QTest::newRow("many operands") << repeated("1 ", n / 2) << 1.0 << 0;
    QTest::newRow("long number") << "0." + QString(n, u'1') << 0.111111111111111 << 0;
}

void TestExpressionEvaluator::longInputs()
{
    QFETCH(QString, expression);
    QFETCH(double, value);
    QFETCH(int, errors);
    ErrorRecorder recorder;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(recorder.handler());
    QElapsedTimer timer;
    timer.start();
    evaluator.setExpression(expression);
    QCOMPARE(evaluator.evaluate(), value);
    // A quadratic cost would take minutes at this length; linear takes milliseconds.
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(recorder.reports.size(), errors);
}

// Thousands of random strings over the calculator's alphabet: every evaluation ends, and
// every failure is reported through the handler under its routine's name.
void TestExpressionEvaluator::randomInputs()
{
    const QStringList pieces = { "0", "1", "2", "7", "9", ".", ",", "e", "E", "+", "-", "*", "/",
        "%", "^", "(", ")", " ", "\t", "\r\n", "sin", "cos", "tan", "atn", "exp", "log", "pi", "PI",
        "x", "1e5", "1e308", "2147483648", "0.5", "((((" };
    const QHash<int, QString> routineOf = { { 5, "Evaluate" }, { 6, "Evaluate" },
        { 9, "PushResult" }, { 11, "Evaluate" }, { 13, "Evaluate" }, { 28, "ParseFactor" } };
    QRandomGenerator random(20240611);
    for (int round = 0; round < 5000; ++round) {
        QLocale::setDefault(round % 2 ? ru : en);
        const int length = round < 4950 ? int(random.bounded(40)) : int(random.bounded(20000));
        QString expression;
        for (int i = 0; i < length; ++i)
            expression += pieces.at(int(random.bounded(qsizetype(pieces.size()))));

        ErrorRecorder recorder;
        kelsa::ExpressionEngine evaluator;
        evaluator.setErrorHandler(recorder.handler());
        evaluator.setExpression(expression);
        const double first = evaluator.evaluate();
        const QString context = QString::number(round) + ": " + expression.left(200);

        QVERIFY2(std::isfinite(first), qPrintable(context));
        QVERIFY2(evaluator.postfix().isEmpty() || evaluator.postfix().endsWith(u' '),
            qPrintable(context));
        int stopping = 0;
        for (const ErrorRecorder::Report &report : recorder.reports) {
            QVERIFY2(routineOf.contains(report.number), qPrintable(context));
            QCOMPARE(report.routine, routineOf.value(report.number));
            stopping += report.number == 9 ? 0 : 1;
        }
        // At most one error stops an expression, and a stopped one is worth 0.
        QVERIFY2(stopping <= 1, qPrintable(context));
        if (stopping == 1)
            QVERIFY2(first == 0.0, qPrintable(context));
        // The same postfix text gives the same value and the same reports again.
        const qsizetype reportsOfFirst = recorder.reports.size();
        const double second = evaluator.evaluate();
        QVERIFY2(second == first || (std::isnan(second) && std::isnan(first)), qPrintable(context));
        const qsizetype reportsOfSecond = recorder.reports.size() - reportsOfFirst;
        const bool conversionError = reportsOfFirst > 0 && recorder.reports.front().number == 28;
        QCOMPARE(reportsOfSecond, reportsOfFirst - (conversionError ? 1 : 0));
    }
}

QTEST_GUILESS_MAIN(TestExpressionEvaluator)
#include "test_expressionevaluator.moc"
