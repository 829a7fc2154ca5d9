// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/supportscheme.h"

#include "core/calc/breakdown.h"
#include "core/numbers/numbertext.h"

#include <cmath>

namespace kelsa
{

namespace
{

QStringList loadLabel(const SchemeLoad &load, const QLocale &locale)
{
    const QString moment = hundredths(load.moment, locale) + QStringLiteral(" кгс·м");
    const QString force = QStringLiteral("%1 = %2 кгс")
                              .arg(load.force, hundredths(std::abs(load.forceValue), locale));
    switch (load.kind) {
    case LoadForm::Kind::Horizontal:
        return { force, QStringLiteral("h = %1 м: %2").arg(writeNumber(load.arm, locale), moment) };
    case LoadForm::Kind::Vertical:
        return { force,
            QStringLiteral("плечо %1 м: %2").arg(writeNumber(std::abs(load.arm), locale), moment) };
    case LoadForm::Kind::Couple:
        return { QStringLiteral("%1 (%2): %3").arg(load.term, load.force, moment) };
    }
    return {};
}

} // namespace

std::optional<SupportScheme> supportScheme(
    const MomentOutcome &outcome, const Calculation &from, const QLocale &locale)
{
    const MomentResult &result = outcome.result;
    if (!outcome.inputsAccepted() || result.outcome != MomentResult::Outcome::Value)
        return std::nullopt;
    const MomentInfo &info = momentInfo(outcome.moment);
    SupportScheme scheme;
    scheme.heading = momentHeading(outcome.moment, from.trackSection());
    scheme.heel = info.transition && info.level == SupportLevel::Heel;
    scheme.moment = result.moment;
    scheme.base = scheme.heel ? QStringLiteral("пята") : QStringLiteral("основание");
    scheme.total = QStringLiteral("М = %1 кгс·м").arg(hundredths(result.moment, locale));
    for (const MomentTerm &term : result.terms) {
        const std::optional<TermForm> form
            = termForm(outcome.moment, from.trackSection(), term.name);
        if (!form || std::size_t(term.shareCount) != form->loads.size())
            continue;
        for (std::size_t k = 0; k < form->loads.size(); ++k) {
            const LoadForm &load = form->loads[k];
            const double share = term.shares[k];
            if (share == 0)
                continue; // adds nothing to the moment
            // The force is the share over its arm: what the formula multiplied by the arm.
            const double force = load.kind == LoadForm::Kind::Couple ? 0 : share / load.arm;
            SchemeLoad drawn { load.kind, form->symbol,
                renderFormula(load.force, FormulaText::Symbols, info.condition, from, locale),
                force, load.arm, share, {} };
            drawn.label = loadLabel(drawn, locale);
            scheme.loads.push_back(std::move(drawn));
        }
    }
    return scheme;
}

QString schemeCaption(const SupportScheme &scheme)
{
    return QStringLiteral("Схема нагрузок опоры (%1)").arg(scheme.heading);
}

} // namespace kelsa
