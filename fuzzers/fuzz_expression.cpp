// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the calculator engine: the bytes, read as UTF-8, become the expression, which
// is converted to postfix and evaluated under a Russian and an English default locale with an
// error handler that records instead of showing message boxes.
//
// Besides the sanitizers it checks what the engine promises: a finite value; only the known
// error numbers, each under the routine that meets it and with its own description; at most
// one error that stops an evaluation, and then the value 0; error 28 only from the conversion,
// with an empty postfix text; and the same value and reports on a second evaluation.
#include "fuzzcheck.h"

#include "core/expr/evaluatorarithmetic.h"
#include "core/expr/expressionengine.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{

struct Report {
    QString routine;
    int number = 0;
    QString description;
    bool operator==(const Report &) const = default;
};

// The routine that raises each error number.
QString routineOf(int number)
{
    namespace error = kelsa::evaluatorError;
    switch (number) {
    case error::invalidArgument:
    case error::overflow:
    case error::divisionByZero:
    case error::typeMismatch:
        return QStringLiteral("Evaluate");
    case error::outOfStackSpace:
        return QStringLiteral("ParseFactor");
    default:
        return QString();
    }
}

// Evaluates and checks the value against the reports the evaluation made.
double evaluateChecked(kelsa::ExpressionEngine &evaluator, QList<Report> &reports)
{
    reports.clear();
    const double value = evaluator.evaluate();
    KELSA_FUZZ_CHECK(std::isfinite(value));
    // Every error ends the evaluation: at most one report, and then the value is 0.
    KELSA_FUZZ_CHECK(reports.size() <= 1);
    for (const Report &report : reports) {
        const QString routine = routineOf(report.number);
        KELSA_FUZZ_CHECK(!routine.isEmpty());
        KELSA_FUZZ_CHECK(report.routine == routine);
        KELSA_FUZZ_CHECK(report.number != kelsa::evaluatorError::outOfStackSpace);
        KELSA_FUZZ_CHECK(
            report.description == kelsa::evaluatorErrorDescription(report.number).toString());
        KELSA_FUZZ_CHECK(value == 0.0);
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    QList<Report> reports;
    kelsa::ExpressionEngine evaluator;
    evaluator.setErrorHandler(
        [&reports](const QString &routine, int number, const QString &description) {
            reports.append({ routine, number, description });
        });
    evaluator.setExpression(text);
    KELSA_FUZZ_CHECK(evaluator.expression() == text);
    // The conversion reports nothing but a nesting too deep, and then leaves no postfix text.
    KELSA_FUZZ_CHECK(reports.size() <= 1);
    if (!reports.isEmpty()) {
        KELSA_FUZZ_CHECK(reports.front().number == kelsa::evaluatorError::outOfStackSpace);
        KELSA_FUZZ_CHECK(reports.front().routine == QStringLiteral("ParseFactor"));
        KELSA_FUZZ_CHECK(evaluator.postfix().isEmpty());
    }
    KELSA_FUZZ_CHECK(evaluator.postfix().isEmpty() || evaluator.postfix().endsWith(u' '));

    for (const QLocale &locale :
        { QLocale(QLocale::Russian, QLocale::Russia), QLocale(QLocale::English) }) {
        QLocale::setDefault(locale);
        QList<Report> first;
        const double value = evaluateChecked(evaluator, reports);
        first = reports;
        // The same postfix text gives the same value and the same reports again; compared bit
        // for bit, so that -0 and 0 are told apart.
        const double again = evaluateChecked(evaluator, reports);
        KELSA_FUZZ_CHECK(std::memcmp(&value, &again, sizeof value) == 0);
        KELSA_FUZZ_CHECK(reports == first);
    }
    QLocale::setDefault(QLocale::c());
    return 0;
}
