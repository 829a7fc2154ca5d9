// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/momentlabel.h"

#include "core/calc/breakdown.h"
#include "core/numbers/numbertext.h"

namespace kelsa
{

QString resultLabelText(const MomentOutcome &outcome, const QLocale &locale)
{
    if (!outcome.inputsAccepted())
        return {};
    switch (outcome.result.outcome) {
    case MomentResult::Outcome::Value:
        return writeNumber(outcome.result.moment, locale);
    case MomentResult::Outcome::SpanMissing:
    case MomentResult::Outcome::LpMissing:
        return writeNumber(0, locale);
    case MomentResult::Outcome::NotFinite:
        return momentInfo(outcome.moment).transition ? QString() : noFiniteResultText();
    }
    return {};
}

QString momentErrorCode(const MomentOutcome &outcome)
{
    if (!outcome.inputsAccepted())
        return outcome.badFields.front().empty ? QStringLiteral("empty")
                                               : QStringLiteral("not-a-number");
    switch (outcome.result.outcome) {
    case MomentResult::Outcome::Value:
        return {};
    case MomentResult::Outcome::SpanMissing:
        return QStringLiteral("span-missing");
    case MomentResult::Outcome::LpMissing:
        return QStringLiteral("lp-missing");
    case MomentResult::Outcome::NotFinite:
        return momentInfo(outcome.moment).transition ? QStringLiteral("overflow")
                                                     : QStringLiteral("not-finite");
    }
    return {};
}

} // namespace kelsa
