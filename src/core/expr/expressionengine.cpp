// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/expr/expressionengine.h"

#include "core/expr/evaluatorarithmetic.h"
#include "core/numbers/numbertext.h"

#include <QStringView>

#include <utility>

namespace
{

// Character classes of the tokenizer.
constexpr int whiteSpaceClass = 0;
constexpr int separatorClass = 1;

// The constants as the calculator stores them: 15 and 7 significant digits, so "pi" lies
// slightly below the true pi (sin pi is about 3.2E-15, not 0).
constexpr double storedPi = 3.14159265358979;
constexpr double storedE = 2.718282;

// A negated parenthesised group, as in -(2+3), has no sign of its own to carry: operands
// and function names take a "-" prefix, but a group ends in an operator. It is written as
// the group followed by the operand "-1" and the operator "*" ("2 3 + -1 * "): both are
// ordinary tokens, so evaluation needs no token of its own for it, and multiplying by -1
// is exact.
constexpr QStringView negatedGroupSuffix = u"-1 * ";

} // namespace

namespace kelsa
{

ExpressionEngine::ExpressionEngine(ErrorHandler handler)
    : m_whiteSpaceChars(QStringLiteral(" "))
    , m_errorHandler(std::move(handler))
{
}

void ExpressionEngine::setExpression(const QString &text)
{
    m_expressionText = text;
    convertToPostfix();
}

QString ExpressionEngine::expression() const
{
    return m_expressionText;
}

QString ExpressionEngine::postfix() const
{
    return m_postfixText;
}

void ExpressionEngine::setErrorHandler(ErrorHandler handler)
{
    m_errorHandler = std::move(handler);
}

void ExpressionEngine::raiseError(const QString &routine, int number)
{
    if (m_errorHandler)
        m_errorHandler(routine, number, evaluatorErrorDescription(number).toString());
}

// ---- Tokenizer ------------------------------------------------------------------------

void ExpressionEngine::setTokenString(const QString &text)
{
    m_sourceText = text;
    m_position = 0;
    m_sourceLength = text.size();
}

// Reads the next token and the separator that ended it. True when any character was left
// to read, even if only spaces were (then both outputs are empty).
bool ExpressionEngine::getNextToken(QString &token, QString &separator)
{
    m_tokenText.resize(0);
    separator.clear();
    m_tokenState = 0;
    const bool found = m_position < m_sourceLength;
    bool goOn = true;
    while (goOn && m_position < m_sourceLength) {
        m_currentChar = m_sourceText.at(m_position);
        switch (charType()) {
        case separatorClass:
            goOn = handleSeparator(separator);
            break;
        case whiteSpaceClass:
            goOn = handleWhiteSpace();
            break;
        default:
            goOn = handleToken();
            break;
        }
    }
    token = m_tokenText;
    return found;
}

// 1 separator, 0 whitespace, 2 token character; separators are looked up first.
int ExpressionEngine::charType() const
{
    if (m_separatorChars.contains(m_currentChar))
        return separatorClass;
    if (m_whiteSpaceChars.contains(m_currentChar))
        return whiteSpaceClass;
    return 2;
}

// Spaces are skipped; after a token they mark it as ended.
bool ExpressionEngine::handleWhiteSpace()
{
    if (m_tokenState == 1)
        m_tokenState = 2;
    ++m_position;
    return true;
}

// A separator ends the token in front of it and is consumed with it.
bool ExpressionEngine::handleSeparator(QString &separator)
{
    separator = m_currentChar;
    ++m_position;
    return false;
}

// Token characters are collected in lower case; after an ended token they start the next
// one and are left for the next call.
bool ExpressionEngine::handleToken()
{
    if (m_tokenState == 2)
        return false;
    m_tokenState = 1;
    m_tokenText += m_currentChar.toLower();
    ++m_position;
    return true;
}

// ---- Conversion to postfix ------------------------------------------------------------

// First re-spaces the expression so that every operand, name, operator and parenthesis
// stands alone ("2*SIN( Pi/6 )+3" -> "2 * sin ( pi / 6 ) + 3 "), then parses that text by
// recursive descent, splitting at spaces only. Whatever follows the expression is ignored.
// Nesting deeper than maxNestingDepth stops the conversion with error 28 and leaves the
// postfix text empty, so that evaluate() returns 0 without a further message.
void ExpressionEngine::convertToPostfix()
{
    m_separatorChars = QStringLiteral("*/+-%^()");
    m_whiteSpaceChars = QStringLiteral(" ");
    m_postfixText.clear();
    setTokenString(m_expressionText);

    QString spaced;
    spaced.reserve(2 * m_expressionText.size());
    QString token;
    QString separator;
    while (getNextToken(token, separator)) {
        if (!token.isEmpty()) {
            spaced += token;
            spaced += u' ';
        }
        if (!separator.isEmpty()) {
            spaced += separator;
            spaced += u' ';
        }
    }

    m_separatorChars.clear();
    setTokenString(spaced);
    m_postfixText.reserve(spaced.size() + 16);
    m_nestingDepth = 0;
    m_conversionStopped = false;
    readNextToken();
    parseExpression();
    if (m_conversionStopped)
        m_postfixText.clear();
}

void ExpressionEngine::readNextToken()
{
    getNextToken(m_currentToken, m_currentSeparator);
}

// expression = term { ("+" | "-") term }
void ExpressionEngine::parseExpression()
{
    parseTerm();
    while (!m_conversionStopped && (m_currentToken == u"-" || m_currentToken == u"+")) {
        const QChar op = m_currentToken.front();
        readNextToken();
        parseTerm();
        if (m_conversionStopped)
            return;
        m_postfixText += op;
        m_postfixText += u' ';
    }
}

// term = power { ("/" | "*" | "%") power }, left to right.
void ExpressionEngine::parseTerm()
{
    parsePower();
    while (!m_conversionStopped
        && (m_currentToken == u"/" || m_currentToken == u"*" || m_currentToken == u"%")) {
        const QChar op = m_currentToken.front();
        readNextToken();
        parsePower();
        if (m_conversionStopped)
            return;
        m_postfixText += op;
        m_postfixText += u' ';
    }
}

// power = factor { "^" factor }, left to right: 2^3^2 is (2^3)^2.
void ExpressionEngine::parsePower()
{
    parseFactor();
    while (!m_conversionStopped && m_currentToken == u"^") {
        readNextToken();
        parseFactor();
        if (m_conversionStopped)
            return;
        m_postfixText += u"^ ";
    }
}

// factor = [ "+" | "-" ] ( "(" expression [ ")" ] | function factor | operand )
// Only one sign is taken; a second one becomes part of the operand token ("--3" gives the
// operand "--", which is not a number). An operand is any other token, the empty one at
// the end of the text included.
void ExpressionEngine::parseFactor()
{
    bool negated = false;
    if (m_currentToken == u"+" || m_currentToken == u"-") {
        negated = m_currentToken == u"-";
        readNextToken();
    }

    const bool group = m_currentToken == u"(";
    // Kept as a view of static text: each nesting level costs stack, so frames stay small.
    const QStringView name = group ? QStringView() : functionName(m_currentToken);
    if (group || !name.isEmpty()) {
        if (m_nestingDepth >= maxNestingDepth) {
            // Stop well before the native stack runs out, and stop the whole conversion.
            m_conversionStopped = true;
            raiseError(QStringLiteral("ParseFactor"), evaluatorError::outOfStackSpace);
            return;
        }
        ++m_nestingDepth;
        readNextToken();
        if (group) {
            parseExpression();
            if (m_conversionStopped)
                return;
            if (m_currentToken == u")")
                readNextToken();
            if (negated)
                m_postfixText += negatedGroupSuffix;
        } else {
            parseFactor();
            if (m_conversionStopped)
                return;
            if (negated)
                m_postfixText += u'-';
            m_postfixText += name;
            m_postfixText += u' ';
        }
        --m_nestingDepth;
        return;
    }

    if (negated)
        m_postfixText += u'-';
    m_postfixText += m_currentToken;
    m_postfixText += u' ';
    readNextToken();
}

// ---- Evaluation -------------------------------------------------------------------------

// Reads the postfix text token by token, splitting at spaces only. A missing operand pops
// as 0, so "2+" gives 0+2. Leftovers of an evaluation stopped by an error are discarded at
// the start of the next one.
double ExpressionEngine::evaluate()
{
    const QString routine = QStringLiteral("Evaluate");
    m_separatorChars.clear();
    m_whiteSpaceChars = QStringLiteral(" ");
    setTokenString(m_postfixText);
    m_resultStack.clear();

    QString token;
    QString separator;
    while (getNextToken(token, separator)) {
        if (isOperatorToken(token)) {
            double b = 0.0;
            double a = 0.0;
            popResult(b);
            popResult(a);
            const EvaluatorStep step = applyOperator(token.front(), a, b);
            if (step.error != 0) {
                raiseError(routine, step.error);
                return 0.0;
            }
            pushResult(step.value);
            continue;
        }

        QStringView name(token);
        const bool negate = name.startsWith(u'-');
        if (negate)
            name = name.mid(1);

        double value = 0.0;
        if (isFunctionName(name)) {
            double x = 0.0;
            popResult(x);
            const EvaluatorStep step = applyFunction(name, x);
            if (step.error != 0) {
                raiseError(routine, step.error);
                return 0.0;
            }
            value = step.value;
        } else if (name == u"pi") {
            value = storedPi;
        } else if (name == u"e") {
            value = storedE;
        } else {
            const std::optional<double> number = readNumber(name.toString());
            if (!number) {
                raiseError(routine, evaluatorError::typeMismatch);
                return 0.0;
            }
            value = *number;
        }
        pushResult(negate ? -value : value);
    }

    double result = 0.0;
    popResult(result);
    return result;
}

void ExpressionEngine::pushResult(double value)
{
    m_resultStack.push_back(value);
}

// False and 0 on an empty stack, without an error: a missing operand counts as 0.
bool ExpressionEngine::popResult(double &value)
{
    value = 0.0;
    if (m_resultStack.empty())
        return false;
    value = m_resultStack.back();
    m_resultStack.pop_back();
    return true;
}

} // namespace kelsa
