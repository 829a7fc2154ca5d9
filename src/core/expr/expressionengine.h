// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

#include <functional>
#include <vector>

// The engine of the built-in calculator: turns one line of infix arithmetic such as
// "2*sin(pi/6)+3" into postfix text ("2 pi 6 / sin * 3 + ") and computes its value.
//
// Grammar: "+" and "-" bind loosest, then "*", "/" and "%", then "^", as a spreadsheet has it;
// every level is left-associative (2*3^2 = 18, 2^3^2 = 64). A single sign, a function name
// (sin, cos, tan, atn, exp, log; radians) or a parenthesised group binds tightest (-2^2 = 4,
// 2^-1 = 0.5, sin x^2 = (sin x)^2). A missing ")" is tolerated; whatever follows the
// expression is ignored.
// Numbers are read in the user's locale; "pi" and "e" are 3.14159265358979 and 2.718282.
//
// Each run-time error is reported once to the error handler with the name of the routine
// that met it ("Evaluate", "PushResult", "ParseFactor"), its number and a description, and
// is not passed on: the error ends the evaluation and evaluate() returns 0. The operand stack
// grows as the expression needs, so no value is ever lost to it. The engine shows
// nothing itself: whoever uses it decides where the reports go.
namespace kelsa
{

class ExpressionEngine
{
public:
    using ErrorHandler
        = std::function<void(const QString &routine, int number, const QString &description)>;

    // Errors go to the handler; without one they are not reported anywhere.
    explicit ExpressionEngine(ErrorHandler handler = {});

    // Stores the infix text and converts it to postfix at once.
    void setExpression(const QString &text);
    QString expression() const;
    QString postfix() const;
    // Evaluates the postfix text of the last expression; the same value on every call.
    double evaluate();

    void setErrorHandler(ErrorHandler handler);

    // Deepest nesting of parenthesised groups and function arguments the converter follows
    // (sin(x) is two levels: the function and its group); deeper input is refused with
    // error 28 "Out of stack space". A group level costs four frames, about 350 bytes of
    // stack in an optimised build, so the deepest accepted input needs about 1 MB, well
    // within the 8 MB a program's main thread has (sanitized builds use a few times more).
    static constexpr int maxNestingDepth = 3000;

private:
    // Tokenizer: cuts sourceText into tokens at separator and whitespace characters.
    void setTokenString(const QString &text);
    bool getNextToken(QString &token, QString &separator);
    int charType() const;
    bool handleWhiteSpace();
    bool handleSeparator(QString &separator);
    bool handleToken();

    // Converter: re-spaces the expression, then parses it by recursive descent.
    void convertToPostfix();
    void parseExpression();
    void parseTerm();
    void parsePower();
    void parseFactor();
    void readNextToken();

    // Operand stack of evaluate().
    void pushResult(double value);
    bool popResult(double &value);

    void raiseError(const QString &routine, int number);

    QString m_expressionText;
    QString m_postfixText;

    QString m_sourceText;
    qsizetype m_sourceLength = 0;
    qsizetype m_position = 0; // 0-based index of the next character to read
    QChar m_currentChar;
    QString m_tokenText;
    int m_tokenState = 0; // 0 no token character yet, 1 inside a token, 2 token ended
    QString m_separatorChars;
    QString m_whiteSpaceChars;

    QString m_currentToken;
    QString m_currentSeparator;
    int m_nestingDepth = 0;
    bool m_conversionStopped = false;

    std::vector<double> m_resultStack;

    ErrorHandler m_errorHandler;
};

} // namespace kelsa
