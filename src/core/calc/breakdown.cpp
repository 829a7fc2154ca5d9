// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/breakdown.h"

#include "core/numbers/numbertext.h"

#include <QStringList>

#include <cmath>

namespace kelsa
{

namespace
{

QString sectionName(TrackSection section)
{
    switch (section) {
    case TrackSection::Straight:
        return QStringLiteral("прямая");
    case TrackSection::OuterCurve:
        return QStringLiteral("внешняя сторона кривой");
    case TrackSection::InnerCurve:
        return QStringLiteral("внутренняя сторона кривой");
    }
    return {};
}

QString signedNumber(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return QStringLiteral("нет конечного значения");
    const QString text = writeNumber(value, locale);
    return value > 0 ? QLatin1Char('+') + text : text;
}

} // namespace

QString noFiniteResultText()
{
    return QStringLiteral("нет конечного результата");
}

QString momentHeading(Moment moment, TrackSection section)
{
    const MomentInfo &info = momentInfo(moment);
    const bool ice = info.condition == DesignCondition::IceWithWind;
    if (!info.transition)
        return QStringLiteral("%1, %2").arg(
            ice ? QStringLiteral("Мо вг") : QStringLiteral("Мо в max"), sectionName(section));
    return QStringLiteral("Переходная опора, %1, %2%3")
        .arg(ice ? QStringLiteral("гололед с ветром") : QStringLiteral("максимальный ветер"),
            info.direction == WindDirection::SupportToTrack
                ? QStringLiteral("ветер от опоры на путь")
                : QStringLiteral("ветер от пути на опору"),
            info.level == SupportLevel::Base ? QString() : QStringLiteral(", пята"));
}

QString momentBreakdown(const MomentOutcome &outcome, TrackSection section, const QLocale &locale)
{
    const MomentResult &result = outcome.result;
    QStringList lines;
    lines << momentHeading(outcome.moment, section);
    for (const MomentTerm &term : result.terms)
        lines << QStringLiteral("%1 = %2").arg(
            QString::fromLatin1(term.name), signedNumber(term.value, locale));
    lines << (std::isfinite(result.moment)
            ? QStringLiteral("M = %1 кгс·м").arg(writeNumber(result.moment, locale))
            : QStringLiteral("M: %1").arg(noFiniteResultText()));
    return lines.join(QLatin1Char('\n'));
}

} // namespace kelsa
