// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/unsavedwork.h"

namespace kelsa
{

namespace
{

// The window with what is no work taken from the baseline: the tables' records, the choice of
// calculator and the decimal separator.
SavedCalculation work(SavedCalculation saved, const SavedCalculation &baseline)
{
    saved.records = baseline.records;
    const auto calculator = std::size_t(OptionGroup::Calculator);
    saved.calculation.options[calculator] = baseline.calculation.options[calculator];
    saved.decimalSeparator = baseline.decimalSeparator;
    return saved;
}

} // namespace

bool holdsUnsavedWork(
    const SavedCalculation &window, const SavedCalculation &baseline, bool hasFile)
{
    if (hasFile)
        return !(window == baseline);
    return !(work(window, baseline) == baseline);
}

} // namespace kelsa
