// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/breakdown.h"

#include "core/calc/momentlabel.h"
#include "core/calc/termformulas.h"

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

QString momentInBothUnits(double kgfMetres, const QLocale &locale)
{
    if (!std::isfinite(kgfMetres))
        return noFiniteResultText();
    return QStringLiteral("%1 кгс·м = %2 кН·м")
        .arg(hundredths(kgfMetres, locale),
            hundredths(kgfMetres * kKilonewtonMetresPerKgfMetre, locale));
}

QString emptyAsZeroCaptions(const MomentOutcome &outcome)
{
    QStringList empty;
    for (const InputField field : outcome.emptyAsZero)
        empty << QString::fromUtf8(fieldInfo(field).caption);
    return empty.join(QStringLiteral(", "));
}

QString momentBreakdown(
    const MomentOutcome &outcome, const Calculation &from, const QLocale &locale)
{
    const MomentResult &result = outcome.result;
    const MomentExplanation explanation = explainMoment(outcome, from, locale);
    QStringList lines;
    lines << momentHeading(outcome.moment, from.trackSection());
    for (const TermLine &term : explanation.terms)
        lines << QStringLiteral("%1 = %2 кгс·м — %3")
                     .arg(term.symbol, hundredths(term.value, locale), term.name);
    const QString sum = QStringLiteral("М = ") + sumInSymbols(explanation.terms);
    lines << (std::isfinite(result.moment)
            ? QStringLiteral("%1 = %2").arg(sum, momentInBothUnits(result.moment, locale))
            : QStringLiteral("%1: %2").arg(sum, noFiniteResultText()));
    const QString empty = emptyAsZeroCaptions(outcome);
    if (!empty.isEmpty())
        lines << QStringLiteral("пустые поля считаны как 0: %1").arg(empty);
    return lines.join(QLatin1Char('\n'));
}

QStringList changedInputs(Moment moment, const Calculation &computedFrom, const Calculation &now)
{
    const MomentInfo &info = momentInfo(moment);
    QStringList changed;
    for (const InputField field : fieldsRead(moment))
        if (computedFrom.text(field) != now.text(field))
            changed << QString::fromUtf8(fieldInfo(field).caption);
    std::vector<OptionGroup> groups;
    if (!info.transition)
        groups.push_back(OptionGroup::TrackSection);
    if (info.condition == DesignCondition::IceWithWind)
        groups.insert(groups.end(),
            { OptionGroup::IceThickness, OptionGroup::IceWindForRnv, OptionGroup::IceWindForPkv });
    else
        groups.push_back(OptionGroup::MaximumWind);
    for (const OptionGroup group : groups)
        if (computedFrom.option(group) != now.option(group))
            changed << QString::fromUtf8(optionGroupInfo(group).caption);
    return changed;
}

QString changedInputsNote(const QStringList &changed)
{
    return QStringLiteral("Исходные данные изменены после расчета: %1")
        .arg(changed.join(QStringLiteral(", ")));
}

} // namespace kelsa
