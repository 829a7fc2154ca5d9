// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

namespace kelsa
{

// One step of the calculator's stack arithmetic: its value, or the number of the run-time
// error it raises (0 when it succeeds).
struct EvaluatorStep {
    double value = 0.0;
    int error = 0;
};

// Error numbers of the calculator, as its message boxes show them.
namespace evaluatorError
{
inline constexpr int invalidArgument = 5; // "Invalid procedure call or argument"
inline constexpr int overflow = 6;
inline constexpr int divisionByZero = 11;
inline constexpr int typeMismatch = 13; // an operand that is not a number
inline constexpr int outOfStackSpace = 28; // nesting too deep
} // namespace evaluatorError

// The description shown after the error number.
QStringView evaluatorErrorDescription(int number);

// True for the binary operator tokens "+", "-", "*", "/", "^", "%".
bool isOperatorToken(QStringView token);
// The function names "sin", "cos", "tan", "atn", "exp", "log": the name the token spells,
// as a view of static text, or an empty view for any other token.
QStringView functionName(QStringView token);
inline bool isFunctionName(QStringView token)
{
    return !functionName(token).isEmpty();
}

// a <op> b. Operands are finite. "%" rounds both operands half to even to 32-bit integers
// and keeps the sign of a; a non-finite result of "+", "-", "*", "/" is an overflow (6),
// except 0/0 (6) and x/0 (11).
EvaluatorStep applyOperator(QChar op, double a, double b);
// name(x) in radians; "log" of x <= 0 is error 5, an "exp" beyond the double range error 6.
EvaluatorStep applyFunction(QStringView name, double x);

} // namespace kelsa
