// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/schedule/rowreasons.h"

#include "core/batch/batchcolumns.h"
#include "core/calc/breakdown.h"
#include "core/check/checktext.h"

#include <algorithm>
#include <vector>

namespace kelsa
{

namespace
{

QString fieldCaption(InputField field)
{
    return columnCaption(QString::fromLatin1(fieldInfo(field).name));
}

} // namespace

QString momentReason(const MomentOutcome &outcome)
{
    if (!outcome.inputsAccepted()) {
        QStringList fields;
        for (const FieldProblem &problem : outcome.badFields)
            fields << (problem.empty
                    ? QStringLiteral("не заполнено поле «%1»").arg(fieldCaption(problem.field))
                    : QStringLiteral("не число в поле «%1»: «%2»")
                          .arg(fieldCaption(problem.field), problem.text));
        return fields.join(QStringLiteral(", "));
    }
    switch (outcome.result.outcome) {
    case MomentResult::Outcome::Value:
        return {};
    case MomentResult::Outcome::SpanMissing:
        return QStringLiteral("нет длины пролета");
    case MomentResult::Outcome::LpMissing:
        return QStringLiteral("нет расстояния от переходной до анкерной опоры");
    case MomentResult::Outcome::NotFinite:
        return momentInfo(outcome.moment).transition
            ? QStringLiteral("переполнение: результат выходит за пределы чисел")
            : noFiniteResultText();
    }
    return {};
}

QStringList momentReasons(std::span<const MomentOutcome> outcomes)
{
    // Reasons in the order their first moment comes, each with its moments.
    std::vector<std::pair<QString, std::vector<Moment>>> groups;
    for (const MomentOutcome &outcome : outcomes) {
        const QString reason = momentReason(outcome);
        if (reason.isEmpty())
            continue;
        auto group = std::find_if(
            groups.begin(), groups.end(), [&](const auto &g) { return g.first == reason; });
        if (group == groups.end())
            group = groups.insert(groups.end(), { reason, {} });
        group->second.push_back(outcome.moment);
    }
    constexpr std::size_t kTransitionMoments = kMomentCount - 2;
    QStringList lines;
    for (const auto &[reason, moments] : groups) {
        QString which;
        if (moments.size() == kMomentCount) {
            which = QStringLiteral("все моменты");
        } else if (moments.size() == kTransitionMoments
            && std::all_of(moments.begin(), moments.end(),
                [](Moment moment) { return momentInfo(moment).transition; })) {
            which = QStringLiteral("все моменты переходной опоры");
        } else {
            QStringList names;
            for (const Moment moment : moments)
                names << momentShortName(moment);
            which = names.join(QStringLiteral("; "));
        }
        lines << reason + QStringLiteral(": ") + which;
    }
    return lines;
}

QString cellReason(const QString &columnName, const QString &reason, bool common)
{
    const QString caption = columnCaption(columnName);
    return (caption.isEmpty() ? columnName : caption)
        + (common ? QStringLiteral(" (общие данные): ") : QStringLiteral(": ")) + reason;
}

QString checkReason(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale)
{
    switch (check.error) {
    case SupportCheck::Error::None:
    case SupportCheck::Error::NoCatalogue:
        return {};
    case SupportCheck::Error::UnknownType: // the catalogue's path is for the window, not a print
        return QStringLiteral("тип «%1» не найден в каталоге опор").arg(check.chosen);
    case SupportCheck::Error::NoMoment:
    case SupportCheck::Error::NoneHolds:
        return checkErrorText(check, catalogue, locale);
    }
    return {};
}

} // namespace kelsa
