// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"
#include "core/calc/momentcases.h"
#include "core/tables/tablecatalogue.h"

#include <QChar>
#include <QString>

#include <array>
#include <optional>

namespace kelsa
{

// The title block of a calculation report, as entered by the designer.
struct ReportTitle {
    QString object; // the line, station or stretch the support belongs to
    QString support; // the support's number
    QString author;

    friend bool operator==(const ReportTitle &, const ReportTitle &) = default;
};

// What a result label shows, and, when the inputs changed after the moment was computed, the
// calculation it was computed from, so that its breakdown and the changed inputs can be told
// again after the calculation is opened.
struct SavedResult {
    QString text; // as the label shows it; empty when the moment was not computed
    std::optional<Calculation> computedFrom; // set only when it differs from the inputs now

    friend bool operator==(const SavedResult &, const SavedResult &) = default;
};

// A whole calculation as the main window holds it and a .kelsa file keeps it: the inputs,
// options and look-up sources, the record each table shows, every result label and the
// report's title block. Number texts are written with `decimalSeparator`.
struct SavedCalculation {
    Calculation calculation = Calculation::atStart();
    std::array<int, kReferenceTableCount> records = { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 }; // from 1
    std::array<SavedResult, kMomentCount> results;
    ReportTitle title;
    QChar decimalSeparator = QLatin1Char(',');
    // The support type the designer chose from the catalogue; empty for the pick.
    QString supportType;

    const SavedResult &result(Moment moment) const { return results[std::size_t(moment)]; }
    SavedResult &result(Moment moment) { return results[std::size_t(moment)]; }

    friend bool operator==(const SavedCalculation &, const SavedCalculation &) = default;
};

} // namespace kelsa
