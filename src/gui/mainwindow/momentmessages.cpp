// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/momentmessages.h"

#include <QStringList>

namespace kelsa
{

namespace
{

QString caption(InputField field)
{
    return QString::fromUtf8(fieldInfo(field).caption);
}

// A field's text as a message repeats it: at most its first 40 characters, so that a pasted
// page neither fills the screen nor takes seconds to lay out.
QString echoed(const QString &text)
{
    constexpr qsizetype kLongest = 40;
    return text.size() <= kLongest ? text : text.left(kLongest) + QChar(0x2026);
}

QString badFieldsMessage(const std::vector<FieldProblem> &problems)
{
    QStringList lines;
    for (const FieldProblem &problem : problems)
        lines << (problem.empty
                ? QStringLiteral("Поле \"%1\" не заполнено").arg(caption(problem.field))
                : QStringLiteral("Поле \"%1\": \"%2\" не является числом")
                      .arg(caption(problem.field), echoed(problem.text)));
    return lines.join(QLatin1Char('\n'));
}

// Without Lp the transition moments of ice with wind, and the first one of maximum wind, ask
// for "Lр" (a Latin L and a Cyrillic р); the other three report a missing span.
QString lpMissingMessage(Moment moment)
{
    switch (moment) {
    case Moment::WindToSupport:
    case Moment::WindToTrackHeel:
    case Moment::WindToSupportHeel:
        return QStringLiteral("Нет длины пролета");
    default:
        return QStringLiteral("L\u0440=?");
    }
}

} // namespace

QString momentMessage(const MomentOutcome &outcome)
{
    if (!outcome.inputsAccepted())
        return badFieldsMessage(outcome.badFields);
    switch (outcome.result.outcome) {
    case MomentResult::Outcome::Value:
        return {};
    case MomentResult::Outcome::SpanMissing:
        return QStringLiteral("Нет длины пролета или десятичные");
    case MomentResult::Outcome::LpMissing:
        return lpMissingMessage(outcome.moment);
    case MomentResult::Outcome::NotFinite:
        if (!momentInfo(outcome.moment).transition)
            return {};
        return QStringLiteral("Момент не вычислен: при этих данных результат выходит за "
                              "пределы чисел (переполнение).");
    }
    return {};
}

} // namespace kelsa
