// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/check/supportcheck.h"

#include "core/calc/breakdown.h"
#include "core/calc/momentlabel.h"

#include <cmath>

namespace kelsa
{

std::vector<ComputedMoment> computedMoments(std::span<const MomentOutcome> outcomes)
{
    std::vector<ComputedMoment> computed;
    for (const MomentOutcome &outcome : outcomes)
        if (outcome.inputsAccepted() && outcome.result.outcome == MomentResult::Outcome::Value)
            computed.push_back({ outcome.moment, outcome.result.moment, false });
    return computed;
}

std::vector<ComputedMoment> savedMoments(const SavedCalculation &saved, const QLocale &locale)
{
    std::vector<ComputedMoment> computed;
    for (const MomentInfo &info : moments()) {
        const SavedResult &result = saved.result(info.moment);
        if (result.text.isEmpty())
            continue;
        const Calculation &from = result.computedFrom.value_or(saved.calculation);
        const MomentOutcome outcome = computeMoment(from, info.moment, locale);
        if (!outcome.inputsAccepted() || outcome.result.outcome != MomentResult::Outcome::Value)
            continue;
        const bool stale = result.computedFrom
            && !changedInputs(info.moment, *result.computedFrom, saved.calculation).isEmpty();
        computed.push_back({ info.moment, outcome.result.moment, stale });
    }
    return computed;
}

double utilisation(double kgfm, const SupportType &type, MomentUnit unit)
{
    double moment = std::abs(kgfm);
    if (unit == MomentUnit::KilonewtonMetre)
        moment *= kKilonewtonMetresPerKgfMetre;
    else if (unit == MomentUnit::TonneForceMetre)
        moment /= 1000;
    return moment / type.normative;
}

double utilisationPercent(double utilisation, int decimals)
{
    // The smallest n with n / scale ≥ utilisation: the product alone could round 7 % up to
    // 7.000000000000001 and show 8.
    const double scale = std::pow(10.0, decimals + 2);
    double n = std::ceil(utilisation * scale);
    if ((n - 1) / scale >= utilisation)
        n -= 1;
    else if (n / scale < utilisation)
        n += 1;
    return n / std::pow(10.0, decimals);
}

UtilisationLevel utilisationLevel(double utilisation)
{
    if (utilisation <= 0.9)
        return UtilisationLevel::Green;
    if (utilisation <= 1)
        return UtilisationLevel::Amber;
    return UtilisationLevel::Red;
}

QString checkErrorCode(SupportCheck::Error error)
{
    switch (error) {
    case SupportCheck::Error::None:
        return {};
    case SupportCheck::Error::NoCatalogue:
        return QStringLiteral("no-catalogue");
    case SupportCheck::Error::UnknownType:
        return QStringLiteral("unknown-type");
    case SupportCheck::Error::NoMoment:
        return QStringLiteral("no-moment");
    case SupportCheck::Error::NoneHolds:
        return QStringLiteral("none-holds");
    }
    return {};
}

SupportCheck checkSupport(const SupportCatalogue &catalogue,
    std::span<const ComputedMoment> moments, const QString &chosen)
{
    using Error = SupportCheck::Error;
    SupportCheck check;
    check.chosen = chosen.trimmed();
    for (const ComputedMoment &moment : moments) {
        if (moment.stale)
            check.stale.push_back(moment.moment);
        else if (!check.governing || std::abs(moment.kgfm) > std::abs(check.governing->kgfm))
            check.governing = moment;
    }
    if (!catalogue.usable()) {
        check.error = Error::NoCatalogue;
        return check;
    }
    const SupportType *type = nullptr;
    if (!check.chosen.isEmpty()) {
        type = catalogue.find(check.chosen);
        if (!type) {
            check.error = Error::UnknownType;
            return check;
        }
    }
    if (!check.governing) {
        check.error = Error::NoMoment;
        return check;
    }
    const double governing = check.governing->kgfm;
    if (!type) {
        check.picked = true;
        const SupportType *strongest = nullptr;
        for (const SupportType &candidate : catalogue.types) {
            if (!strongest || candidate.normative > strongest->normative)
                strongest = &candidate;
            if (utilisation(governing, candidate, catalogue.unit) <= 1
                && (!type || candidate.normative < type->normative))
                type = &candidate;
        }
        if (!type) {
            check.error = Error::NoneHolds;
            type = strongest;
        }
    }
    check.type = *type;
    check.utilisation = utilisation(governing, *type, catalogue.unit);
    check.normativeKNm = catalogue.normativeKNm(*type);
    return check;
}

} // namespace kelsa
