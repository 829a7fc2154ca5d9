// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the calculator engine: evaluations per second of a typical expression, and the
// time to convert and evaluate long inputs, which must grow in proportion to their length.
#include "gui/expr/expressionevaluator.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace
{

const QString typical = QStringLiteral("2*sin(pi/6)+3.5*(4-1.25)^2/7-log(10)%3");

// Best of `runs` timings of fn, in milliseconds.
template <typename Fn> double bestMilliseconds(int runs, Fn fn)
{
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        fn();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// A flat sum of small terms, `length` characters long.
QString longSum(int length)
{
    const QString term = QStringLiteral("(2*sin(pi/6)+3.5^2/7)");
    QString text = term;
    while (text.size() + 1 + term.size() <= length)
        text += u'+' + term;
    return text.leftJustified(length, u' ');
}

// The shortest tokens: "1+1+1" up to `length` characters.
QString longOnes(int length)
{
    return u'1' + QStringLiteral("+1").repeated((length - 1) / 2);
}

// Groups nested to the left, as deep as the converter allows ("((1+1)+1)+1"), then a flat
// tail of "+1" up to `length` characters.
QString longNested(int length)
{
    const int depth = std::min(CExpressionEvaluator::maxNestingDepth, (length - 1) / 4);
    QString text = QString(depth, u'(') + u'1' + QStringLiteral("+1)").repeated(depth);
    text += QStringLiteral("+1").repeated((length - text.size()) / 2);
    return text;
}

} // namespace

int main()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    long errors = 0;
    CExpressionEvaluator evaluator;
    evaluator.setErrorHandler([&errors](const QString &, int, const QString &) { ++errors; });

    const int count = 200000;
    double sink = 0.0;
    const double both = bestMilliseconds(3, [&] {
        for (int i = 0; i < count; ++i) {
            evaluator.setExpression(typical);
            sink += evaluator.evaluate();
        }
    });
    evaluator.setExpression(typical);
    const double evaluateOnly = bestMilliseconds(3, [&] {
        for (int i = 0; i < count; ++i)
            sink += evaluator.evaluate();
    });
    std::printf("typical expression %s = %.15g\n", qPrintable(typical), evaluator.evaluate());
    std::printf("  convert and evaluate: %10.0f per second\n", count / (both / 1000.0));
    std::printf("  evaluate only:        %10.0f per second\n", count / (evaluateOnly / 1000.0));

    std::printf("\nlong inputs (convert and evaluate, best of 5)\n");
    std::printf("  %-8s %10s %12s %12s\n", "shape", "characters", "ms", "ns per char");
    const struct {
        const char *name;
        QString (*make)(int);
    } shapes[] = { { "sum", longSum }, { "ones", longOnes }, { "nested", longNested } };
    for (const auto &shape : shapes) {
        for (const int length : { 1000, 10000, 100000 }) {
            const QString text = shape.make(length);
            const double ms = bestMilliseconds(5, [&] {
                evaluator.setExpression(text);
                sink += evaluator.evaluate();
            });
            std::printf("  %-8s %10lld %12.3f %12.1f\n", shape.name,
                static_cast<long long>(text.size()), ms, ms * 1e6 / text.size());
        }
    }
    std::printf("\n(checksum %g, %ld error reports)\n", sink, errors);
    return 0;
}
