// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/expr/evaluatorarithmetic.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelsa
{

namespace
{

EvaluatorStep finiteOrOverflow(double value)
{
    // Operands on the stack are always finite, so a non-finite result is an overflow or
    // an invalid operation; both are error 6.
    if (!std::isfinite(value))
        return { 0.0, evaluatorError::overflow };
    return { value, 0 };
}

// Rounds to the nearest integer, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4.
double roundHalfEven(double x)
{
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return std::round(x);
}

bool fitsInt32(double x)
{
    return x >= static_cast<double>(std::numeric_limits<std::int32_t>::min())
        && x <= static_cast<double>(std::numeric_limits<std::int32_t>::max());
}

EvaluatorStep remainder(double a, double b)
{
    const double ra = roundHalfEven(a);
    const double rb = roundHalfEven(b);
    if (!fitsInt32(ra) || !fitsInt32(rb))
        return { 0.0, evaluatorError::overflow };
    if (rb == 0.0)
        return { 0.0, evaluatorError::divisionByZero };
    // 64-bit so that -2147483648 % -1 cannot trap; C++ "%" keeps the sign of the dividend.
    const auto ia = static_cast<std::int64_t>(ra);
    const auto ib = static_cast<std::int64_t>(rb);
    return { static_cast<double>(ia % ib), 0 };
}

EvaluatorStep power(double a, double b)
{
    if (a < 0.0 && b != std::trunc(b))
        return { 0.0, evaluatorError::invalidArgument };
    // 0 raised to a negative power is infinite and reported as an overflow, too.
    return finiteOrOverflow(std::pow(a, b));
}

EvaluatorStep divide(double a, double b)
{
    if (b == 0.0)
        return { 0.0, a == 0.0 ? evaluatorError::overflow : evaluatorError::divisionByZero };
    return finiteOrOverflow(a / b);
}

} // namespace

QStringView evaluatorErrorDescription(int number)
{
    switch (number) {
    case evaluatorError::invalidArgument:
        return u"Invalid procedure call or argument";
    case evaluatorError::overflow:
        return u"Overflow";
    case evaluatorError::divisionByZero:
        return u"Division by zero";
    case evaluatorError::typeMismatch:
        return u"Type mismatch";
    case evaluatorError::outOfStackSpace:
        return u"Out of stack space";
    default:
        return u"Application-defined or object-defined error";
    }
}

bool isOperatorToken(QStringView token)
{
    return token.size() == 1 && QStringView(u"+-*/^%").contains(token.front());
}

QStringView functionName(QStringView token)
{
    static constexpr QStringView names[] = { u"sin", u"cos", u"tan", u"atn", u"exp", u"log" };
    for (const QStringView name : names) {
        if (token == name)
            return name;
    }
    return {};
}

EvaluatorStep applyOperator(QChar op, double a, double b)
{
    switch (op.unicode()) {
    case u'+':
        return finiteOrOverflow(a + b);
    case u'-':
        return finiteOrOverflow(a - b);
    case u'*':
        return finiteOrOverflow(a * b);
    case u'/':
        return divide(a, b);
    case u'^':
        return power(a, b);
    case u'%':
        return remainder(a, b);
    default:
        return { 0.0, evaluatorError::typeMismatch };
    }
}

EvaluatorStep applyFunction(QStringView name, double x)
{
    if (name == u"sin")
        return { std::sin(x), 0 };
    if (name == u"cos")
        return { std::cos(x), 0 };
    if (name == u"tan")
        return { std::tan(x), 0 };
    if (name == u"atn")
        return { std::atan(x), 0 };
    if (name == u"exp")
        return finiteOrOverflow(std::exp(x));
    if (name == u"log") {
        if (x <= 0.0)
            return { 0.0, evaluatorError::invalidArgument };
        return { std::log(x), 0 };
    }
    return { 0.0, evaluatorError::typeMismatch };
}

} // namespace kelsa
