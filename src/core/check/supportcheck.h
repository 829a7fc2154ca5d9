// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which support type holds the moments of a calculation. The governing moment is the computed
// moment of the largest absolute value (ties: the first in the order of the result labels); the
// utilisation of a moment for a type is |M| / Mн; the type is the designer's choice or the pick:
// the smallest Mн whose utilisation is at most 100 % (equal Mн: the first in the catalogue).

#include "core/calc/momentcases.h"
#include "core/check/supportcatalogue.h"
#include "core/document/savedcalculation.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kelsa
{

// A moment on its result label: its value in kgf·m, and whether the inputs changed since it
// was computed (a stale moment is not checked).
struct ComputedMoment {
    Moment moment;
    double kgfm = 0;
    bool stale = false;
};

// The moments of a calculation as freshly computed: those with a value, none stale.
std::vector<ComputedMoment> computedMoments(std::span<const MomentOutcome> outcomes);

// The moments a saved calculation shows on its labels: each label with a moment, computed from
// the inputs it was computed from, stale when those differ now in what the moment reads.
std::vector<ComputedMoment> savedMoments(const SavedCalculation &saved, const QLocale &locale);

// Utilisation of a moment (kgf·m) for a type: |M| / Mн. The moment is brought into the
// catalogue's unit, so that a moment equal to Mн in that unit is exactly 100 %.
double utilisation(double kgfm, const SupportType &type, MomentUnit unit);

// Utilisation as a percentage rounded up to `decimals` places: the shown number is at most 90
// exactly when the utilisation is at most 90 %, and at most 100 exactly when the type holds.
double utilisationPercent(double utilisation, int decimals);

enum class UtilisationLevel {
    Green, // at most 90 %
    Amber, // above 90 %, at most 100 %
    Red, // above 100 %: the type does not hold
};
UtilisationLevel utilisationLevel(double utilisation);

struct SupportCheck {
    enum class Error {
        None,
        NoCatalogue, // the folder has none, or it could not be used (see the catalogue's state)
        UnknownType, // the chosen type is not in the catalogue
        NoMoment, // no moment computed, or only stale ones
        NoneHolds, // the pick found no type with utilisation at most 100 %
    };
    Error error = Error::None;

    // The governing moment, when any fresh moment was computed (also with an error).
    std::optional<ComputedMoment> governing;
    // Computed moments left out because the inputs changed since, in label order.
    std::vector<Moment> stale;

    // The type checked: the chosen one, or the pick (for NoneHolds the strongest type, for
    // information). Unset for NoCatalogue, UnknownType and NoMoment.
    std::optional<SupportType> type;
    bool picked = false; // the type is the pick, not the designer's choice
    double utilisation = 0; // of the governing moment for `type`
    double normativeKNm = 0; // Mн of `type` in kN·m

    QString chosen; // the name the designer chose; empty for the pick

    bool holds() const { return error == Error::None && utilisation <= 1; }
};

// A stable code for files and scripts: "no-catalogue", "unknown-type", "no-moment",
// "none-holds"; empty for None.
QString checkErrorCode(SupportCheck::Error error);

// The check of the moments against the catalogue, for the type `chosen` (empty: the pick).
SupportCheck checkSupport(const SupportCatalogue &catalogue,
    std::span<const ComputedMoment> moments, const QString &chosen);

} // namespace kelsa
